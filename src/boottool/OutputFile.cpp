#include "boottool/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace boottool {

OutputFile::OutputFile(std::string path)
    : m_path(std::move(path))
    , m_tempPath(m_path + ".partXXXXXX")
{ }

OutputFile::~OutputFile()
{
    if (m_fd >= 0) {
        close(m_fd);
    }
    if (m_created && !m_committed) {
        unlink(m_tempPath.c_str());
    }
}

bool OutputFile::Create()
{
    std::vector<char> name(m_tempPath.begin(), m_tempPath.end());
    name.push_back('\0');
    m_fd = mkstemp(name.data());
    if (m_fd < 0) {
        return false;
    }
    m_tempPath = name.data();
    m_created = true;
    // mkstemp makes the file private; a dump is an ordinary user file.
    [[maybe_unused]] const int ignored = fchmod(m_fd, 0644);
    return true;
}

std::size_t OutputFile::Write(std::span<const std::uint8_t> data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t put = write(m_fd, data.data() + done, data.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            break;
        }
        done += static_cast<std::size_t>(put);
    }
    return done;
}

bool OutputFile::Commit()
{
    const bool synced = fsync(m_fd) == 0;
    const bool closed = close(m_fd) == 0;
    m_fd = -1;
    if (!synced || !closed || std::rename(m_tempPath.c_str(), m_path.c_str()) != 0) {
        return false;
    }
    m_committed = true;
    return true;
}

} // namespace boottool
