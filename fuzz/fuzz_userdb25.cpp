#include "FuzzUserDbReader.h"
#include "access/CAccessUserDb25In.h"

using core::CAccessUserDb25In;

// Address 0 is refused by this reader, so some inputs stop at once.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzUserDbReader<CAccessUserDb25In>(data, size);
}
