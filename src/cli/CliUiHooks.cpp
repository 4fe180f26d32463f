#include "cli/CliUiHooks.h"

#include <iostream>

void CliUiHooks::ShowMessage(std::string_view text, std::string_view caption, UiIcon)
{
    std::cerr << caption << ": " << text << '\n';
}
