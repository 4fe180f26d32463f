#include "common/UiHooks.h"
#include "db/CProgDb.h"
#include "excel/CAccessExcelIn.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

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

const std::string& InputPath()
{
    static const std::string path = "/tmp/fuzz_excelin_" + std::to_string(getpid()) + ".xls";
    return path;
}

bool WriteInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!WriteInput(data, size)) {
        return 0;
    }
    SilentHooks hooks;
    ScopedUiHooks scope(hooks);
    CProgDb db;
    if (!CAccessExcelIn().Import(InputPath(), db)) {
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
