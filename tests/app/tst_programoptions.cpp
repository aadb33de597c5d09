// The real program's command line and its first start in a new data folder.

#include "support/AdminTool.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct ProgramRun
{
    int code;
    QString out;
    QString err;
};

ProgramRun runProgram(const QStringList &arguments, const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    QProcessEnvironment withoutDisplay = environment;
    withoutDisplay.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(withoutDisplay);
    process.start(QStringLiteral(VARNEX_BIN_DIR "/Varnex"), arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {-1, QString(), QStringLiteral("the program did not end")};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(ProgramOptions, VersionIsTheAdminToolsAndHelpNamesTheDataFolder)
{
    const ProgramRun version = runProgram({QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0);
    const ToolResult tool = runAdminTool({QStringLiteral("--version")});
    EXPECT_EQ(version.out.section(QLatin1Char(' '), 1), tool.out.section(QLatin1Char(' '), 1));

    const ProgramRun help = runProgram({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--home ПАПКА")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("VARNEX_HOME")));

    const ProgramRun missing = runProgram({QStringLiteral("--home")});
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("--home")));
    EXPECT_FALSE(QFile::exists(QStringLiteral(VARNEX_BIN_DIR "/Varnex.xdb.running")));
}

TEST(ProgramFirstStart, MakesTheDataFolderAndReachesTheMainWindow)
{
    TempDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VARNEX_HOME"), dir.path(QStringLiteral("home/varnex")));
    const ProgramRun first = runProgram({QStringLiteral("--check-start")}, environment);
    ASSERT_EQ(first.code, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(QStringLiteral("Главният прозорец е показан.")));
    const QDir folder(dir.path(QStringLiteral("home/varnex")));
    EXPECT_TRUE(folder.exists(QStringLiteral("Varnex.fdb")));
    EXPECT_TRUE(folder.exists(QStringLiteral("firebird.conf")));
    EXPECT_TRUE(folder.exists(QStringLiteral("Varnex.xdb")));
    EXPECT_FALSE(folder.exists(QStringLiteral("Varnex.xdb.running")));

    // The option names the folder over the environment; the next start
    // finds the folder ready and uses it as it is.
    const QDateTime made = QFileInfo(folder.filePath(QStringLiteral("firebird.conf"))).lastModified();
    const ProgramRun again = runProgram({QStringLiteral("--home"), folder.path(), QStringLiteral("--check-start")},
                                 QProcessEnvironment::systemEnvironment());
    ASSERT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_EQ(QFileInfo(folder.filePath(QStringLiteral("firebird.conf"))).lastModified(), made);
}

} // namespace
