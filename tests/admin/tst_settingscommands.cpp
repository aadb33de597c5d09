#include "AdminCommand.h"
#include "core/SettingsChange.h"
#include "core/SettingsInUse.h"
#include "core/TXMLSettings.h"
#include "support/AdminTool.h"
#include "support/FreshDatabase.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextStream>

#include <memory>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The same commands in this process, for a chosen tool directory.
ToolResult runInProcess(const QStringList &arguments, const QString &toolDirectory)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int code = admin::run(arguments, toolDirectory, outStream, errStream);
    outStream.flush();
    errStream.flush();
    return {code, out, err};
}

class AdminSettings : public ::testing::Test
{
protected:
    ToolResult run(QStringList arguments) const
    {
        return runAdminTool(QStringList{QStringLiteral("--settings"), file()} + arguments);
    }
    QString file() const { return m_dir.path(QStringLiteral("ws.xdb")); }

    TempDir m_dir;
};

TEST_F(AdminSettings, SetThenGetKeepsUtf8OnTheTerminalAndWindows1251InTheFile)
{
    const ToolResult set = run({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("clientinfo\\company"),
                            QStringLiteral("Торем € ООД")});
    ASSERT_EQ(set.code, 0) << set.err.toStdString();
    EXPECT_TRUE(m_dir.readFile(QStringLiteral("ws.xdb")).contains("<company>\xD2\xEE\xF0\xE5\xEC \x88 \xCE\xCE\xC4</company>"));

    const ToolResult get = run({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("clientinfo\\company")});
    EXPECT_EQ(get.code, 0);
    EXPECT_EQ(get.out, QStringLiteral("Торем € ООД\n"));

    ASSERT_EQ(run({QStringLiteral("settings"), QStringLiteral("set-int"), QStringLiteral("AutoBackup"), QStringLiteral("1")}).code, 0);
    EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("get-bool"), QStringLiteral("AutoBackup")}).out, QStringLiteral("1\n"));
    EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("get-int"), QStringLiteral("AutoBackup")}).out, QStringLiteral("1\n"));

    const ToolResult dump = run({QStringLiteral("settings"), QStringLiteral("dump")});
    EXPECT_EQ(dump.out, QStringLiteral("<?xml version='1.0' encoding='ISO-8859-1' ?>\r\n<dataroot>\r\n  <clientinfo>\r\n"
                                       "    <company>Торем € ООД</company>\r\n  </clientinfo>\r\n"
                                       "  <AutoBackup>1</AutoBackup>\r\n</dataroot>\n"));
}

TEST_F(AdminSettings, ReadsGiveDefaultsAndNeverCreateTheFile)
{
    EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("db_server\\host"), QStringLiteral("localhost")}).out,
              QStringLiteral("localhost\n"));
    EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("x")}).out, QStringLiteral("\n"));
    EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("get-int"), QStringLiteral("x"), QStringLiteral("-5")}).out,
              QStringLiteral("-5\n"));
    EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("get-bool"), QStringLiteral("x"), QStringLiteral("1")}).out,
              QStringLiteral("1\n"));
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(AdminSettings, RefusesAValueWindows1251CannotHoldAndLeavesTheFileAlone)
{
    ASSERT_EQ(run({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("a"), QStringLiteral("€")}).code, 0);
    const QByteArray before = m_dir.readFile(QStringLiteral("ws.xdb"));

    const ToolResult refused = run({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("a"), QStringLiteral("готово ✓")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("✓")));
    EXPECT_EQ(refused.err.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_EQ(m_dir.readFile(QStringLiteral("ws.xdb")), before);
}

TEST_F(AdminSettings, RefusesKeysThatAreNotElementNamesAndLeavesTheFileAlone)
{
    ASSERT_EQ(run({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("clientinfo\\network"), QStringLiteral("0")}).code, 0);
    const QByteArray before = m_dir.readFile(QStringLiteral("ws.xdb"));

    for (const QString &key : {QStringLiteral("clientinfo\\a b"), QStringLiteral("x]]>y"), QStringLiteral("a></clientinfo")}) {
        const ToolResult refused = run({QStringLiteral("settings"), QStringLiteral("set"), key, QStringLiteral("v")});
        EXPECT_EQ(refused.code, 1) << key.toStdString();
        EXPECT_EQ(refused.err.count(QLatin1Char('\n')), 1) << refused.err.toStdString();
        EXPECT_EQ(m_dir.readFile(QStringLiteral("ws.xdb")), before);
    }
    EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("clientinfo\\network")}).out,
              QStringLiteral("0\n"));
}

