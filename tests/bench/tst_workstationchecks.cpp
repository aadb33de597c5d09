#include "WorkstationChecks.h"

#include "core/Tdm.h"
#include "data/Counters.h"
#include "support/DatabaseTest.h"
#include "support/StockData.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A delivery of 10 and a sale of 2 of one goods item, both stored whole,
// as the workstation that stored them told it; then one thing damaged.
struct Damage
{
    const char *name;
    std::function<void(Tdm &, bench::WorkstationLog &)> apply;
    QStringList faults; // a part of each fault expected
};

class WorkstationChecks : public DatabaseTest, public ::testing::WithParamInterface<Damage>
{
};

void setSums(Tdm &dm, int document, double sum, double paid)
{
    dm.ExecSQL(QStringLiteral("update TRANZ set TRANZ_SUM = :S, TRANZ_PLATENO = :P where TRANZ_ID = :ID"),
               {{QStringLiteral("S"), sum}, {QStringLiteral("P"), paid}, {QStringLiteral("ID"), document}});
}

TEST_P(WorkstationChecks, FindWhatIsLostHalfStoredOrDoubled)
{
    addGoods(*dm, 1, 1, QStringLiteral("Брашно"));
    addCounterparty(*dm, 2, 2, QStringLiteral("Купувач"), 2);
    addDocument(*dm, 10, 12, 2, QDateTime::currentDateTime().addSecs(-60));
    addLine(*dm, 101, 10, 1, 1, 10, 10, 3);
    setSums(*dm, 10, 30, 30);
    addDocument(*dm, 11, 11, 2, QDateTime::currentDateTime().addSecs(-30));
    addLine(*dm, 102, 11, 1, -1, 2, 2, 3);
    setSums(*dm, 11, 6, 0);
    bench::WorkstationLog log;
    for (const QString &line : {bench::WorkstationLog::keyLine(data::CounterTranz, 10),
                                bench::WorkstationLog::keyLine(data::CounterTranz, 11),
                                bench::WorkstationLog::keyLine(data::CounterTranzRed, 101),
                                bench::WorkstationLog::keyLine(data::CounterTranzRed, 102),
                                bench::WorkstationLog::storedLine({10, 30, 1}),
                                bench::WorkstationLog::storedLine({11, 6, 1})})
        ASSERT_TRUE(log.read(line));
    GetParam().apply(*dm, log);

    const bench::Verdict verdict = bench::checkDatabase(*dm, {log});
    const QString faults = verdict.faults.join(QLatin1Char('\n'));
    EXPECT_EQ(verdict.faults.size(), GetParam().faults.size()) << faults.toStdString();
    for (const QString &fault : GetParam().faults)
        EXPECT_TRUE(faults.contains(fault)) << fault.toStdString() << " not in\n" << faults.toStdString();
}

void sql(Tdm &dm, const char *statement)
{
    dm.ExecSQL(QString::fromLatin1(statement));
}

INSTANTIATE_TEST_SUITE_P(
    Damages, WorkstationChecks,
    ::testing::Values(
        Damage{"Nothing", [](Tdm &, bench::WorkstationLog &) {}, {}},
        Damage{"LineChangedUnderItsSum",
               [](Tdm &dm, bench::WorkstationLog &) { sql(dm, "update TRANZ_RED set TRANZ_RED_KOL1 = 5 where TRANZ_RED_ID = 102"); },
               {QStringLiteral("do not add up to their sum: 1 (11: lines 15.00, sum 6.00)")}},
        Damage{"PaidAboveTheSum",
               [](Tdm &dm, bench::WorkstationLog &) { sql(dm, "update TRANZ set TRANZ_PLATENO = 6.01 where TRANZ_ID = 11"); },
               {QStringLiteral("payments above their document's sum: 1")}},
        Damage{"LineLeftWithoutItsDocument",
               [](Tdm &dm, bench::WorkstationLog &) { addLine(dm, 103, 5, 1, -1, 1, 1, 3); },
               // Stock on hand does not count it, so only the line itself is found.
               {QStringLiteral("lines without a document: 1")}},
        Damage{"StoredDocumentGone",
               [](Tdm &dm, bench::WorkstationLog &) {
                   sql(dm, "delete from TRANZ_RED where TRANZ_RED_ID = 102");
                   sql(dm, "delete from TRANZ where TRANZ_ID = 11");
               },
               {QStringLiteral("not there whole: 1 (11 missing)")}},
        Damage{"StoredDocumentLostALine",
               [](Tdm &dm, bench::WorkstationLog &) {
                   sql(dm, "delete from TRANZ_RED where TRANZ_RED_ID = 102");
               },
               {QStringLiteral("11 with 0 lines, sum 6.00 instead of 1 lines"), QStringLiteral("lines 0.00, sum 6.00")}},
        Damage{"KeyDrawnTwice",
               [](Tdm &, bench::WorkstationLog &log) {
                   log.read(bench::WorkstationLog::keyLine(data::CounterTranzRed, 101));
               },
               {QStringLiteral("counter 25 value 101 ×2")}},
        Damage{"NumberStoredTwice",
               [](Tdm &dm, bench::WorkstationLog &) { sql(dm, "update TRANZ set TRANZ_DOCNO = 10 where TRANZ_ID = 11"); },
               {QStringLiteral("numbers stored more than once: 1 (000010 ×2)")}}),
    [](const ::testing::TestParamInfo<Damage> &info) { return std::string(info.param.name); });

} // namespace
