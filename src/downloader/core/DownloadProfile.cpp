#include "downloader/core/DownloadProfile.h"

#include <QSettings>

namespace downloader {

namespace {

int ReadInt(QSettings& settings, const char* key, int fallback)
{
    bool ok = false;
    const int value = settings.value(key, fallback).toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

DownloadProfile ReadDownloadProfile(QSettings& settings)
{
    DownloadProfile profile;
    settings.beginGroup(kProfileGroup);
    profile.firmwareList = ReadInt(settings, "FIRMWARELIST", 0);
    profile.chipType = ReadInt(settings, "CHIPTYPE", 0);
    profile.com = ReadInt(settings, "COM", 0);
    profile.mode = ReadInt(settings, "MODE", 0);
    profile.yaffs = ReadInt(settings, "YAFFS", 0);
    profile.pcIp = ReadInt(settings, "PCIP", 0);
    profile.stbIp = settings.value("STBIP", QString()).toString();
    profile.comPath = settings.value("COMPATH", QString()).toString();
    settings.endGroup();
    return profile;
}

void WriteDownloadProfile(QSettings& settings, const DownloadProfile& profile)
{
    settings.beginGroup(kProfileGroup);
    settings.setValue("FIRMWARELIST", profile.firmwareList);
    settings.setValue("CHIPTYPE", profile.chipType);
    settings.setValue("COM", profile.com);
    settings.setValue("MODE", profile.mode);
    settings.setValue("YAFFS", profile.yaffs);
    settings.setValue("PCIP", profile.pcIp);
    settings.setValue("STBIP", profile.stbIp);
    settings.setValue("COMPATH", profile.comPath);
    settings.endGroup();
    settings.sync();
}

} // namespace downloader
