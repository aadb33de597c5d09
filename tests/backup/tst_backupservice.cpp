#include "backup/BackupFiles.h"
#include "backup/BackupService.h"
#include "support/FreshDatabase.h"
#include "support/NetworkServer.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QString kCity = QStringLiteral("select count(*) from CITIES where NAME = :NAME");

int cities(const QString &database, const QString &name)
{
    RecordedMessages messages;
    Tdm dm(messages);
    dm.setDatabase(database);
    dm.ApplyConnectionConfig();
    if (!dm.Connect())
        return -1;
    return dm.QueryValue(kCity, QString(), {{QStringLiteral("NAME"), name}}).toInt();
}

void addCity(const QString &database, int id, const QString &name)
{
    RecordedMessages messages;
    Tdm dm(messages);
    dm.setDatabase(database);
    dm.ApplyConnectionConfig();
    ASSERT_TRUE(dm.Connect());
    dm.ExecSQL(QStringLiteral("insert into CITIES (ID, COUNTRY_ID, NAME) values (:ID, 1, :NAME)"),
               {{QStringLiteral("ID"), id}, {QStringLiteral("NAME"), name}});
}

// The engine's own full validation; empty when it finds nothing wrong.
QString validationFindings(const QString &database)
{
    QProcess gfix;
    gfix.start(QStringLiteral("gfix"), {QStringLiteral("-v"), QStringLiteral("-full"), QStringLiteral("-user"),
                                        QStringLiteral("SYSDBA"), QStringLiteral("-password"),
                                        QStringLiteral("pendrolix"), database});
    if (!gfix.waitForFinished(60000))
        return QStringLiteral("gfix did not finish");
    const QString output = QString::fromLocal8Bit(gfix.readAllStandardOutput() + gfix.readAllStandardError());
    return gfix.exitCode() == 0 ? output.trimmed() : QStringLiteral("gfix failed: ") + output;
}

class EmbeddedBackup : public ::testing::Test
{
protected:
    FreshDatabase database;
    TempDir dir;
    backup::DatabaseRef ref = backup::DatabaseRef::fromName(database.path());
};

TEST_F(EmbeddedBackup, RestoreBringsBackTheDataAndKeepsThePreviousDatabase)
{
    addCity(database.path(), 3, QStringLiteral("Габрово"));
    const QString file = backup::backupFileName(dir.path(QString()), QDateTime(QDate(2024, 3, 5), QTime(14, 7)));
    EXPECT_TRUE(file.endsWith(QStringLiteral("/20240305_1407.DBbackup")));
    QStringList lines;
    backup::backupDatabase(ref, file, [&](const QString &line) { lines << line; });
    EXPECT_FALSE(lines.isEmpty());
    addCity(database.path(), 4, QStringLiteral("Троян"));

    EXPECT_TRUE(backup::restoreDatabase(ref, file)) << "the previous database is kept";
    EXPECT_EQ(cities(database.path(), QStringLiteral("Габрово")), 1);
    EXPECT_EQ(cities(database.path(), QStringLiteral("Троян")), 0);
    const QString old = backup::oldDatabaseName(database.path());
    EXPECT_EQ(cities(old, QStringLiteral("Троян")), 1) << "the previous database is kept, and online";
    EXPECT_FALSE(QFile::exists(backup::stagingName(database.path())));

    // A second restore keeps only the database current before it.
    addCity(database.path(), 5, QStringLiteral("Елена"));
    backup::restoreDatabase(ref, file);
    EXPECT_EQ(cities(old, QStringLiteral("Елена")), 1);
    EXPECT_EQ(cities(old, QStringLiteral("Троян")), 0);
    EXPECT_EQ(validationFindings(database.path()), QString());

    // Into a database that is not there: made anew, nothing kept beside it.
    const backup::DatabaseRef fresh = backup::DatabaseRef::fromName(dir.path(QStringLiteral("new.fdb")));
    EXPECT_FALSE(backup::restoreDatabase(fresh, file));
    EXPECT_EQ(cities(fresh.path, QStringLiteral("Габрово")), 1);
    EXPECT_FALSE(QFile::exists(backup::oldDatabaseName(fresh.path)));
}

