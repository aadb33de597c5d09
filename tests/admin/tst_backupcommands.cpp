#include "backup/BackupFiles.h"
#include "backup/BackupService.h"
#include "db/Attachment.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "support/AdminTool.h"
#include "support/FreshDatabase.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>

using namespace testing_support;

namespace {

int cityCount(const QString &database)
{
    RecordedMessages messages;
    Tdm dm(messages);
    dm.setDatabase(database);
    dm.ApplyConnectionConfig();
    if (!dm.Connect())
        return -1;
    return dm.QueryValue(QStringLiteral("select count(*) from CITIES")).toInt();
}

void addCities(const QString &database, int count)
{
    db::Attachment attachment;
    attachment.attach(database, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"));
    db::Transaction transaction(attachment);
    transaction.start();
    db::Statement statement(attachment, transaction);
    // Keys above those already used, so a test can add cities twice.
    statement.prepare(QStringLiteral("execute block as declare I integer; declare LAST integer; begin "
                                     "select coalesce(max(ID), 0) from CITIES into :I; LAST = I + %1; "
                                     "while (I < LAST) do begin I = I + 1; "
                                     "insert into CITIES (ID, COUNTRY_ID, NAME) values (:I, 1, 'Град ' || :I); "
                                     "end end")
                          .arg(count),
                      db::Statement::Parameters::None);
    statement.execute();
    statement.close();
    transaction.commit();
}

QString validationFindings(const QString &database)
{
    QProcess gfix;
    gfix.start(QStringLiteral("gfix"), {QStringLiteral("-v"), QStringLiteral("-full"), QStringLiteral("-user"),
                                        QStringLiteral("SYSDBA"), QStringLiteral("-password"),
                                        QStringLiteral("pendrolix"), database});
    if (!gfix.waitForFinished(120000))
        return QStringLiteral("gfix did not finish");
    const QString output = QString::fromLocal8Bit(gfix.readAllStandardOutput() + gfix.readAllStandardError());
    return gfix.exitCode() == 0 ? output.trimmed() : QStringLiteral("gfix failed: ") + output;
}

TEST(BackupCommand, WritesTheBackupWithItsNotesAndKeepsTheNewest)
{
    FreshDatabase database;
    TempDir dir;
    const QString folder = dir.path(QStringLiteral("Backup"));
    QDir().mkpath(folder);
    for (const char *name : {"20200101_0000", "20200102_0000", "20200103_0000"}) {
        QFile(QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".DBbackup"))).open(QIODevice::WriteOnly);
        QFile(QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".txt"))).open(QIODevice::WriteOnly);
    }

    const ToolResult made = runAdminTool({QStringLiteral("backup"), database.path(), folder, QStringLiteral("--keep"),
                                          QStringLiteral("2")});
    ASSERT_EQ(made.code, 0) << made.err.toStdString();
    const QStringList printed = made.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(printed.size(), 3) << made.out.toStdString();
    const QString file = printed.first();
    EXPECT_EQ(backup::listBackups(folder), QStringList({QStringLiteral("20200103_0000.DBbackup"),
                                                        QFileInfo(file).fileName()}));
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath(QStringLiteral("20200101_0000.txt"))));

    QFile notes(backup::notesFileName(file));
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
    const QByteArray bytes = notes.readAll();
    EXPECT_TRUE(bytes.startsWith("\xC0\xF0\xF5\xE8\xE2 ")) << "Windows-1251, no byte-order mark";
    EXPECT_EQ(bytes.count("\r\n"), 3);
    EXPECT_EQ(bytes.count('\n'), 3);
    EXPECT_TRUE(bytes.endsWith(QFile::encodeName(file)));

    EXPECT_EQ(runAdminTool({QStringLiteral("backup"), database.path(), folder, QStringLiteral("--keep"),
                            QStringLiteral("0")})
                  .code,
              2);
}

TEST(RestoreCommand, RestoresAndRefusesADamagedBackup)
{
    FreshDatabase database;
    TempDir dir;
    const int before = cityCount(database.path());
    const ToolResult made = runAdminTool({QStringLiteral("backup"), database.path(), dir.path(QString())});
    ASSERT_EQ(made.code, 0) << made.err.toStdString();
    const QString file = made.out.trimmed();
    addCities(database.path(), 10);

    const ToolResult restored = runAdminTool({QStringLiteral("restore"), file, database.path()});
    ASSERT_EQ(restored.code, 0) << restored.err.toStdString();
    EXPECT_EQ(cityCount(database.path()), before);
    EXPECT_EQ(cityCount(backup::oldDatabaseName(database.path())), before + 10);
    EXPECT_EQ(restored.out, QStringLiteral("предишната база: %1\n").arg(backup::oldDatabaseName(database.path())));

    // A database made anew by the restore names no previous one.
    const QString fresh = dir.path(QStringLiteral("fresh.fdb"));
    const ToolResult anew = runAdminTool({QStringLiteral("restore"), file, fresh});
    ASSERT_EQ(anew.code, 0) << anew.err.toStdString();
    EXPECT_FALSE(anew.out.contains(QStringLiteral(".oldFDB"))) << anew.out.toStdString();
    EXPECT_EQ(cityCount(fresh), before);

    dir.writeFile(QStringLiteral("20240101_0000.DBbackup"), QByteArray(4096, 'x'));
    const ToolResult refused =
        runAdminTool({QStringLiteral("restore"), dir.path(QStringLiteral("20240101_0000.DBbackup")), database.path()});
    EXPECT_EQ(refused.code, 1);
    // The server's reason follows the sentence.
    EXPECT_TRUE(refused.err.startsWith(QStringLiteral("Грешка: Неуспех при възстановяване на данни от архив! ")))
        << refused.err.toStdString();
    EXPECT_EQ(cityCount(database.path()), before);
}

// The tool is killed while the service writes the restored file: the
// database is untouched, whole, and the next restore clears what was left.
TEST(RestoreCommand, ARestoreKilledMidwayLeavesTheDatabaseUsable)
{
    FreshDatabase database;
    TempDir dir;
    addCities(database.path(), 200000);
    const QString file = dir.path(QStringLiteral("20240101_0000.DBbackup"));
    backup::backupDatabase(backup::DatabaseRef::fromName(database.path()), file);
    addCities(database.path(), 0);
    const int before = cityCount(database.path());

    // A killed engine leaves its lock folder unusable: the tool gets one of its own.
    TempDir locks;
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), locks.path(QStringLiteral("fblock")));
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(VARNEX_BIN_DIR "/varnex-admin"), {QStringLiteral("restore"), file, database.path()});
    ASSERT_TRUE(tool.waitForStarted());
    const QString staging = backup::stagingName(database.path());
    QElapsedTimer waited;
    waited.start();
    while (QFileInfo(staging).size() < 1024 * 1024 && tool.state() == QProcess::Running && waited.elapsed() < 60000)
        QThread::msleep(5);
    ASSERT_EQ(tool.state(), QProcess::Running) << "the restore ended before it could be cut short";
    ::kill(pid_t(tool.processId()), SIGKILL);
    tool.waitForFinished();

    EXPECT_EQ(cityCount(database.path()), before);
    EXPECT_EQ(validationFindings(database.path()), QString());
    backup::restoreDatabase(backup::DatabaseRef::fromName(database.path()), file);
    EXPECT_EQ(cityCount(database.path()), before);
    EXPECT_FALSE(QFile::exists(staging));
}

} // namespace
