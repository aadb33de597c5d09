#include "core/DataFolder.h"
#include "core/MessageSink.h"
#include "core/Tdm.h"
#include "data/SchemaUpgrade.h"
#include "support/TempDir.h"
#include "util/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace varnex;
using testing_support::TempDir;

namespace {

class DataFolderChoice : public ::testing::Test
{
protected:
    DataFolderInputs inputs() const
    {
        DataFolderInputs in;
        in.programDirectory = program.path(QString());
        in.homeDirectory = home.path(QString());
        in.installedProgramDirectory = QStringLiteral("/usr/bin");
        return in;
    }

    TempDir program;
    TempDir home;
};

TEST_F(DataFolderChoice, AWritableProgramFolderKeepsTheFilesBesideTheProgram)
{
    const DataFolderPlace place = chooseDataFolder(inputs());
    EXPECT_EQ(place.source, DataFolderSource::ProgramFolder);
    EXPECT_EQ(place.path, program.path(QString()) + QLatin1Char('/'));
}

TEST_F(DataFolderChoice, AProgramFolderTheUserCannotWriteSendsThemToTheUsersDataFolder)
{
    QFile::setPermissions(program.path(QString()), QFile::ReadOwner | QFile::ExeOwner);
    const bool stillWritable = ::access(QFile::encodeName(program.path(QString())).constData(), W_OK) == 0;
    QFile::setPermissions(program.path(QString()), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (stillWritable)
        GTEST_SKIP() << "the administrator may write into every folder";

    QFile::setPermissions(program.path(QString()), QFile::ReadOwner | QFile::ExeOwner);
    const DataFolderPlace place = chooseDataFolder(inputs());
    QFile::setPermissions(program.path(QString()), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(place.source, DataFolderSource::UserFolder);
    EXPECT_EQ(place.path, home.path(QStringLiteral(".local/share/varnex/")));
}

TEST_F(DataFolderChoice, TheInstalledProgramFolderIsNeverUsedEvenWhereItCanBeWritten)
{
    DataFolderInputs in = inputs();
    in.installedProgramDirectory = program.path(QString());
    in.xdgDataHome = home.path(QStringLiteral("data"));
    const DataFolderPlace place = chooseDataFolder(in);
    EXPECT_EQ(place.source, DataFolderSource::UserFolder);
    EXPECT_EQ(place.path, home.path(QStringLiteral("data/varnex/")));

    // The same folder reached by another spelling is still the installed one.
    in.programDirectory = program.path(QStringLiteral("../")) + QFileInfo(program.path(QString())).fileName() +
                          QLatin1Char('/');
    EXPECT_EQ(chooseDataFolder(in).source, DataFolderSource::UserFolder);
}

TEST_F(DataFolderChoice, ARelativeXdgDataHomeIsIgnored)
{
    DataFolderInputs in = inputs();
    in.installedProgramDirectory = program.path(QString());
    in.xdgDataHome = QStringLiteral("relative/data");
    EXPECT_EQ(chooseDataFolder(in).path, home.path(QStringLiteral(".local/share/varnex/")));
}

TEST_F(DataFolderChoice, TheEnvironmentNamesAFolderAndTheOptionOverridesIt)
{
    DataFolderInputs in = inputs();
    in.environment = home.path(QStringLiteral("from-environment"));
    DataFolderPlace place = chooseDataFolder(in);
    EXPECT_EQ(place.source, DataFolderSource::Environment);
    EXPECT_EQ(place.path, home.path(QStringLiteral("from-environment/")));

    in.option = home.path(QStringLiteral("from-option/"));
    place = chooseDataFolder(in);
    EXPECT_EQ(place.source, DataFolderSource::Option);
    EXPECT_EQ(place.path, home.path(QStringLiteral("from-option/")));
}

TEST_F(DataFolderChoice, ARelativeFolderIsTakenFromTheCurrentFolder)
{
    DataFolderInputs in = inputs();
    in.option = QStringLiteral("shop/../shop2");
    EXPECT_EQ(chooseDataFolder(in).path, QDir::current().absoluteFilePath(QStringLiteral("shop2")) + QLatin1Char('/'));
}

TEST(DataFolderFiles, BesideTheProgramTheyTakeItsNameElsewhereTheNameVarnex)
{
    // This test program's folder is a writable build folder.
    EXPECT_EQ(dataFile(QStringLiteral(".xdb")),
              QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath() + QLatin1String(".xdb"));

    TempDir home;
    setDataFolderOption(home.path(QStringLiteral("shop")));
    const QString settings = dataFile(QStringLiteral(".xdb"));
    const QString database = dataFile(QStringLiteral(".fdb"));
    setDataFolderOption(QString());
    EXPECT_EQ(settings, home.path(QStringLiteral("shop/Varnex.xdb")));
    EXPECT_EQ(database, home.path(QStringLiteral("shop/Varnex.fdb")));
}

TEST(DataFolderFirstStart, AFolderWithoutEngineMarkAndDatabaseIsNewUnlessSetForAServer)
{
    TempDir dir;
    EXPECT_TRUE(isNewDataFolder(dir.path(QStringLiteral("missing"))));
    EXPECT_TRUE(isNewDataFolder(dir.path(QString())));

    struct Case
    {
        const char *settings; // "" no settings file
        bool database;
        bool engineMark;
        bool isNew;
    };
    const char *const localSettings = "<?xml version='1.0' ?><dataroot><clientinfo><company>Torem</company>"
                                      "</clientinfo></dataroot>";
    const char *const serverSettings = "<?xml version='1.0' ?><dataroot><clientinfo><network>1</network>"
                                       "</clientinfo></dataroot>";
    const Case cases[] = {
        {localSettings, false, false, true}, // settings written before the first start
        {"<?xml version='1.0' ?><settings/>", false, false, true},
        {serverSettings, false, false, false},
        {localSettings, true, false, false}, // a database served from here
        {"", false, true, false},
        {localSettings, false, true, false},
        {"<?xml version='1.0' ?><dataroot><clientinfo>", false, false, false}, // unreadable: left alone
    };
    for (const Case &c : cases) {
        TempDir folder;
        if (*c.settings)
            folder.writeFile(QStringLiteral("Varnex.xdb"), c.settings);
        if (c.database)
            folder.writeFile(QStringLiteral("Varnex.fdb"), "data");
        if (c.engineMark)
            folder.writeFile(QStringLiteral("firebird.conf"), "");
        EXPECT_EQ(isNewDataFolder(folder.path(QString())), c.isNew)
            << c.settings << " database " << c.database << " mark " << c.engineMark;
    }
}

class FurnishedFolder : public ::testing::Test
{
protected:
    // The version the database says it has, read as the program reads it.
    QString schemaVersion(const QString &database)
    {
        LastMessage messages;
        Tdm dm(messages);
        dm.setDatabase(database);
        dm.ApplyConnectionConfig();
        EXPECT_TRUE(dm.Connect()) << messages.line.toStdString();
        const QString version = dm.GetConfigById(101);
        dm.Disconnect();
        return version;
    }

    TempDir dir;
};

TEST_F(FurnishedFolder, AFirstStartMakesTheFolderWithTheDatabaseAndTheEngineMark)
{
    QDir().mkpath(dir.path(QStringLiteral("share/docs")));
    dir.writeFile(QStringLiteral("share/docs/index.html"), "<html/>");
    const QString folder = dir.path(QStringLiteral("home/.local/share/varnex"));
    furnishDataFolder(folder, dir.path(QStringLiteral("share")));

    EXPECT_TRUE(QFile::exists(folder + QLatin1String("/firebird.conf")));
    EXPECT_EQ(schemaVersion(folder + QLatin1String("/Varnex.fdb")), QString::number(data::kTargetSchemaVersion));
    EXPECT_EQ(QFileInfo(folder + QLatin1String("/docs")).symLinkTarget(), dir.path(QStringLiteral("share/docs")));
    EXPECT_TRUE(QFile::exists(folder + QLatin1String("/docs/index.html")));
    EXPECT_FALSE(isNewDataFolder(folder));
}

TEST_F(FurnishedFolder, ADatabaseLeftByAnInterruptedFirstStartIsKept)
{
    // The installer renames a database into place only when it is complete.
    QDir().mkpath(dir.path(QStringLiteral("varnex")));
    dir.writeFile(QStringLiteral("varnex/Varnex.fdb"), "the user's data");
    const QString folder = dir.path(QStringLiteral("varnex"));
    ASSERT_TRUE(isNewDataFolder(folder));
    furnishDataFolder(folder, dir.path(QStringLiteral("no-share")));
    EXPECT_EQ(dir.readFile(QStringLiteral("varnex/Varnex.fdb")), QByteArray("the user's data"));
    EXPECT_TRUE(QFile::exists(folder + QLatin1String("/firebird.conf")));
    EXPECT_FALSE(QFileInfo::exists(folder + QLatin1String("/docs")));
}

TEST_F(FurnishedFolder, AFolderThatCannotBeMadeIsReportedAndNothingIsMarkedReady)
{
    dir.writeFile(QStringLiteral("a-file"), "");
    try {
        furnishDataFolder(dir.path(QStringLiteral("a-file/varnex")), QString());
        FAIL() << "a folder under a file was made";
    } catch (const Error &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("не може да бъде създадена"))) << error.message().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.path(QStringLiteral("a-file/varnex/firebird.conf"))));
}

} // namespace
