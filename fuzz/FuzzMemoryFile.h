#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// A file held in memory (memfd) for readers that open their input by path: the path is the
// descriptor's /proc entry, so the harness leaves nothing on the disk, however the run ends.
class FuzzMemoryFile
{
public:
    FuzzMemoryFile()
        : m_fd(::memfd_create("fuzz-input", MFD_CLOEXEC))
        , m_path("/proc/self/fd/" + std::to_string(m_fd))
    { }
    ~FuzzMemoryFile()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FuzzMemoryFile(const FuzzMemoryFile&) = delete;
    FuzzMemoryFile& operator=(const FuzzMemoryFile&) = delete;

    // Makes the file hold exactly data; false when it cannot.
    [[nodiscard]] bool Replace(const std::uint8_t* data, std::size_t size)
    {
        if (m_fd < 0 || ::ftruncate(m_fd, 0) != 0) {
            return false;
        }
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(m_fd, data + done, size - done, static_cast<off_t>(done));
            if (n <= 0) {
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    const std::string& Path() const { return m_path; }

private:
    int m_fd;
    std::string m_path;
};
