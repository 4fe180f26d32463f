#pragma once

#include <QString>

class QSettings;

namespace downloader {

// The user's last choices, kept in the per-user profile under the group "Kestrun_boot".
// List indexes are stored as they are, -1 (no selection) included.
struct DownloadProfile
{
    int firmwareList = 0; // FIRMWARELIST: Boot File list index
    int chipType = 0; // CHIPTYPE
    int com = 0; // COM: Serial Port list index
    int mode = 0; // MODE
    int yaffs = 0; // YAFFS: 0 clear, 1 checked
    int pcIp = 0; // PCIP: PC IP list index
    QString stbIp; // STBIP: replaces the derived receiver address when not empty
    QString comPath; // COMPATH: a serial device typed by hand (not in the list), empty otherwise

    bool operator==(const DownloadProfile&) const = default;
};

// Reads the keys; a missing or unreadable key gets its default.
DownloadProfile ReadDownloadProfile(QSettings& settings);
void WriteDownloadProfile(QSettings& settings, const DownloadProfile& profile);

// The organisation and application under which the per-user store keeps the profile.
inline constexpr const char* kProfileOrganisation = "应用程序向导生成的本地应用程序";
inline constexpr const char* kProfileApplication = "Kestrun_boot";
inline constexpr const char* kProfileGroup = "Kestrun_boot";

} // namespace downloader
