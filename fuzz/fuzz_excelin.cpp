#include "FuzzMemoryFile.h"
#include "common/UiHooks.h"
#include "db/CProgDb.h"
#include "excel/CAccessExcelIn.h"

#include <cstddef>
#include <cstdint>

using core::CAccessExcelIn;
using core::CProgDb;
using core::CProgNode;
using core::CTpNode;
using core::IUiHooks;
using core::ScopedUiHooks;
using core::UiIcon;

namespace {

// The "Read Error" box has nobody to show it to here.
class SilentHooks final : public IUiHooks
{
public:
    std::uint32_t AskUserDbAddress() override { return 0; }
    void ShowMessage(std::string_view, std::string_view, UiIcon) override { }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzMemoryFile input;
    if (!input.Replace(data, size)) {
        return 0;
    }
    SilentHooks hooks;
    ScopedUiHooks scope(hooks);
    CProgDb db;
    if (!CAccessExcelIn().Import(input.Path(), db)) {
        if (!db.IsEmpty()) {
            __builtin_trap(); // a failed import must leave nothing behind
        }
        return 0;
    }
    // The links the import builds must hold.
    for (const CTpNode& tp : db.Tps()) {
        if (db.Sats().Find(tp.ParentId()) == nullptr) {
            __builtin_trap();
        }
    }
    for (const CProgNode& prog : db.Progs()) {
        if (db.Tps().Find(prog.ParentId()) == nullptr) {
            __builtin_trap();
        }
    }
    return 0;
}
