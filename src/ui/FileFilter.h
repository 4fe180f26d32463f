#pragma once

#include <string>
#include <string_view>

namespace ui {

// Turns a bar-separated filter into a Qt name filter list ("desc (patterns);;..."). The description
// is kept as the user sees it; "*.*" becomes "*" so files without an extension are listed too, and
// blanks around a pattern are dropped.
std::string ToQtNameFilter(std::string_view barFilter);

} // namespace ui