TEST_F(AdminSettings, ConcurrentSetsOnOneFileKeepEveryKey)
{
    const int perGroup = 30;
    std::vector<std::unique_ptr<QProcess>> tools;
    for (int i = 0; i < perGroup; ++i) {
        for (const QString &group : {QStringLiteral("first"), QStringLiteral("second")}) {
            auto tool = std::make_unique<QProcess>();
            tool->start(QStringLiteral(VARNEX_BIN_DIR "/varnex-admin"),
                        {QStringLiteral("--settings"), file(), QStringLiteral("settings"), QStringLiteral("set"),
                         group + QStringLiteral("\\k%1").arg(i), QString::number(i)});
            tools.push_back(std::move(tool));
        }
    }
    for (const auto &tool : tools) {
        ASSERT_TRUE(tool->waitForFinished(120000));
        EXPECT_EQ(tool->exitCode(), 0) << tool->readAllStandardError().toStdString();
    }

    TXMLSettings settings(file());
    settings.setSaveWhenFreed(false);
    settings.Open();
    for (int i = 0; i < perGroup; ++i) {
        EXPECT_EQ(settings.ReadInteger(QStringLiteral("first\\k%1").arg(i), -1), i);
        EXPECT_EQ(settings.ReadInteger(QStringLiteral("second\\k%1").arg(i), -1), i);
    }
    EXPECT_FALSE(QFile::exists(SettingsChange::lockFileName(file())));
}

TEST_F(AdminSettings, ChangesAreRefusedWhileTheProgramRunsWithTheFile)
{
    ASSERT_EQ(run({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("a"), QStringLiteral("1")}).code, 0);
    const QByteArray before = m_dir.readFile(QStringLiteral("ws.xdb"));
    {
        const SettingsInUse program(file());
        ASSERT_TRUE(program.isHeld());
        EXPECT_FALSE(SettingsInUse(file()).isHeld()); // a second program instance

        for (const QStringList &change : {QStringList{QStringLiteral("set"), QStringLiteral("a"), QStringLiteral("2")},
                                          QStringList{QStringLiteral("set-int"), QStringLiteral("b"), QStringLiteral("3")}}) {
            const ToolResult refused = run(QStringList{QStringLiteral("settings")} + change);
            EXPECT_EQ(refused.code, 1);
            EXPECT_TRUE(refused.err.startsWith(QStringLiteral("Програмата работи с файла с настройки"))) << refused.err.toStdString();
            EXPECT_EQ(refused.err.count(QLatin1Char('\n')), 1);
            EXPECT_EQ(m_dir.readFile(QStringLiteral("ws.xdb")), before);
        }
        EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("a")}).out, QStringLiteral("1\n"));
        EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("dump")}).code, 0);
    }
    EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("a"), QStringLiteral("2")}).code, 0);
    EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("a")}).out, QStringLiteral("2\n"));
}

// A child process takes the program's mark and ends like a killed program,
// with no destructor to remove it.
void leaveMarkOfKilledProgram(const QString &settingsFile)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const SettingsInUse program(settingsFile);
        _exit(program.isHeld() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(SettingsInUse::markFileName(settingsFile)));
}

