#include "access/CAccessIn.h"

#include "common/UiHooks.h"

namespace core {

std::uint32_t CAccessIn::AskUserDbAddress()
{
    return UiHooks().AskUserDbAddress();
}

} // namespace core
