#pragma once

#include <string>
#include <string_view>

namespace editor {

// Turns a bar-separated filter into a Qt name filter list ("desc (patterns);;..."). The description
// is kept as the user sees it; "*.*" becomes "*" so files without an extension are listed too.
std::string ToQtNameFilter(std::string_view barFilter);

} // namespace editor
