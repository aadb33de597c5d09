#include "DatabaseGenerator.h"

#include "core/Tdm.h"
#include "data/CountLookups.h"
#include "data/StockLookups.h"
#include "data/StockReport.h"
#include "data/StockSnapshots.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/ScrapDocument.h"
#include "reportdata/Reports.h"
#include "support/DatabaseTest.h"
#include "support/StockData.h"
#include "support/UncommittedChange.h"

#include <gtest/gtest.h>

#include <map>

using namespace testing_support;

namespace {

// The statements as they were before they were made faster: the figures of
// the new ones must not move by a unit.
const char *const kOldQuantities =
    "select r.TRANZ_RED_NOM_ID, sum(r.TRANZ_RED_IZNESENO * r.TRANZ_RED_TYPE_ID) from TRANZ t "
    "join TRANZ_RED r on r.TRANZ_RED_TRANZ_ID = t.TRANZ_ID where t.TRANZ_TIME < :UNTIL_TIME group by r.TRANZ_RED_NOM_ID";
const char *const kOldPrices =
    "select d.NOM_ID, d.PRICE from (select r.TRANZ_RED_NOM_ID as NOM_ID, "
    "r.TRANZ_RED_CENA * (1 - coalesce(r.TRANZ_RED_OTSTUPKA, 0)) as PRICE, row_number() over (partition by "
    "r.TRANZ_RED_NOM_ID order by t.TRANZ_TIME desc, t.TRANZ_ID desc, r.TRANZ_RED_ID desc) as RN "
    "from TRANZ t join TRANZ_RED r on r.TRANZ_RED_TRANZ_ID = t.TRANZ_ID "
    "where t.TRANZ_TYPE_ID = 12 and r.TRANZ_RED_TYPE_ID = 1 and t.TRANZ_TIME < :UNTIL_TIME) d where d.RN = 1";
const char *const kOldStockReport =
    "select n.NOM_CODE, s.Nalichnost from NOM n left join (select TRANZ_RED_NOM_ID, "
    "Sum(TRANZ_RED_izneseno * TRANZ_RED_TYPE_ID) as Nalichnost from Tranz_red where TRANZ_RED_TRANZ_ID <= :MAX_ID "
    "and exists (select 1 from TRANZ h where h.TRANZ_ID = TRANZ_RED_TRANZ_ID) group by TRANZ_RED_NOM_ID) s "
    "on s.TRANZ_RED_NOM_ID = n.NOM_ID where n.NOM_ID > 0 order by n.NOM_CODE, n.NOM_ID";
// What an editor showed beside a line before the stored months: the line
// itself left out, its own document counted whether stored or not.
const char *const kOldStockBesideLine =
    "select (select sum(TRANZ_RED_IZNESENO * TRANZ_RED_TYPE_ID) from TRANZ_RED, "
    "(select max(TRANZ_ID) as MAX_ID from TRANZ where TRANZ_TIME + 0 < :TOMORROW) today "
    "where (TRANZ_RED_NOM_ID = :NOM_ID) and (TRANZ_RED_ID <> :LINE_ID) "
    "and ((TRANZ_RED_TRANZ_ID = :TRANZ_ID) or (TRANZ_RED_TRANZ_ID <= today.MAX_ID "
    "and exists (select 1 from TRANZ h where h.TRANZ_ID = TRANZ_RED_TRANZ_ID)))) from RDB$DATABASE";

// A count's book quantity as it was: the day's stock less the count's own.
const char *const kOldBook =
    "select sum(r.TRANZ_RED_IZNESENO * r.TRANZ_RED_TYPE_ID) from TRANZ_RED r "
    "where r.TRANZ_RED_NOM_ID = 1 and r.TRANZ_RED_TRANZ_ID <= (select max(TRANZ_ID) from TRANZ "
    "where TRANZ_TIME + 0 < :TOMORROW) and r.TRANZ_RED_TRANZ_ID <> :COUNT_ID "
    "and exists (select 1 from TRANZ h where h.TRANZ_ID = r.TRANZ_RED_TRANZ_ID)";

std::map<int, QVariant> byKey(Tdm &dm, const char *sql, const data::SqlParams &params)
{
    std::map<int, QVariant> values;
    for (const QVariantList &row : dm.QueryRows(QString::fromLatin1(sql), params))
        values[row.at(0).toInt()] = row.at(1);
    return values;
}

// A year of a small shop as the benchmark makes it, then the disorder real
// databases have: a deleted document's lines left behind (a gap in the
// keys), lines under keys below and above every header, a document without
// lines, a document without a date.
class SameFigures : public DatabaseTest
{
protected:
    void SetUp() override
    {
        bench::Sizes sizes;
        sizes.goods = 60;
        sizes.counterparties = 8;
        sizes.documents = 600;
        sizes.years = 1;
        bench::generateDatabase(*dm, sizes, today, [](const QString &) {});
        dm->ExecSQL(QStringLiteral("delete from TRANZ where TRANZ_ID in (100, 101, 300)"));
        dm->ExecSQL(QStringLiteral("delete from TRANZ_RED where TRANZ_RED_TRANZ_ID = 300"));
        dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_TIME = null where TRANZ_ID = 400"));
        addLine(*dm, 900001, -5, 1, 1, 7, 7);
        addLine(*dm, 900002, 650, 2, -1, 3, 3);
        addLine(*dm, 900003, 651, 1, 1, 4, 4);
        dm->CommitRetaining();
    }

