#include "core/DatabaseInstaller.h"
#include "core/TXMLSettings.h"
#include "db/Services.h"
#include "support/FreshDatabase.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The network tests need the Firebird server that scripts/test starts on
// 127.0.0.1; without it they are reported as skipped, with the reason.
QString serverHost()
{
    return qEnvironmentVariable("VARNEX_FIREBIRD_SERVER");
}

#define REQUIRE_SERVER()                                                                                               \
    if (serverHost().isEmpty())                                                                                        \
    GTEST_SKIP() << "no Firebird server: " << qEnvironmentVariable("VARNEX_FIREBIRD_SERVER_SKIP", QStringLiteral("VARNEX_FIREBIRD_SERVER is not set")).toStdString()

// A directory the server's own user can create databases in.
class SharedDir
{
public:
    SharedDir()
    {
        QFile::setPermissions(m_dir.path(QString()), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                         | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther
                                                         | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup);
    }
    QString path(const QString &name) const { return m_dir.path(name); }

private:
    TempDir m_dir;
};

TEST(NetworkMode, WorksAgainstARealServer)
{
    REQUIRE_SERVER();
    SharedDir dir;
    const QString path = dir.path(QStringLiteral("shop.fdb"));
    installDatabase(serverHost() + QLatin1Char(':') + path, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"),
                    data::kTargetSchemaVersion);

    TXMLSettings settings(dir.path(QStringLiteral("Varnex.xdb")));
    settings.setSaveWhenFreed(false);
    settings.Open();
    settings.WriteString(QStringLiteral("clientinfo\\network"), QStringLiteral("1"));
    settings.WriteString(QStringLiteral("db_server\\host"), serverHost());
    settings.WriteString(QStringLiteral("db_server\\database"), path);

    RecordedMessages messages;
    Tdm dm(messages);
    dm.programDirectory = dir.path(QString()) + QLatin1Char('/');
    dm.ReadConnectionConfig(settings);
    dm.ApplyConnectionConfig();
    EXPECT_EQ(dm.connectionName(), serverHost() + QLatin1Char(':') + path);
    ASSERT_TRUE(dm.Connect());
    EXPECT_EQ(dm.SchemaVersion(), 20113);
    EXPECT_EQ(dm.NewCounterValue(data::CounterTranz), 1);
}

TEST(NetworkMode, EnsuresTheDatabaseUserExists)
{
    REQUIRE_SERVER();
    const QString user = QStringLiteral("VARNEX_CASHIER");
    RecordedMessages messages;
    Tdm dm(messages);
    dm.host = serverHost();
    dm.user = user;
    dm.password = QStringLiteral("kasa1");
    EXPECT_TRUE(dm.EnsureDatabaseUser());
    EXPECT_TRUE(messages.shown.empty());

    db::Services services;
    services.attach(serverHost(), QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"));
    EXPECT_TRUE(services.listUsers().contains(user));
    EXPECT_TRUE(dm.EnsureDatabaseUser()); // a second time finds it
}

TEST(NetworkMode, AWrongPasswordIsTheServerNotFoundMessage)
{
    REQUIRE_SERVER();
    RecordedMessages messages;
    Tdm dm(messages);
    dm.setDatabase(serverHost() + QLatin1String(":/nonexistent/shop.fdb"));
    dm.password = QStringLiteral("wrong");
    dm.ApplyConnectionConfig();
    EXPECT_FALSE(dm.Connect());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Грешка: 001"));
}

} // namespace
