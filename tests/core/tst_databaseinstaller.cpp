#include "core/DatabaseInstaller.h"
#include "data/SchemaUpgrade.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>

using namespace testing_support;

namespace {

// The installation is killed in a child process, with the install script
// in and the upgrade still to run. The child is forked before this process
// has used the database engine, so it starts clean; it is killed with no
// connection open rather than inside an engine call, which could leave the
// engine's state shared by every process on this machine locked.
TEST(DatabaseInstaller, AnInstallationKilledMidwayLeavesNothingUnderTheTargetName)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Varnex.fdb"));
    EXPECT_EXIT(installDatabase(path, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"),
                                data::kTargetSchemaVersion, [] { std::raise(SIGKILL); }),
                testing::KilledBySignal(SIGKILL), "");
    EXPECT_FALSE(QFile::exists(path));

    // The half-built file and the lock of the killed run stand in nobody's way.
    EXPECT_FALSE(QDir(dir.path(QString())).entryList(QDir::Files).isEmpty());
    installDatabase(path, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"), data::kTargetSchemaVersion);
    EXPECT_EQ(QDir(dir.path(QString())).entryList(QDir::Files), QStringList{QStringLiteral("Varnex.fdb")});
}

} // namespace
