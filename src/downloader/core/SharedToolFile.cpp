#include "downloader/core/SharedToolFile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace downloader {

namespace {

[[nodiscard]] bool Lock(int fd, int operation)
{
    for (;;) {
        if (::flock(fd, operation) == 0) {
            return true;
        }
        if (errno != EINTR) {
            return false;
        }
    }
}

} // namespace

SharedToolFile::SharedToolFile(std::string toolPath)
    : m_path(std::move(toolPath))
{ }

SharedToolFile::~SharedToolFile()
{
    Release();
}

ExtractResult SharedToolFile::Acquire(const ToolResource& resource)
{
    Release();
    const std::string folder = std::filesystem::path(m_path).parent_path().string();
    m_folder = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // Shared: windows opening together do not wait for each other. A closing last window holds the lock
    // exclusively for a moment, so the tool it removes is written again after it, never before.
    if (m_folder >= 0 && !Lock(m_folder, LOCK_SH)) {
        ::close(m_folder);
        m_folder = -1;
    }
    const ExtractResult result = ExtractTool(resource, m_path);
    m_acquired = result == ExtractResult::Ok;
    if (!m_acquired && m_folder >= 0) {
        ::close(m_folder);
        m_folder = -1;
    }
    return result;
}

void SharedToolFile::Release()
{
    if (!m_acquired) {
        return;
    }
    m_acquired = false;
    bool last = true;
    if (m_folder >= 0) {
        // Leave, then see whether anybody else is still there: of two windows leaving together one sees
        // the other gone. Holding the lock alone, no other window can be writing or running the tool.
        (void)Lock(m_folder, LOCK_UN); // closing the descriptor below lets go in any case
        last = ::flock(m_folder, LOCK_EX | LOCK_NB) == 0;
    }
    if (last) {
        // A tool file that cannot be removed stays behind; the window is going and has nobody to tell.
        (void)DeleteToolFile(m_path);
    }
    if (m_folder >= 0) {
        ::close(m_folder);
        m_folder = -1;
    }
}

} // namespace downloader
