#include "db/DatabaseError.h"
#include "db/Statement.h"
#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"

#include <QDate>
#include <QDateTime>

#include <gtest/gtest.h>

namespace {

using Statements = testing_support::DatabaseTest;

TEST_F(Statements, TypedValuesMakeTheRoundTrip)
{
    const QDateTime moment(QDate(2026, 12, 9), QTime(14, 30, 5, 250));
    dm->ExecSQL(QStringLiteral("insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_KONT_ID, TRANZ_TIME, "
                               "TRANZ_PADEJ, TRANZ_NOTE, TRANZ_SUM, TRANZ_PLATENO) "
                               "values (:ID, 12, :DOCNO, -1, :TIME, :PADEJ, :NOTE, :SUM, :PLATENO)"),
                {{QStringLiteral("ID"), 7},
                 {QStringLiteral("DOCNO"), 42},
                 {QStringLiteral("TIME"), moment},
                 {QStringLiteral("PADEJ"), QDate(2027, 1, 31)},
                 {QStringLiteral("NOTE"), QStringLiteral("Доставка „Ъгъл“ € it's")},
                 {QStringLiteral("SUM"), 1234.5678},
                 {QStringLiteral("PLATENO"), QVariant()}});

    const std::vector<QVariantList> rows = dm->QueryRows(
        QStringLiteral("select TRANZ_DOCNO, TRANZ_TIME, TRANZ_PADEJ, TRANZ_NOTE, TRANZ_SUM, TRANZ_PLATENO "
                       "from TRANZ where TRANZ_ID = :ID"),
        {{QStringLiteral("ID"), 7}});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toInt(), 42);
    EXPECT_EQ(rows[0][1].toDateTime(), moment);
    EXPECT_EQ(rows[0][2].toDate(), QDate(2027, 1, 31));
    EXPECT_EQ(rows[0][3].toString(), QStringLiteral("Доставка „Ъгъл“ € it's"));
    EXPECT_DOUBLE_EQ(rows[0][4].toDouble(), 1234.5678);
    EXPECT_TRUE(rows[0][5].isNull());
}

TEST_F(Statements, EmptyDatesAreStoredAsNoValue)
{
    dm->ExecSQL(QStringLiteral("insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_KONT_ID, TRANZ_TIME, "
                               "TRANZ_PADEJ) values (8, 12, 8, -1, :TIME, :PADEJ)"),
                {{QStringLiteral("TIME"), QDateTime()}, {QStringLiteral("PADEJ"), QDate()}});
    const std::vector<QVariantList> rows = dm->QueryRows(
        QStringLiteral("select TRANZ_TIME, TRANZ_PADEJ, cast(:T as time) from TRANZ where TRANZ_ID = 8"),
        {{QStringLiteral("T"), QTime()}});
    ASSERT_EQ(rows.size(), 1u);
    for (const QVariant &value : rows[0])
        EXPECT_TRUE(value.isNull());
}

TEST_F(Statements, ReportChangedRowsAndNullForNoRow)
{
    EXPECT_EQ(dm->ExecSQL(QStringLiteral("update MERKI set MERKI_KOL = MERKI_KOL where MERKI_ID between 1 and 7")), 7);
    EXPECT_EQ(dm->ExecSQL(QStringLiteral("delete from NOM where NOM_ID = 12345")), 0);
    EXPECT_TRUE(dm->QueryValue(QStringLiteral("select NOM_NAME from NOM where NOM_ID = 12345")).isNull());
    EXPECT_FALSE(dm->HasRows(QStringLiteral("select 1 from NOM where NOM_ID = 12345")));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select MERKI_ZNAK, MERKI_NAME from MERKI where MERKI_ID = 2"),
                             QStringLiteral("merki_name"))
                  .toString(),
              QStringLiteral("килограм"));
}

TEST_F(Statements, TextThatDoesNotFitIsRefusedAndNothingIsWritten)
{
    const QString insert = QStringLiteral("insert into CATEGORY (ID, CODE, NAME) values (:ID, 1, :NAME)");
    EXPECT_THROW(dm->ExecSQL(insert, {{QStringLiteral("ID"), 5}, {QStringLiteral("NAME"), QStringLiteral("Отметка ✓")}}),
                 varnex::Error);
    try {
        dm->ExecSQL(insert, {{QStringLiteral("ID"), 6}, {QStringLiteral("NAME"), QString(41, QLatin1Char('x'))}});
        FAIL() << "an over-long name was stored";
    } catch (const db::DatabaseError &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Текстът е по-дълъг от допустимото"))) << error.what();
        EXPECT_TRUE(error.serverText().contains(QLatin1String("truncation"))) << error.what();
        EXPECT_TRUE(error.statement().contains(QLatin1String("insert into CATEGORY")));
    }
    EXPECT_FALSE(dm->HasRows(QStringLiteral("select 1 from CATEGORY where ID in (5, 6)")));
    // The transaction is still usable after the refusals.
    dm->ExecSQL(insert, {{QStringLiteral("ID"), 7}, {QStringLiteral("NAME"), QStringLiteral("Напитки")}});
    EXPECT_TRUE(dm->HasRows(QStringLiteral("select 1 from CATEGORY where ID = 7")));
}

TEST_F(Statements, RecentValuesKeepTheNewestAndNoDuplicates)
{
    for (const char *place : {"София", "Пловдив", "Варна", "София"})
        dm->AddRecentValue(1, QString::fromUtf8(place), 2);
    dm->AddRecentValue(1, QStringLiteral("   "), 2);
    std::vector<QVariantList> rows =
        dm->QueryRows(QStringLiteral("select MRU_VAL from MRU_ITEMS where MRU_ID = 1 order by ID desc"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].toString(), QStringLiteral("София"));
    EXPECT_EQ(rows[1][0].toString(), QStringLiteral("Варна"));
}

} // namespace
