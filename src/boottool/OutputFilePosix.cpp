#include "boottool/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace boottool {

namespace {

constexpr mode_t kFileMode = 0644; // an ordinary user file, narrowed by the umask like any other

std::string FolderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

[[nodiscard]] bool LinkFd(int fd, const std::string& name)
{
    // The descriptor's /proc entry links an unnamed file without privileges; AT_EMPTY_PATH needs some.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0
        || linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
}

} // namespace

OutputFile::OutputFile(std::string path)
    : m_path(std::move(path))
{ }

OutputFile::~OutputFile()
{
    if (m_fd >= 0) {
        close(m_fd);
    }
    if (!m_tempPath.empty() && !m_committed) {
        unlink(m_tempPath.c_str());
    }
}

bool OutputFile::Create()
{
    m_fd = open(FolderOf(m_path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kFileMode);
    if (m_fd >= 0) {
        return true;
    }
    // Only a file system without unnamed files gets the named temporary file.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return false;
    }
    return CreateNamed();
}

bool OutputFile::CreateNamed()
{
    std::string pattern = m_path + ".partXXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    m_fd = mkstemp(name.data());
    if (m_fd < 0) {
        return false;
    }
    m_tempPath = name.data();
    const mode_t mask = umask(0);
    umask(mask);
    // mkstemp makes the file private; a dump is an ordinary user file.
    [[maybe_unused]] const int ignored = fchmod(m_fd, kFileMode & ~mask);
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

// Links the unnamed file: straight to the target when there is none, else to a temporary name that
// then replaces the target at once.
bool OutputFile::LinkUnnamed()
{
    if (LinkFd(m_fd, m_path)) {
        return true;
    }
    if (errno != EEXIST) {
        return false;
    }
    for (int attempt = 0; attempt < 100 && m_tempPath.empty(); ++attempt) {
        const std::string candidate = m_path + ".part" + std::to_string(getpid()) + "-" + std::to_string(attempt);
        if (LinkFd(m_fd, candidate)) {
            m_tempPath = candidate;
        } else if (errno != EEXIST) {
            return false;
        }
    }
    return !m_tempPath.empty();
}

bool OutputFile::Commit()
{
    const bool named = !m_tempPath.empty();
    if (fsync(m_fd) != 0 || (!named && !LinkUnnamed())) {
        return false;
    }
    const bool closed = close(m_fd) == 0;
    m_fd = -1;
    if (!closed || (!m_tempPath.empty() && std::rename(m_tempPath.c_str(), m_path.c_str()) != 0)) {
        return false;
    }
    m_committed = true;
    return true;
}

} // namespace boottool
