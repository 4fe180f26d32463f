#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

    // What the file holds now, as the code under test left it.
    std::vector<std::uint8_t> Contents() const
    {
        struct stat st
        { };
        if (m_fd < 0 || ::fstat(m_fd, &st) != 0) {
            return {};
        }
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pread(m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
            if (n <= 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        bytes.resize(done);
        return bytes;
    }

    const std::string& Path() const { return m_path; }

private:
    int m_fd;
    std::string m_path;
};
