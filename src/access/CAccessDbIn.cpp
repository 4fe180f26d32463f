#include "access/CAccessDbIn.h"

#include "access/DbFileLayout.h"
#include "access/FlashImageFile.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"

#include <cstring>
#include <memory>

namespace core {

bool CAccessDbIn::Import(const std::string& path, CProgDb& db)
{
    FlashImageFile file;
    if (!file.OpenForReading(path)) {
        SetPendingError("Open file failed!");
        return false;
    }
    // The header alone tells the length the file must have: a file that cannot hold what it
    // declares is refused before its body is read, however large it is.
    std::vector<std::uint8_t> bytes(DbFile::kHeaderSize);
    const auto header = file.ReadAt(0, bytes.data(), bytes.size());
    if (!header) {
        SetPendingError("Open file failed!");
        return false;
    }
    bytes.resize(*header);
    if (!HeaderFitsSize(bytes, file.Size(), db)) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(file.Size()));
    const auto body = file.ReadAt(0, bytes.data(), bytes.size());
    if (!body) {
        SetPendingError("Open file failed!");
        return false;
    }
    bytes.resize(*body); // a file that shrank meanwhile fails the checks below
    return ImportBytes(bytes, db);
}

bool CAccessDbIn::HeaderFitsSize(const std::vector<std::uint8_t>& header, std::uint64_t fileSize, CProgDb& db)
{
    using namespace DbFile;
    if (fileSize < kMinSize || header.size() < kHeaderSize) {
        return Fail("File size error!", db);
    }
    if (std::memcmp(header.data(), kStartMagic, sizeof kStartMagic) != 0) {
        return Fail("File format error!", db);
    }
    const std::uint64_t expected
        = ExpectedSize(LoadLe32(header.data() + 4), LoadLe32(header.data() + 8), LoadLe32(header.data() + 12));
    if (expected != fileSize) {
        return Fail("File size error!", db);
    }
    return true;
}

bool CAccessDbIn::ImportBytes(const std::vector<std::uint8_t>& bytes, CProgDb& db)
{
    using namespace DbFile;
    if (bytes.size() < kMinSize) {
        return Fail("File size error!", db);
    }
    if (std::memcmp(bytes.data(), kStartMagic, sizeof kStartMagic) != 0) {
        return Fail("File format error!", db);
    }
    m_nSat = LoadLe32(bytes.data() + 4);
    m_nTp = LoadLe32(bytes.data() + 8);
    m_nProg = LoadLe32(bytes.data() + 12);
    if (ExpectedSize(m_nSat, m_nTp, m_nProg) != bytes.size()) {
        return Fail("File size error!", db);
    }
    // The length check above guarantees every record below lies inside the buffer.
    const std::uint8_t* sats = bytes.data() + kHeaderSize;
    const std::uint8_t* tps = sats + kSatSize * m_nSat;
    const std::uint8_t* progs = tps + kTpSize * m_nTp;
    if (!ReadSatellites(sats, db)) {
        return Fail("File format error!", db);
    }
    ReadTransponders(tps, db);
    ReadPrograms(progs, db);
    return true;
}

bool CAccessDbIn::ReadSatellites(const std::uint8_t* records, CProgDb& db)
{
    for (std::uint32_t i = 0; i < m_nSat; ++i) {
        auto node = std::make_unique<CSatNode>(0, InvalidId, InvalidId);
        SatRecord record;
        std::memcpy(record.Bytes().data(), records + i * DbFile::kSatSize, DbFile::kSatSize);
        CopySatRecord(record, node->Record());
        if (static_cast<std::uint64_t>(node->FirstTpIndex()) + node->TpCount() > m_nTp) {
            return false;
        }
        db.Sats().Add(std::move(node));
    }
    return true;
}

void CAccessDbIn::ReadTransponders(const std::uint8_t* records, CProgDb& db)
{
    std::vector<CTpNode*> byPosition;
    byPosition.reserve(m_nTp);
    for (std::uint32_t i = 0; i < m_nTp; ++i) {
        auto node = std::make_unique<CTpNode>(InvalidId, InvalidId);
        node->SetTpRecord(LoadLe32(records + i * DbFile::kTpSize));
        byPosition.push_back(node.get());
        db.Tps().Add(std::move(node));
    }
    // Each satellite owns the run FirstTpIndex .. FirstTpIndex + TpCount - 1 (checked against nTp).
    for (const CSatNode& sat : db.Sats()) {
        const std::uint32_t first = sat.FirstTpIndex();
        for (std::uint32_t j = 0; j < sat.TpCount(); ++j) {
            byPosition[first + j]->SetParentId(sat.Id());
        }
    }
}

void CAccessDbIn::ReadPrograms(const std::uint8_t* records, CProgDb& db)
{
    for (std::uint32_t i = 0; i < m_nProg; ++i) {
        auto node = std::make_unique<CProgNode>(InvalidId, InvalidId);
        ProgRecord record;
        std::memcpy(record.Bytes().data(), records + i * DbFile::kProgSize, DbFile::kProgSize);
        CopyProgRecord(record, node->Record());
        // The database was empty, so the transponder at position TpRef has id TpRef.
        node->SetParentId(static_cast<std::int32_t>(node->TpRef()));
        db.Progs().Add(std::move(node));
    }
}

bool CAccessDbIn::Fail(const char* message, CProgDb& db)
{
    SetPendingError(message);
    db.Clear();
    return false;
}

} // namespace core
