#pragma once

#include <sys/resource.h>

namespace testsupport {

// For its scope, files this process writes may grow to at most the given size, as a full disk
// would allow (even for root); SIGXFSZ is ignored, so a write past the limit fails instead of
// ending the process. The earlier limit and handling come back at scope end. POSIX only.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit m_old
    { };
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace testsupport
