#include "backup/BackupFiles.h"
#include "core/AppSettings.h"
#include "core/TXMLSettings.h"
#include "support/FreshDatabase.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QString kTroyan = QStringLiteral("select count(*) from CITIES where NAME = 'Троян'");

class SessionBackup : public ::testing::Test
{
protected:
    SessionBackup()
        : settings(dir.path(QStringLiteral("Varnex.xdb")))
    {
        dir.writeFile(QStringLiteral("firebird.conf"), "");
        settings.setSaveWhenFreed(false);
        settings.Open();
        settings.WriteBool(QStringLiteral("AutoBackup"), true);
        SetAppSettings(&settings);
    }
    ~SessionBackup() override { SetAppSettings(nullptr); }

    std::unique_ptr<Tdm> module()
    {
        auto dm = std::make_unique<Tdm>(messages);
        dm->programDirectory = dir.path(QString()) + QLatin1Char('/');
        dm->backupDirectory = dir.path(QStringLiteral("Backup"));
        dm->databasePath = database.path();
        return dm;
    }

    TempDir dir;
    TXMLSettings settings;
    RecordedMessages messages;
    FreshDatabase database;
};

TEST_F(SessionBackup, EachOrderlyEndBacksUpAndTheNewestAreKept)
{
    auto dm = module();
    const QString folder = dm->sessionBackupDirectory();
    QDir().mkpath(folder);
    for (const char *name : {"20200101_0000", "20200102_0000", "20200103_0000", "20200104_0000", "20200105_0000"})
        QFile(QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".DBbackup"))).open(QIODevice::WriteOnly);
    ASSERT_TRUE(dm->StartSession());
    dm->EndSession();
    const QStringList kept = backup::listBackups(folder);
    ASSERT_EQ(kept.size(), TBaseDM::kSessionBackups);
    EXPECT_EQ(kept.first(), QStringLiteral("20200102_0000.DBbackup"));
    EXPECT_GT(QFileInfo(QDir(folder).filePath(kept.last())).size(), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SessionBackup, WithoutTheKeyNoBackupIsMade)
{
    settings.WriteString(QStringLiteral("AutoBackup"), QStringLiteral("0"));
    auto dm = module();
    ASSERT_TRUE(dm->StartSession());
    dm->EndSession();
    EXPECT_FALSE(QFileInfo::exists(dm->sessionBackupDirectory()));
}

// "Да" after an unclean end opens the restore window on the session
// backups; nothing is restored unless the user picks one there.
TEST_F(SessionBackup, AnUncleanEndOffersTheSessionBackupsWithoutRestoring)
{
    {
        auto dm = module();
        ASSERT_TRUE(dm->StartSession());
        dm->EndSession();
    }
    database.connect()->ExecSQL(QStringLiteral("insert into CITIES (ID, COUNTRY_ID, NAME) values (40, 1, 'Троян')"));
    {
        auto dm = module();
        ASSERT_TRUE(dm->StartSession());
        // The process dies here: no orderly end.
    }
    messages.confirmations = {true};
    auto dm = module();
    QStringList offered;
    dm->chooseBackupToRestore = [&](const QString &folder) { offered << folder; };
    ASSERT_TRUE(dm->StartSession());
    ASSERT_EQ(messages.questions.size(), 1u);
    EXPECT_EQ(offered, QStringList({dm->sessionBackupDirectory()}));
    EXPECT_EQ(dm->QueryValue(kTroyan).toInt(), 1);
}

TEST_F(SessionBackup, ARestoreWhileConnectedReconnectsToTheRestoredDatabase)
{
    auto dm = module();
    ASSERT_TRUE(dm->StartSession());
    QDir().mkpath(dm->backupDirectory);
    const QString file = dm->BackupFileName();
    EXPECT_TRUE(file.startsWith(dm->backupDirectory + QLatin1Char('/')));
    QStringList lines;
    dm->RunBackup(file, [&](const QString &line) { lines << line; });
    EXPECT_FALSE(lines.isEmpty());
    ASSERT_TRUE(dm->IsConnected());
    dm->ExecSQL(QStringLiteral("insert into CITIES (ID, COUNTRY_ID, NAME) values (40, 1, 'Троян')"));
    dm->RunRestore(file);
    ASSERT_TRUE(dm->IsConnected());
    EXPECT_EQ(dm->QueryValue(kTroyan).toInt(), 0);

    QFile::resize(file, 100);
    EXPECT_THROW(dm->RunRestore(file), varnex::Error);
    ASSERT_TRUE(dm->IsConnected()) << "the connection comes back after a failed restore";
    EXPECT_EQ(dm->QueryValue(kTroyan).toInt(), 0);
}

} // namespace
