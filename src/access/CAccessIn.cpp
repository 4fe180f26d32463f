#include "access/CAccessIn.h"

#include "common/UiHooks.h"

std::uint32_t CAccessIn::AskUserDbAddress()
{
    return UiHooks().AskUserDbAddress();
}
