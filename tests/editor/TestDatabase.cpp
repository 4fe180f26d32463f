#include "TestDatabase.h"

#include "access/CAccessDbOut.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QtGlobal>

using core::CAccessDbOut;
using core::CProgDb;
using core::CProgNode;
using core::CSatNode;
using core::CTpNode;

namespace {
// Every editor test keeps the settings it writes (Open Recent) in a folder of its own, removed at
// its end, never in the user's settings.
void UseTemporarySettings()
{
    static const QTemporaryDir folder;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, folder.path());
    }
}
} // namespace
Q_COREAPP_STARTUP_FUNCTION(UseTemporarySettings)

namespace editor {

std::unique_ptr<CProgDb> MakeDatabase(int sats, int tpsPerSat, int progsPerTp)
{
    auto db = std::make_unique<CProgDb>();
    for (int s = 0; s < sats; ++s) {
        auto sat = std::make_unique<CSatNode>();
        sat->SetName("Sat" + std::to_string(s));
        sat->SetLongitude(static_cast<std::uint32_t>(100 + s));
        const std::int32_t satId = db->Sats().Add(std::move(sat));
        for (int t = 0; t < tpsPerSat; ++t) {
            auto tp = std::make_unique<CTpNode>();
            tp->SetParentId(satId);
            tp->SetSymbolRate(27500);
            const std::int32_t tpId = db->Tps().Add(std::move(tp));
            db->Tps().Find(tpId)->SetFrequency(static_cast<std::uint32_t>(10000 + tpId));
            for (int p = 0; p < progsPerTp; ++p) {
                auto prog = std::make_unique<CProgNode>();
                prog->SetParentId(tpId);
                const std::int32_t progId = db->Progs().Add(std::move(prog));
                CProgNode* added = db->Progs().Find(progId);
                added->SetProgName("Prog" + std::to_string(progId));
                added->SetServiceId(static_cast<std::uint32_t>(100 + progId));
            }
        }
    }
    return db;
}

std::string DbFileBytes(CProgDb& db)
{
    std::string bytes;
    CAccessDbOut writer;
    if (!writer.BuildBytes(db, bytes)) {
        qFatal("the test database does not fit a db file"); // a broken fixture, not a finding
    }
    return bytes;
}

} // namespace editor
