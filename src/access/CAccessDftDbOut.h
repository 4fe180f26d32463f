#pragma once

#include "access/CAccessOut.h"
#include "access/FlashImageFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace core {

// Replaces the default database inside a flash image, in place: the area from "Sg8K" to the end
// of the erased bytes after the first "Eg8K" that follows it gets the new database, then 0xFF.
class CAccessDftDbOut : public CAccessOut
{
public:
    // Merges db into the existing image at path; every byte outside the area stays as it was.
    [[nodiscard]] bool Export(const std::string& path, CProgDb& db) override;

    // Whether the first merge into an image keeps its previous content as IMAGE.bak (on by default).
    void SetBackup(bool backup) { m_backup = backup; }
    // The backup of the image the last successful Export wrote, existing before or made by it; empty
    // when none is kept.
    const std::string& BackupPath() const { return m_backupPath; }

    struct Area
    {
        std::size_t start = 0;
        std::size_t length = 0;
    };

    // The default-database area of an image; none (with "Invalid file format!" pending) when the
    // image has no "Sg8K" or no "Eg8K" after it.
    [[nodiscard]] static std::optional<Area> FindDefaultDbArea(std::span<const std::uint8_t> image);

    // The first position at which the 4-byte pattern lies entirely inside bytes.
    [[nodiscard]] static std::optional<std::size_t> FindBytes(std::span<const std::uint8_t> bytes,
                                                              const char (&pattern)[4]);

private:
    // Finds the area in the image read into m_image and replaces it with the database.
    [[nodiscard]] bool MergeInto(FlashImageFile& image, const std::string& path, CProgDb& db);
    // Builds the database with the default-database writer, checks that it fits the area and gives
    // the area's new bytes: the database, then 0xFF up to the area end.
    [[nodiscard]] bool BuildNewArea(CProgDb& db, const Area& area, std::vector<std::uint8_t>& newArea);
    // Copies the image as read to path.bak unless that exists already; false when the copy failed.
    [[nodiscard]] bool KeepBackup(const std::string& path);
    // Writes the new area over the old one in the image file.
    [[nodiscard]] bool WriteArea(FlashImageFile& image, std::size_t start, const std::vector<std::uint8_t>& newArea);

    ByteBuffer m_image; // the image while Export runs, empty otherwise
    bool m_backup = true;
    std::string m_backupPath;
};

} // namespace core
