#include "boottool/tftp/FileSource.h"

#include "platform/NativeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace boottool {

namespace {

class DiskFileSource : public FileSource
{
public:
    explicit DiskFileSource(int fd)
        : m_fd(fd)
        , m_buffer(kReadSize)
    { }
    ~DiskFileSource() override { (void)platform::CloseFile(m_fd); } // read only: nothing to lose
    DiskFileSource(const DiskFileSource&) = delete;
    DiskFileSource& operator=(const DiskFileSource&) = delete;

    [[nodiscard]] bool Read(std::uint8_t* out, std::size_t max, std::size_t& got) override
    {
        got = 0;
        while (got < max) {
            if (m_pos == m_size && !Refill()) {
                return false;
            }
            if (m_size == 0) {
                break; // end of file
            }
            const std::size_t take = std::min(max - got, m_size - m_pos);
            std::memcpy(out + got, m_buffer.data() + m_pos, take);
            m_pos += take;
            got += take;
        }
        return true;
    }

private:
    static constexpr std::size_t kReadSize = std::size_t{256} * 1024;

    [[nodiscard]] bool Refill()
    {
        m_pos = 0;
        m_size = 0;
        for (;;) {
            const std::ptrdiff_t n = platform::ReadSome(m_fd, m_buffer.data(), m_buffer.size());
            if (n >= 0) {
                m_size = static_cast<std::size_t>(n);
                return true;
            }
            if (errno != EINTR) {
                return false;
            }
        }
    }

    int m_fd;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_size = 0;
};

} // namespace

OpenedFile DiskFileStorage::Open(const std::string& path)
{
    OpenedFile opened;
    const int fd = platform::OpenFile(path, O_RDONLY);
    if (fd < 0) {
        opened.error = errno;
        return opened;
    }
    const std::int64_t size = platform::FileSize(fd);
    if (size < 0 || !platform::IsRegularFile(fd)) {
        opened.error = size < 0 ? errno : EISDIR;
        (void)platform::CloseFile(fd); // read only: nothing to lose
        return opened;
    }
    opened.source = std::make_unique<DiskFileSource>(fd);
    opened.size = static_cast<std::uint64_t>(size);
    return opened;
}

NetasciiSource::NetasciiSource(std::unique_ptr<FileSource> raw)
    : m_raw(std::move(raw))
{ }

bool NetasciiSource::Read(std::uint8_t* out, std::size_t max, std::size_t& got)
{
    got = 0;
    while (got < max) {
        if (m_carry >= 0) {
            out[got++] = static_cast<std::uint8_t>(m_carry);
            m_carry = -1;
            continue;
        }
        if (m_end) {
            break;
        }
        std::size_t one = 0;
        if (!m_raw->Read(&m_byte, 1, one)) {
            return false;
        }
        if (one == 0) {
            m_end = true;
            break;
        }
        if (m_byte == '\n') {
            out[got++] = '\r';
            m_carry = '\n';
        } else if (m_byte == '\r') {
            out[got++] = '\r';
            m_carry = '\0';
        } else {
            out[got++] = m_byte;
        }
    }
    return true;
}

} // namespace boottool
