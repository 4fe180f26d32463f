#include "editor/WindowTitle.h"

#include <cstdio>

namespace editor {

VersionRecord ProductVersion()
{
    return VersionRecord{CORVANE_PRODUCT_VERSION};
}

VersionRecord FileVersion()
{
    return VersionRecord{CORVANE_FILE_VERSION};
}

std::string BuildWindowTitle(const VersionRecord& product, const VersionRecord& file)
{
    // Each part is at most 65535, so both texts fit with room to spare.
    char version[32];
    std::snprintf(version, sizeof version, "%d.%d%d%d", product[0], product[1], product[2], product[3]);
    char build[32];
    std::snprintf(build, sizeof build, "%02d%02d%02d%02d", file[0], file[1], file[2], file[3]);
    return std::string("Corvane V") + version + " Build " + build + " -- For Vemtrix(Small Endian)";
}

} // namespace editor
