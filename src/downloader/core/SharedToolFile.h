#pragma once

#include "downloader/core/ToolFile.h"

#include <string>

namespace downloader {

// The tool file of a boot_file folder, shared by every window working in that folder (in this program
// or another): each window holds a shared lock on the folder while it is open; the tool is written only
// when it is missing or differs from the one carried, and removed by the last window to let go.
class SharedToolFile
{
public:
    explicit SharedToolFile(std::string toolPath);
    ~SharedToolFile();
    SharedToolFile(const SharedToolFile&) = delete;
    SharedToolFile& operator=(const SharedToolFile&) = delete;

    // Joins the folder's windows and makes sure the tool is there. On failure nothing is held and the
    // file at the path, if any, is left alone.
    [[nodiscard]] ExtractResult Acquire(const ToolResource& resource);
    // Leaves the folder; the last window to leave removes the tool. Does nothing when not acquired.
    void Release();

private:
    std::string m_path;
    bool m_acquired = false;
    int m_folder = -1; // open while acquired; carries the shared lock (without it, every window is the last)
};

} // namespace downloader