TEST_F(EmbeddedBackup, ADamagedBackupLeavesTheDatabaseInPlace)
{
    addCity(database.path(), 3, QStringLiteral("Габрово"));
    const QString file = dir.path(QStringLiteral("20240305_1407.DBbackup"));
    backup::backupDatabase(ref, file);
    QFile backupFile(file);
    ASSERT_TRUE(backupFile.open(QIODevice::ReadWrite));
    backupFile.resize(backupFile.size() / 2);
    backupFile.close();
    addCity(database.path(), 4, QStringLiteral("Троян"));

    try {
        backup::restoreDatabase(ref, file);
        ADD_FAILURE() << "a damaged backup was restored";
    } catch (const varnex::Error &error) {
        // The server's own words follow the sentence: they tell what is wrong.
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Грешка: Неуспех при възстановяване на данни от архив!\n\n")))
            << error.message().toStdString();
        EXPECT_FALSE(error.detail().isEmpty());
        EXPECT_TRUE(error.message().endsWith(error.detail()));
    }
    EXPECT_EQ(cities(database.path(), QStringLiteral("Троян")), 1);
    EXPECT_FALSE(QFile::exists(backup::stagingName(database.path())));
    EXPECT_FALSE(QFile::exists(backup::oldDatabaseName(database.path())));
    EXPECT_EQ(validationFindings(database.path()), QString());

    dir.writeFile(QStringLiteral("20240306_0900.DBbackup"), QByteArray("not a backup"));
    EXPECT_THROW(backup::restoreDatabase(ref, dir.path(QStringLiteral("20240306_0900.DBbackup"))), varnex::Error);
    EXPECT_THROW(backup::restoreDatabase(ref, dir.path(QStringLiteral("missing.DBbackup"))), varnex::Error);
    EXPECT_EQ(cities(database.path(), QStringLiteral("Троян")), 1);
}

TEST_F(EmbeddedBackup, RestoreIsRefusedWhileAnotherConnectionIsAttached)
{
    const QString file = dir.path(QStringLiteral("20240305_1407.DBbackup"));
    backup::backupDatabase(ref, file);
    addCity(database.path(), 4, QStringLiteral("Троян"));
    {
        std::unique_ptr<Tdm> other = database.connect();
        try {
            backup::restoreDatabase(ref, file);
            ADD_FAILURE() << "restored under another connection";
        } catch (const varnex::Error &error) {
            EXPECT_EQ(error.message(), QStringLiteral("Базата се използва в момента и не може да бъде възстановена! "
                                                      "Свързани работни места: 1."));
        }
        EXPECT_EQ(other->QueryValue(kCity, QString(), {{QStringLiteral("NAME"), QStringLiteral("Троян")}}).toInt(), 1);
    }
    EXPECT_FALSE(QFile::exists(backup::stagingName(database.path())));
    EXPECT_EQ(cities(database.path(), QStringLiteral("Троян")), 1) << "the database was left online";
}

TEST_F(EmbeddedBackup, ABackupTheServiceCouldNotMakeIsReportedAndRemovedAndNeverCostsAnEarlierOne)
{
    backup::DatabaseRef missing = backup::DatabaseRef::fromName(dir.path(QStringLiteral("missing.fdb")));
    const QString file = dir.path(QStringLiteral("20240305_1407.DBbackup"));
    try {
        backup::backupDatabase(missing, file);
        ADD_FAILURE() << "a backup of a missing database succeeded";
    } catch (const varnex::Error &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Грешка: Неуспех при създаване на архив на базата данни!\n\n")))
            << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(QStringLiteral("missing.fdb"))) << error.message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(file));

    // An earlier backup of the same minute survives a failed one and gives
    // way to a finished one.
    {
        QFile earlier(file);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier backup");
    }
    EXPECT_THROW(backup::backupDatabase(missing, file), varnex::Error);
    QFile kept(file);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("earlier backup"));
    kept.close();
    backup::backupDatabase(ref, file);
    EXPECT_GT(QFileInfo(file).size(), 1000);
    EXPECT_FALSE(QFile::exists(file + QStringLiteral(".part")));
}