    const QDate today = QDate::currentDate();
};

// The report against the old statements at several dates; a second run
// reads the stored month. Then every goods item's stock on hand.
void expectOldFigures(Tdm &dm, const QDate &today)
{
    for (const QDate &date : {today, today, today.addMonths(-4), today.addYears(-2)}) {
        const data::SqlParams until{{QStringLiteral("UNTIL_TIME"), QDateTime(date.addDays(1), QTime(0, 0))}};
        const auto quantities = byKey(dm, kOldQuantities, until);
        const auto prices = byKey(dm, kOldPrices, until);
        const reportdata::ReportTable table = reportdata::stockOnHand(dm, date);
        ASSERT_EQ(table.rows.size(), 54u); // every goods item but each tenth
        for (const QVariantList &row : table.rows) {
            const int goods = row.at(0).toInt(); // the generator's codes are the keys
            const auto quantity = quantities.find(goods);
            EXPECT_NEAR(row.at(3).toDouble(), quantity == quantities.end() ? 0 : quantity->second.toDouble(), 1e-9)
                << goods << " on " << date.toString().toStdString();
            const auto price = prices.find(goods);
            EXPECT_EQ(row.at(4), price == prices.end() ? QVariant() : QVariant(price->second.toDouble())) << goods;
        }
    }
    const QVariant cutOff = data::stockCutOff(dm, today);
    const std::vector<data::StockReportLine> lines = data::stockReport(dm, true, today);
    const std::vector<QVariantList> old =
        dm.QueryRows(QString::fromLatin1(kOldStockReport), {{QStringLiteral("MAX_ID"), cutOff}});
    ASSERT_EQ(lines.size(), old.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].code, old[i].at(0).toInt());
        EXPECT_NEAR(lines[i].onHand, std::max(0.0, old[i].at(1).toDouble()), 1e-9) << lines[i].code;
        EXPECT_NEAR(lines[i].onHand, data::stockOnHand(dm, lines[i].code, today), 1e-9) << lines[i].code;
    }
}

TEST_F(SameFigures, StockAtADateAndOnHandFromTheStoredMonths)
{
    EXPECT_FALSE(data::trustedSnapshot(*dm, today.addDays(1)).isValid());
    expectOldFigures(*dm, today);
    EXPECT_EQ(data::trustedSnapshot(*dm, today.addDays(1)), data::lastClosedMonthEnd(today));
}

// Beside each line of an old document holding the busiest goods item, and
// beside the line being edited, which leaves itself out.
TEST_F(SameFigures, AnEditorsStockBesideALineFromTheStoredMonth)
{
    expectOldFigures(*dm, today);
    const QVariant document = dm->QueryValue(QStringLiteral(
        "select min(TRANZ_RED_TRANZ_ID) from TRANZ_RED where TRANZ_RED_NOM_ID = 1 and TRANZ_RED_TRANZ_ID > 0"));
    documents::DocumentModel editor(*dm, documents::scrapKind());
    editor.openExisting(document.toInt());
    db::Dataset &lines = editor.area(0).lines();
    const auto old = [&](const QVariant &line) {
        return std::max(0.0, dm->QueryValue(QString::fromLatin1(kOldStockBesideLine), QString(),
                                            {{QStringLiteral("NOM_ID"), lines.value(QStringLiteral("TRANZ_RED_NOM_ID"))},
                                             {QStringLiteral("LINE_ID"), line},
                                             {QStringLiteral("TRANZ_ID"), document},
                                             {QStringLiteral("TOMORROW"), today.addDays(1)}})
                                 .toDouble());
    };
    for (lines.first(); !lines.eof(); lines.next())
        EXPECT_NEAR(editor.area(0).stockOnHand(), old(-1), 1e-9);
    lines.first();
    lines.edit();
    EXPECT_NEAR(editor.area(0).stockOnHand(), old(lines.value(QStringLiteral("TRANZ_RED_ID"))), 1e-9);
    lines.cancel();
    // A count that document were: its own lines left out of the book.
    EXPECT_NEAR(data::countBookQuantity(*dm, 1, today, document.toInt()),
                dm->QueryValue(QString::fromLatin1(kOldBook), QString(),
                               {{QStringLiteral("TOMORROW"), today.addDays(1)}, {QStringLiteral("COUNT_ID"), document}})
                    .toDouble(),
                1e-9);
}

