#include "common/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace core {

AtomicFile::AtomicFile(std::string path)
    : m_path(std::move(path))
{ }

AtomicFile::~AtomicFile()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    if (!m_committed && !m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
    }
}

bool AtomicFile::Open()
{
    std::string pattern = m_path + ".XXXXXX";
    m_fd = ::mkstemp(pattern.data());
    if (m_fd < 0) {
        return false;
    }
    m_tempPath = std::move(pattern); // no allocation between creating the file and owning it
    // Keep the permissions of the file being replaced; a new file gets the usual umask mode.
    struct stat existing
    { };
    if (::stat(m_path.c_str(), &existing) == 0) {
        ::fchmod(m_fd, existing.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(m_fd, 0666 & ~mask);
    }
    return true;
}

bool AtomicFile::Write(std::string_view data)
{
    if (m_fd < 0) {
        return false;
    }
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

bool AtomicFile::Commit()
{
    if (m_fd < 0) {
        return false;
    }
    const bool synced = ::fsync(m_fd) == 0;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (!synced || !closed) {
        return false;
    }
    if (::rename(m_tempPath.c_str(), m_path.c_str()) != 0) {
        return false;
    }
    m_committed = true;
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view data)
{
    AtomicFile file(path);
    return file.Open() && file.Write(data) && file.Commit();
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& data)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    data.clear();
    struct stat st
    { };
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        data.reserve(static_cast<size_t>(st.st_size));
    }
    std::uint8_t buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ok = false;
            break;
        }
        if (n == 0) {
            break;
        }
        data.insert(data.end(), buffer, buffer + n);
    }
    ::close(fd);
    return ok;
}

} // namespace core
