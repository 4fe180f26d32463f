#pragma once

#include "UserDbImages.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "support/FakeUiHooks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace core {

// The fixture of both user-database readers' tests: an image imported from a file of its own,
// the address question answered as given.
template <class Importer>
class UserDbImportTest : public ::testing::Test
{
protected:
    ScopedPendingError m_pending; // each test starts with an empty slot and leaves it as it was

    // Imports image from a file, answering the address question with address.
    bool Import(const UserDbImages::Bytes& image, std::uint32_t address)
    {
        hooks.QueueAddress(address);
        const std::string path = dir.Write("flash.bin", image);
        importer = Importer();
        return importer.Import(path, db);
    }

    Importer importer; // the last import's, for what it could not read
    testsupport::FakeUiHooks hooks;
    testsupport::TempDir dir;
    CProgDb db;
};

} // namespace core
