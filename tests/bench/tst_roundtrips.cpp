#include "support/NetworkServer.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace testing_support;

// Every exchange with the server costs a shop whose workstations reach it
// over a slow line; the commonest actions stay within these counts.
TEST(RoundTrips, TheCommonestActionsStayWithinTheirCounts)
{
    REQUIRE_SERVER();
    ServedDatabase database;
    QProcess bench;
    bench.start(QStringLiteral(VARNEX_BENCH), {QStringLiteral("roundtrips"), database.name()});
    ASSERT_TRUE(bench.waitForFinished(120000));
    const QString output = QString::fromUtf8(bench.readAllStandardOutput());
    ASSERT_EQ(bench.exitCode(), 0) << output.toStdString() << bench.readAllStandardError().toStdString();
    const struct { const char *action; int most; int connections; } limits[] = {
        {"start-up to the main window", 40, 1}, {"new sale", 8, 0},         {"one sale line: new line", 2, 0},
        {"one sale line: goods and price", 4, 0}, {"one sale line: storing", 4, 0}, {"saving the sale", 6, 0},
    };
    for (const auto &limit : limits) {
        const QRegularExpressionMatch row =
            QRegularExpression(QStringLiteral("\\| %1 \\| (\\d+) \\| (\\d+) \\|").arg(QLatin1String(limit.action)))
                .match(output);
        ASSERT_TRUE(row.hasMatch()) << limit.action << "\n" << output.toStdString();
        EXPECT_LE(row.captured(1).toInt(), limit.most) << limit.action;
        EXPECT_EQ(row.captured(2).toInt(), limit.connections) << limit.action;
    }
}
