#include "core/TXMLSettings.h"
#include "support/AdminTool.h"
#include "support/NetworkServer.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A workstation's data folder running on the embedded engine, as the
// program's first start leaves it.
class Workstation : public ::testing::Test
{
protected:
    Workstation() { QFile(m_dir.path(QStringLiteral("firebird.conf"))).open(QIODevice::WriteOnly); }

    ToolResult run(const QStringList &arguments) const
    {
        return runAdminTool(QStringList{QStringLiteral("--home"), m_dir.path(QString())} + arguments);
    }
    QString setting(const QString &key) const
    {
        TXMLSettings settings(m_dir.path(QStringLiteral("Varnex.xdb")));
        settings.setSaveWhenFreed(false);
        settings.Open();
        return settings.ReadString(key, QStringLiteral("(none)"));
    }
    bool embedded() const { return QFile::exists(m_dir.path(QStringLiteral("firebird.conf"))); }

    TempDir m_dir;
};

TEST_F(Workstation, NothingChangesUnlessTheServersDatabaseAnswers)
{
    const struct
    {
        QStringList arguments;
        int code;
        const char *told;
    } cases[] = {
        {{QStringLiteral("workstation")}, 2, "Липсва базата на сървъра"},
        {{QStringLiteral("workstation"), QStringLiteral("/srv/varnex/shop.fdb")}, 2, "СЪРВЪР:ПЪТ"},
        {{QStringLiteral("workstation"), QStringLiteral("127.0.0.1:")}, 2, "СЪРВЪР:ПЪТ"},
        {{QStringLiteral("workstation"), QStringLiteral("127.0.0.1:/no/such/shop.fdb")}, 1,
         "Няма връзка с „127.0.0.1:/no/such/shop.fdb“; настройките не са променени."},
    };
    for (const auto &c : cases) {
        const ToolResult result = run(c.arguments);
        EXPECT_EQ(result.code, c.code) << c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.told))) << result.err.toStdString();
        EXPECT_EQ(setting(QStringLiteral("clientinfo\\network")), QStringLiteral("(none)"));
        EXPECT_TRUE(embedded());
    }
}

TEST_F(Workstation, TheServersDatabaseIsWrittenAndTheEmbeddedEngineLeft)
{
    REQUIRE_SERVER();
    const ServedDatabase shop;
    const ToolResult result = run({QStringLiteral("workstation"), shop.name()});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    const qsizetype colon = shop.name().indexOf(QLatin1Char(':'));
    EXPECT_EQ(setting(QStringLiteral("clientinfo\\network")), QStringLiteral("1"));
    EXPECT_EQ(setting(QStringLiteral("db_server\\host")), shop.name().left(colon));
    EXPECT_EQ(setting(QStringLiteral("db_server\\database")), shop.name().mid(colon + 1));
    EXPECT_EQ(setting(QStringLiteral("db_server\\user")), QStringLiteral("SYSDBA"));
    EXPECT_FALSE(embedded());
    EXPECT_TRUE(result.out.contains(QStringLiteral("е премахнат"))) << result.out.toStdString();
}

} // namespace
