#include "access/CAccessDbIn.h"
#include "access/CAccessDftDbOut.h"
#include "access/CAccessUserDb25In.h"
#include "access/CAccessUserDbIn.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "support/ByteBuilder.h"
#include "support/FakeUiHooks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

using testsupport::ByteBuilder;
using testsupport::FakeUiHooks;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace core {

namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
constexpr long kMemoryBudgetKiB = 50 * 1024;

// The most memory the process has held so far, in KiB.
long PeakMemoryKiB()
{
    struct rusage usage
    { };
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Writes head at the start of path and makes the file length bytes long: the rest is a hole that
// takes no disk space but reads as zeros.
bool WriteSparse(const std::string& path, const std::vector<std::uint8_t>& head, std::uint64_t length)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size())
        && ::ftruncate(fd, static_cast<off_t>(length)) == 0;
    ::close(fd);
    return ok;
}

// A default-database header with the given counts and end magic, as the start of a file.
std::vector<std::uint8_t> DbHeader(std::uint32_t nSat, std::uint32_t nTp, std::uint32_t nProg)
{
    return ByteBuilder().Text("Sg8K").U32(nSat).U32(nTp).U32(nProg).Text("Eg8K").Bytes();
}

struct OversizedCase
{
    const char* name;
    std::vector<std::uint8_t> head; // the file's first bytes
    std::uint64_t length; // the file's length, the rest a hole
    const char* message;
    std::function<bool(const std::string&, CProgDb&)> read;
    bool asksAddress = false; // the user-database readers ask where the database lies
};

bool ReadDb(const std::string& path, CProgDb& db)
{
    return CAccessDbIn().Import(path, db);
}

bool ReadUserDb(const std::string& path, CProgDb& db)
{
    return CAccessUserDbIn().Import(path, db);
}

bool ReadUserDb25(const std::string& path, CProgDb& db)
{
    return CAccessUserDb25In().Import(path, db);
}

bool Merge(const std::string& path, CProgDb& db)
{
    return CAccessDftDbOut().Export(path, db);
}

TEST(OversizedInput, FilesThatCannotHoldWhatTheyDeclareAreRefusedWithoutBeingRead)
{
    const ScopedPendingError pending;
    FakeUiHooks hooks;
    TempDir dir;
    const std::uint32_t kAll = 0xFFFFFFFF;
    const OversizedCase cases[] = {
        {"counts beyond the file", DbHeader(3, 0, 0), 24, "File size error!", ReadDb},
        {"one record short", DbHeader(0, 0, 1), 20 + 63, "File size error!", ReadDb},
        {"2^32 - 1 of every record", DbHeader(kAll, kAll, kAll), 20, "File size error!", ReadDb},
        {"2^32 - 1 programs in a sparse file", DbHeader(0, 0, kAll), 3 * kGiB, "File size error!", ReadDb},
        {"valid header, sparse multi-gigabyte body", DbHeader(1, 1, 1), 5 * kGiB, "File size error!", ReadDb},
        {"no magic in a sparse file", ByteBuilder().Text("Xg8K").Bytes(), 3 * kGiB, "File format error!", ReadDb},
        {"header cut short", ByteBuilder().Text("Sg8K").U32(1).Bytes(), 8, "File size error!", ReadDb},
        {"user database in an image beyond 32-bit addresses",
         DbHeader(0, 0, 0),
         5 * kGiB,
         "File size error!",
         ReadUserDb,
         true},
        {"old user database in an image beyond 32-bit addresses",
         DbHeader(0, 0, 0),
         5 * kGiB,
         "File size error!",
         ReadUserDb25,
         true},
        {"merge into an image beyond 32-bit addresses", DbHeader(0, 0, 0), 5 * kGiB, "File size error!", Merge},
    };
    for (const OversizedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File("big.bin");
        ASSERT_TRUE(WriteSparse(path, c.head, c.length));
        if (c.asksAddress) {
            hooks.QueueAddress(0x10000);
        }
        ClearPendingError();
        CProgDb db;
        const long before = PeakMemoryKiB();
        EXPECT_FALSE(c.read(path, db));
        // Reading the body, or even a part of it, would have raised the peak by gigabytes.
        EXPECT_LT(PeakMemoryKiB() - before, kMemoryBudgetKiB);
        EXPECT_EQ(PendingError().text, c.message);
        EXPECT_TRUE(db.IsEmpty());
        ::unlink(path.c_str());
    }
}

} // namespace

} // namespace core
