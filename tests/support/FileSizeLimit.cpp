#include "support/FileSizeLimit.h"

#include <csignal>

namespace testsupport {

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    ::getrlimit(RLIMIT_FSIZE, &m_old);
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = m_old;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
}

} // namespace testsupport
