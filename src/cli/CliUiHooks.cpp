#include "cli/CliUiHooks.h"

#include <iostream>

using core::UiIcon;

namespace cli {

void CliUiHooks::ShowMessage(std::string_view text, std::string_view caption, UiIcon)
{
    std::cerr << caption << ": " << text << '\n';
}

} // namespace cli