TEST(BackupFiles, NotesAreWindows1251WithCarriageReturns)
{
    TempDir dir;
    const QString file = dir.path(QStringLiteral("20240305_1407.DBbackup"));
    EXPECT_EQ(backup::notesFileName(file), dir.path(QStringLiteral("20240305_1407.txt")));
    EXPECT_FALSE(backup::hasNotes(file));
    EXPECT_EQ(backup::readNotes(file), QString());
    backup::writeNotes(file, QStringLiteral("Архив\nдва\r\nтри"));
    EXPECT_EQ(dir.readFile(QStringLiteral("20240305_1407.txt")),
              QByteArray("\xC0\xF0\xF5\xE8\xE2\r\n\xE4\xE2\xE0\r\n\xF2\xF0\xE8"));
    EXPECT_EQ(backup::readNotes(file), QStringLiteral("Архив\nдва\nтри"));

    const QString notes = backup::defaultNotes(QStringLiteral("Заглавие"), file, QDateTime::currentDateTime());
    EXPECT_TRUE(notes.startsWith(QStringLiteral("Архив база данни на Заглавие\r\n\r\nдата: ")));
    EXPECT_TRUE(notes.endsWith(QStringLiteral("\r\nфайл: ") + file));
}

TEST(BackupFiles, ListingCaptionsAndPruning)
{
    TempDir dir;
    for (const char *name : {"20240305_1407.DBbackup", "20231201_0800.DBbackup", "2024ab05_14x7.DBbackup",
                             "20240305_1407.txt", "backup.DBbackup", "20240305_14071.DBbackup"})
        dir.writeFile(QString::fromLatin1(name), QByteArray("x"));
    EXPECT_EQ(backup::listBackups(dir.path(QString())),
              QStringList({QStringLiteral("20231201_0800.DBbackup"), QStringLiteral("20240305_1407.DBbackup"),
                           QStringLiteral("2024ab05_14x7.DBbackup")}));
    EXPECT_EQ(backup::backupCaption(QStringLiteral("20240305_1407.DBbackup")), QStringLiteral("05.03.2024г. 14:07"));
    EXPECT_EQ(backup::backupCaption(QStringLiteral("2024ab05_14x7.DBbackup")), QStringLiteral("05.ab.2024г. 14:x7"));

    EXPECT_EQ(backup::pruneBackups(dir.path(QString()), 1),
              QStringList({QStringLiteral("20231201_0800.DBbackup"), QStringLiteral("20240305_1407.DBbackup")}));
    EXPECT_FALSE(QFile::exists(dir.path(QStringLiteral("20240305_1407.txt"))));
    EXPECT_TRUE(QFile::exists(dir.path(QStringLiteral("2024ab05_14x7.DBbackup"))));
    EXPECT_TRUE(QFile::exists(dir.path(QStringLiteral("backup.DBbackup"))));
}

TEST(ServerBackup, RoundTripAndRefusalWhileAttached)
{
    REQUIRE_SERVER();
    ServedDatabase served;
    SharedDir dir;
    const backup::DatabaseRef ref = backup::DatabaseRef::fromName(served.name());
    addCity(served.name(), 3, QStringLiteral("Габрово"));
    const QString file = dir.path(QStringLiteral("20240305_1407.DBbackup"));
    backup::backupDatabase(ref, file);
    addCity(served.name(), 4, QStringLiteral("Троян"));

    {
        RecordedMessages messages;
        Tdm other(messages);
        other.setDatabase(served.name());
        other.ApplyConnectionConfig();
        ASSERT_TRUE(other.Connect());
        EXPECT_THROW(backup::restoreDatabase(ref, file), varnex::Error);
        EXPECT_EQ(other.QueryValue(kCity, QString(), {{QStringLiteral("NAME"), QStringLiteral("Троян")}}).toInt(), 1);
    }

    backup::restoreDatabase(ref, file);
    EXPECT_EQ(cities(served.name(), QStringLiteral("Габрово")), 1);
    EXPECT_EQ(cities(served.name(), QStringLiteral("Троян")), 0);
    EXPECT_EQ(cities(ref.host + QLatin1Char(':') + backup::oldDatabaseName(ref.path), QStringLiteral("Троян")), 1);
}

} // namespace
