// The real program, told to end by the system while it runs.

#include "core/DatabaseInstaller.h"
#include "core/TXMLSettings.h"
#include "data/SchemaUpgrade.h"
#include "db/Attachment.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace testing_support;

namespace {

// A workstation of its own: the program, "firebird.conf" and the database
// beside it, and a settings file with the session token switched on.
class RunningProgram : public ::testing::TestWithParam<int>
{
protected:
    RunningProgram()
    {
        const QString program = dir.path(QStringLiteral("Varnex"));
        QFile::copy(QStringLiteral(VARNEX_BIN_DIR "/Varnex"), program);
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        dir.writeFile(QStringLiteral("firebird.conf"), "");
        installDatabase(dir.path(QStringLiteral("Varnex.fdb")), QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"),
                        data::kTargetSchemaVersion);
        TXMLSettings settings(dir.path(QStringLiteral("Varnex.xdb")));
        settings.Open();
        settings.WriteBool(QStringLiteral("AutoBackup"), true);
        settings.WriteString(QStringLiteral("clientinfo\\company"), QStringLiteral("Торем ООД"));
    }

    int readSetting(const QString &name)
    {
        TXMLSettings settings(dir.path(QStringLiteral("Varnex.xdb")));
        settings.setSaveWhenFreed(false);
        settings.Open();
        return settings.ReadInteger(name, -1);
    }

    TempDir dir;
};

TEST_P(RunningProgram, EndsItsSessionInOrderWhenSignalled)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(dir.path(QStringLiteral("Varnex")), {});
    ASSERT_TRUE(process.waitForStarted());

    // The start-up token is saved once the session is under way.
    QElapsedTimer waited;
    waited.start();
    while (readSetting(QStringLiteral("StartupSeed")) == -1 && waited.elapsed() < 30000)
        QThread::msleep(100);
    ASSERT_NE(readSetting(QStringLiteral("StartupSeed")), -1);
    QThread::msleep(1500); // let the main window come up

    ::kill(pid_t(process.processId()), GetParam());
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        FAIL() << "the program did not end";
    }
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(readSetting(QStringLiteral("ShutdownSeed")), readSetting(QStringLiteral("StartupSeed")));

    // The embedded engine let go of the database file.
    db::Attachment database;
    EXPECT_NO_THROW(database.attach(dir.path(QStringLiteral("Varnex.fdb")), QStringLiteral("SYSDBA"),
                                    QStringLiteral("pendrolix")));
}

INSTANTIATE_TEST_SUITE_P(Signals, RunningProgram, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::string(info.param == SIGTERM ? "Term" : info.param == SIGINT ? "Interrupt" : "HangUp");
                         });

} // namespace
