#include "db/Dataset.h"
#include "support/FreshDatabase.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

int count(Tdm &dm, const char *table)
{
    return dm.QueryValue(QStringLiteral("select count(*) from ") + QString::fromLatin1(table)).toInt();
}

TEST(Clearing, KeepsExactlyTheFixedRowsAndResetsTheCounters)
{
    FreshDatabase database;
    auto dm = database.connect();
    addGoods(*dm, 10, 10, QStringLiteral("Олио"));
    addDocument(*dm, 3, 12, 20, QDateTime::currentDateTime());
    addLine(*dm, 8, 3, 10, 1, 1, 1);
    dm->ExecSQL(QStringLiteral("insert into KONTR (KONTR_ID, KONTR_NAME) values (20, 'Доставчик')"));
    dm->ExecSQL(QStringLiteral("insert into MERKI (MERKI_ID, MERKI_NAME, MERKI_ZNAK) values (8, 'кашон', 'каш.')"));
    dm->ExecSQL(QStringLiteral("insert into CATEGORY (ID, CODE, NAME) values (4, 4, 'Храни')"));
    dm->ExecSQL(QStringLiteral("insert into BANK_ACCOUNTS (ID, CLIENT_ID) values (2, 1)"));
    dm->SetConfigByName(QStringLiteral("BG_VAT"), QStringLiteral("20"));
    dm->SetConfigById(1, QStringLiteral("1"));
    dm->ExecSQL(QStringLiteral("insert into USER_RIGHTS values (0, 10, 1)"));
    dm->ExecSQL(QStringLiteral("insert into STOCK_COUNT_LINES (TRANZ_ID, NOM_ID) values (3, 10)"));

    dm->EmptyDatabase();
    EXPECT_EQ(count(*dm, "STOCK_COUNT_LINES"), 0);

    EXPECT_EQ(count(*dm, "TRANZ"), 0);
    EXPECT_EQ(count(*dm, "TRANZ_RED"), 0);
    EXPECT_EQ(count(*dm, "BANK_ACCOUNTS"), 0);
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select list(KONTR_ID) from KONTR")).toString(), QStringLiteral("1"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select list(NOM_ID) from NOM")).toString(), QStringLiteral("-1"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select list(ID) from CATEGORY")).toString(), QStringLiteral("0"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select list(MERKI_ID) from (select MERKI_ID from MERKI order by 1)")).toString(),
              QStringLiteral("-1,1,2,3,4,5,6,7"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select list(KEY_ID) from (select KEY_ID from APP_CONFIG order by 1)")).toString(),
              QStringLiteral("1,101"));
    EXPECT_EQ(count(*dm, "USER_RIGHTS"), 1);
    EXPECT_EQ(count(*dm, "USERS"), 2);
    EXPECT_EQ(count(*dm, "TRANZ_TYPES"), 7);

    const auto counter = [&](int id) {
        return dm->QueryValue(QStringLiteral("select VAL from COUNTERS where ID = :ID"), QString(), {{QStringLiteral("ID"), id}}).toInt();
    };
    EXPECT_EQ(counter(data::CounterKontr), 1);
    EXPECT_EQ(counter(data::CounterMerki), 7);
    EXPECT_EQ(counter(data::CounterCategory), 0);
    EXPECT_EQ(counter(data::CounterNom), 0); // the fixed row −1 is not a goods item
    EXPECT_EQ(counter(data::CounterTranz), 0);
    EXPECT_EQ(counter(data::CounterTranzRed), 0);
}

TEST(Clearing, IsRefusedWhileAnotherConnectionIsOpen)
{
    FreshDatabase database;
    auto workstation = database.connect();
    addGoods(*workstation, 10, 10, QStringLiteral("Олио"));
    auto dm = database.connect();
    EXPECT_THROW(dm->EmptyDatabase(), varnex::Error);
    EXPECT_EQ(count(*dm, "NOM"), 2);
    EXPECT_TRUE(dm->qMerki().isOpen()); // the look-up lists are back

    workstation.reset();
    dm->EmptyDatabase();
    EXPECT_EQ(count(*dm, "NOM"), 1);
}

TEST(Clearing, DeletingADocumentTakesItsLinesFirst)
{
    FreshDatabase database;
    auto dm = database.connect();
    addGoods(*dm, 10, 10, QStringLiteral("Олио"));
    addDocument(*dm, 3, 12, -1, QDateTime::currentDateTime());
    addDocument(*dm, 4, 12, -1, QDateTime::currentDateTime());
    addLine(*dm, 8, 3, 10, 1, 1, 1);
    addLine(*dm, 9, 4, 10, 1, 1, 1);
    for (const int count : {3, 4})
        dm->ExecSQL(QStringLiteral("insert into STOCK_COUNT_LINES (TRANZ_ID, NOM_ID) values (%1, 10)").arg(count));
    dm->DeleteDocument(3);
    dm->DeleteDocument(999);
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select list(TRANZ_RED_ID) from TRANZ_RED")).toString(), QStringLiteral("9"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select list(TRANZ_ID) from TRANZ")).toString(), QStringLiteral("4"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select list(TRANZ_ID) from STOCK_COUNT_LINES")).toString(), QStringLiteral("4"));
}

} // namespace
