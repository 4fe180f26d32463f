#include "FuzzMemoryFile.h"
#include "access/CAccessUserDb25In.h"
#include "access/CAccessUserDbIn.h"
#include "common/PendingError.h"
#include "common/UiHooks.h"
#include "db/CProgDb.h"

#include <cstddef>
#include <cstdint>
#include <span>

using core::CAccessUserDb25In;
using core::CAccessUserDbIn;
using core::CProgDb;
using core::IUiHooks;
using core::ScopedUiHooks;
using core::UiIcon;

namespace {

// Answers the address question with the address the input gives.
class AddressHooks final : public IUiHooks
{
public:
    explicit AddressHooks(std::uint32_t address)
        : m_address(address)
    { }
    std::uint32_t AskUserDbAddress() override { return m_address; }
    void ShowMessage(std::string_view, std::string_view, UiIcon) override { }

private:
    std::uint32_t m_address;
};

// Reads the image through the file reader (which searches the file word by word) and through the
// reader of an image in memory: both must come to the same answer and the same database.
template <class Reader>
void CompareReaders(const std::string& path, std::span<const std::uint8_t> image, std::uint32_t address)
{
    CProgDb fromFile;
    CProgDb fromMemory;
    const bool fileRead = Reader().Import(path, fromFile);
    const bool memoryRead = Reader().ImportImage(image, address, fromMemory);
    if (fileRead != memoryRead || fromFile.Sats().Count() != fromMemory.Sats().Count()
        || fromFile.Tps().Count() != fromMemory.Tps().Count()
        || fromFile.Progs().Count() != fromMemory.Progs().Count()) {
        __builtin_trap();
    }
}

} // namespace

// Input: one byte choosing the reader, a 32-bit address (folded into 0..image size so that both the
// size check and the search are reached), then the image.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5) {
        return 0;
    }
    const std::span<const std::uint8_t> image(data + 5, size - 5);
    static FuzzMemoryFile file;
    if (!file.Replace(image.data(), image.size())) {
        return 0;
    }
    const std::uint32_t raw = static_cast<std::uint32_t>(data[1]) | static_cast<std::uint32_t>(data[2]) << 8
        | static_cast<std::uint32_t>(data[3]) << 16 | static_cast<std::uint32_t>(data[4]) << 24;
    const auto address = static_cast<std::uint32_t>(raw % (image.size() + 1));
    AddressHooks hooks(address);
    ScopedUiHooks scope(hooks);
    if ((data[0] & 1) == 0) {
        CompareReaders<CAccessUserDbIn>(file.Path(), image, address);
    } else {
        CompareReaders<CAccessUserDb25In>(file.Path(), image, address);
    }
    core::ClearPendingError();
    return 0;
}