TEST(StoredMonths, AMonthIsStoredTwoDaysAfterItEndsAndReadUpToTheDayAsked)
{
    const struct
    {
        QDate serverToday, until, closed, read;
    } days[] = {
        {{2026, 12, 2}, {2026, 12, 3}, {2026, 11, 1}, {2026, 11, 1}},
        {{2026, 12, 3}, {2026, 12, 4}, {2026, 12, 1}, {2026, 12, 1}},
        {{2026, 12, 3}, {2026, 12, 1}, {2026, 12, 1}, {2026, 12, 1}},
        {{2026, 12, 3}, {2026, 11, 30}, {2026, 12, 1}, {2026, 11, 1}},
        {{2027, 1, 1}, {2027, 1, 2}, {2026, 12, 1}, {2026, 12, 1}},
    };
    for (const auto &d : days) {
        EXPECT_EQ(data::lastClosedMonthEnd(d.serverToday), d.closed) << d.serverToday.toString().toStdString();
        EXPECT_EQ(data::monthToRead(d.until, d.serverToday), d.read) << d.until.toString().toStdString();
    }
}

// Every way a closed month's figures can change is noted, the stored month
// is no longer read, and the next report stores it anew.
TEST_F(SameFigures, AChangeToAClosedMonthIsNeverReadPast)
{
    const QDate closed = data::lastClosedMonthEnd(today);
    // Documents of the closed months, the generator's keys in date order.
    const QVariant old = dm->QueryValue(
        QStringLiteral("select max(TRANZ_ID) from TRANZ where TRANZ_TIME < :D and TRANZ_TYPE_ID = 12"), QString(),
        {{QStringLiteral("D"), QDateTime(closed.addMonths(-1), QTime(0, 0))}});
    const char *const changes[] = {
        "update TRANZ_RED set TRANZ_RED_IZNESENO = TRANZ_RED_IZNESENO + 5 where TRANZ_RED_TRANZ_ID = :OLD",
        "update TRANZ set TRANZ_TIME = current_timestamp where TRANZ_ID = :OLD - 1",
        "update TRANZ set TRANZ_TYPE_ID = 13 where TRANZ_ID = :OLD - 2",
        "delete from TRANZ where TRANZ_ID = :OLD - 3",
        "insert into TRANZ_RED (TRANZ_RED_ID, TRANZ_RED_TRANZ_ID, TRANZ_RED_TYPE_ID, TRANZ_RED_NOM_ID, TRANZ_RED_CENA, "
        "TRANZ_RED_IZNESENO) values (900010, :OLD - 4, 1, 3, 99, 50)",
        "update TRANZ_RED set TRANZ_RED_CENA = 1234 where TRANZ_RED_TRANZ_ID = :OLD",
    };
    for (const char *change : changes) {
        expectOldFigures(*dm, today);
        ASSERT_EQ(data::trustedSnapshot(*dm, today.addDays(1)), closed);
        dm->ExecSQL(QString::fromLatin1(change), {{QStringLiteral("OLD"), old}});
        dm->CommitRetaining();
        EXPECT_LT(data::trustedSnapshot(*dm, today.addDays(1)), closed) << change;
        expectOldFigures(*dm, today);
    }
}

// A change another workstation commits while the month is being stored
// stays noted: the store forgets only the notes it read.
TEST_F(SameFigures, AChangeCommittedWhileAMonthIsStoredStaysNoted)
{
    const QDate closed = data::lastClosedMonthEnd(today);
    UncommittedChange other(database.path(),
                            QStringLiteral("update TRANZ_RED set TRANZ_RED_IZNESENO = TRANZ_RED_IZNESENO + 7 "
                                           "where TRANZ_RED_TRANZ_ID = 10"));
    expectOldFigures(*dm, today);
    ASSERT_EQ(data::trustedSnapshot(*dm, today.addDays(1)), closed);
    other.commit();
    EXPECT_LT(data::trustedSnapshot(*dm, today.addDays(1)), closed);
    expectOldFigures(*dm, today);
}

} // namespace
