#include "FuzzUserDbReader.h"
#include "access/CAccessUserDbIn.h"

using core::CAccessUserDbIn;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzUserDbReader<CAccessUserDbIn>(data, size);
}