TEST_F(AdminSettings, TheMarkOfAKilledProgramIsTakenOver)
{
    leaveMarkOfKilledProgram(file());
    const ToolResult set = run({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("a"), QStringLiteral("1")});
    EXPECT_EQ(set.code, 0) << set.err.toStdString();
    EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("a")}).out, QStringLiteral("1\n"));
    EXPECT_FALSE(QFile::exists(SettingsInUse::markFileName(file())));

    leaveMarkOfKilledProgram(file());
    EXPECT_TRUE(SettingsInUse(file()).isHeld()); // the program starting again
}

TEST_F(AdminSettings, ReadOnlyOrDamagedFilesAreNotChanged)
{
    const QByteArray damaged = "<?xml version='1.0' encoding='ISO-8859-1' ?>\r\n<dataroot><a>1</a><b x=oops/><c>2</c></dataroot>";
    m_dir.writeFile(QStringLiteral("ws.xdb"), damaged);
    const ToolResult refused = run({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("z"), QStringLiteral("1")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("missing value delimiter"))) << refused.err.toStdString();
    EXPECT_EQ(refused.err.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(m_dir.readFile(QStringLiteral("ws.xdb")), damaged);
    EXPECT_FALSE(QFile::exists(file() + QLatin1String(".bad")));

    const QByteArray sound = "<?xml version='1.0' encoding='ISO-8859-1' ?>\r\n<dataroot><a>1</a></dataroot>";
    m_dir.writeFile(QStringLiteral("ws.xdb"), sound);
    QFile::setPermissions(file(), QFile::ReadOwner | QFile::ReadGroup);
    const ToolResult readOnly = run({QStringLiteral("settings"), QStringLiteral("set-int"), QStringLiteral("a"), QStringLiteral("2")});
    EXPECT_EQ(readOnly.code, 1);
    EXPECT_TRUE(readOnly.err.contains(QStringLiteral("само за четене"))) << readOnly.err.toStdString();
    EXPECT_EQ(m_dir.readFile(QStringLiteral("ws.xdb")), sound);
}

TEST_F(AdminSettings, MissingDirectoryIsAClearFailure)
{
    const ToolResult result = runAdminTool({QStringLiteral("--settings"), m_dir.path(QStringLiteral("no/such/dir/ws.xdb")),
                                   QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("a"), QStringLiteral("1")});
    EXPECT_EQ(result.code, 1);
    EXPECT_TRUE(result.err.contains(QStringLiteral("не съществува")));
    EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1);
}

TEST_F(AdminSettings, WrongUsageExitsWithTwoAndShowsTheUsage)
{
    const QList<QStringList> wrong{
        {},
        {QStringLiteral("settings")},
        {QStringLiteral("settings"), QStringLiteral("get")},
        {QStringLiteral("settings"), QStringLiteral("frobnicate"), QStringLiteral("a")},
        {QStringLiteral("settings"), QStringLiteral("set-int"), QStringLiteral("a"), QStringLiteral("12px")},
        {QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
        {QStringLiteral("--bogus")},
        {QStringLiteral("unknown")},
    };
    for (const QStringList &arguments : wrong) {
        const ToolResult result = run(arguments);
        EXPECT_EQ(result.code, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("Употреба:")));
    }
    const ToolResult help = runAdminTool({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("settings get-bool")));
}

