#include "support/NetworkServer.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace testing_support;

// The load of many workstations at a small size, so it stays honest: two
// workstations for a few seconds on the loopback server leave nothing
// lost, half stored or doubled.
TEST(WorkstationsLoad, TwoWorkstationsLeaveTheDatabaseWhole)
{
    REQUIRE_SERVER();
    ServedDatabase database;
    QProcess bench;
    bench.setProcessChannelMode(QProcess::MergedChannels);
    bench.start(QStringLiteral(VARNEX_BENCH), {QStringLiteral("workstations"), database.name(), QStringLiteral("--count"),
                                              QStringLiteral("2"), QStringLiteral("--seconds"), QStringLiteral("3")});
    ASSERT_TRUE(bench.waitForFinished(240000));
    const QString output = QString::fromUtf8(bench.readAll());
    EXPECT_EQ(bench.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("2 workstations"))) << output.toStdString();
    EXPECT_FALSE(output.contains(QStringLiteral("FAULT"))) << output.toStdString();
    for (const char *action : {"new document", "store a line", "save"})
        EXPECT_FALSE(output.contains(QRegularExpression(QStringLiteral("\n  %1 +0 ").arg(QLatin1String(action)))))
            << action << " never done:\n" << output.toStdString();
}
