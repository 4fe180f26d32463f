#include "access/CAccessDbIn.h"
#include "db/CProgDb.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using core::CAccessDbIn;
using core::CProgDb;
using core::CTpNode;
using core::InvalidId;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> bytes(data, data + size);
    CProgDb db;
    CAccessDbIn reader;
    if (reader.ImportBytes(bytes, db)) {
        // Whatever was read must satisfy the links the reader promises.
        for (const CTpNode& tp : db.Tps()) {
            if (tp.ParentId() != InvalidId && db.Sats().Find(tp.ParentId()) == nullptr) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