// A company detail longer than the counterparty's column is stored with a
// warning: the limit is the database's beside the file, or the one the
// program's first start makes.
TEST_F(AdminSettings, AValueLongerThanItsColumnIsStoredWithAWarning)
{
    struct Case
    {
        const char *key;
        int length;
        const char *warning; // "" none
    };
    const auto check = [&](const std::vector<Case> &cases) {
        for (const Case &c : cases) {
            const ToolResult set = run({QStringLiteral("settings"), QStringLiteral("set"), QString::fromLatin1(c.key),
                                        QString(c.length, QChar(0x0416))});
            EXPECT_EQ(set.code, 0) << c.key;
            EXPECT_EQ(set.err.section(QStringLiteral(" Програмата"), 0, 0).trimmed(), QString::fromUtf8(c.warning))
                << c.key << ' ' << c.length;
            EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("get"), QString::fromLatin1(c.key)}).out.size(),
                      c.length + 1);
        }
    };
    check({{"clientinfo\\company", 80, ""},
           {"clientinfo\\company", 81, "Внимание: „Фирма“ (clientinfo\\company) е 81 знака, а се побират най-много 80."},
           {"clientinfo\\vat_num", 11, "Внимание: „ИН по ЗДДС BG“ (clientinfo\\vat_num) е 11 знака, а се побират най-много 10."},
           {"clientinfo\\site", 200, ""}});

    FreshDatabase database;
    {
        std::unique_ptr<Tdm> dm = database.connect();
        dm->ExecSQL(QStringLiteral("alter table KONTR alter KONTR_NAME type varchar(90)"));
    }
    ASSERT_TRUE(QFile::copy(database.path(), m_dir.path(QStringLiteral("ws.fdb"))));
    check({{"clientinfo\\company", 90, ""},
           {"clientinfo\\company", 91, "Внимание: „Фирма“ (clientinfo\\company) е 91 знака, а се побират най-много 90."}});
}

TEST(AdminSettingsDefaultFile, IsVarnexXdbBesideTheTool)
{
    TempDir dir;
    ASSERT_EQ(runInProcess({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("clientinfo\\network"),
                            QStringLiteral("1")},
                           dir.path(QString()))
                  .code,
              0);
    EXPECT_TRUE(dir.readFile(QStringLiteral("Varnex.xdb")).contains("<network>1</network>"));
}

TEST(AdminSettingsDefaultFile, FollowsTheProgramsDataFolder)
{
    TempDir tool;
    TempDir home;
    const QStringList set{QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("clientinfo\\company"),
                          QStringLiteral("Торем ООД")};

    // Named on the command line, before the command.
    ASSERT_EQ(runInProcess(QStringList{QStringLiteral("--home"), home.path(QStringLiteral("shop"))} + set,
                           tool.path(QString()))
                  .code,
              1) << "a folder the program has not made yet is not made by the tool";
    QDir().mkpath(home.path(QStringLiteral("shop")));
    ASSERT_EQ(runInProcess(QStringList{QStringLiteral("--home"), home.path(QStringLiteral("shop"))} + set,
                           tool.path(QString()))
                  .code,
              0);
    EXPECT_TRUE(QFile::exists(home.path(QStringLiteral("shop/Varnex.xdb"))));

    // Named by the environment, for the built tool as for the program.
    QDir().mkpath(home.path(QStringLiteral("other")));
    qputenv("VARNEX_HOME", QFile::encodeName(home.path(QStringLiteral("other"))));
    const ToolResult fromEnvironment = runAdminTool(set);
    qunsetenv("VARNEX_HOME");
    ASSERT_EQ(fromEnvironment.code, 0) << fromEnvironment.err.toStdString();
    EXPECT_TRUE(QFile::exists(home.path(QStringLiteral("other/Varnex.xdb"))));
    EXPECT_FALSE(QFile::exists(tool.path(QStringLiteral("Varnex.xdb"))));
    EXPECT_FALSE(QFile::exists(QStringLiteral(VARNEX_BIN_DIR "/Varnex.xdb.lock")));

    const ToolResult missing = runInProcess({QStringLiteral("--home")}, tool.path(QString()));
    EXPECT_EQ(missing.code, 2);
}

TEST(AdminVersion, IsPrintedAndNamedInTheHelp)
{
    const ToolResult version = runAdminTool({QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("varnex-admin ")));
    EXPECT_EQ(version.out.count(QLatin1Char('.')), 3) << version.out.toStdString();
    const QString help = runAdminTool({QStringLiteral("--help")}).out;
    EXPECT_TRUE(help.contains(QStringLiteral("--version")));
    EXPECT_TRUE(help.contains(QStringLiteral("обновена до %1\n").arg(data::kTargetSchemaVersion))) << help.toStdString();
}

} // namespace
