#include "data/GoodsBarcodes.h"
#include "data/SchemaUpgrade.h"
#include "support/FreshDatabase.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using testing_support::FreshDatabase;

namespace {

bool hasColumn(Tdm &dm, const char *table, const char *column)
{
    return dm.HasRows(QStringLiteral("select 1 from RDB$RELATION_FIELDS where RDB$RELATION_NAME = :T and "
                                     "RDB$FIELD_NAME = :C"),
                      {{QStringLiteral("T"), QString::fromLatin1(table)}, {QStringLiteral("C"), QString::fromLatin1(column)}});
}

QString domainOf(Tdm &dm, const char *table, const char *column)
{
    return dm.QueryValue(QStringLiteral("select trim(RDB$FIELD_SOURCE) from RDB$RELATION_FIELDS where "
                                        "RDB$RELATION_NAME = :T and RDB$FIELD_NAME = :C"),
                         QString(),
                         {{QStringLiteral("T"), QString::fromLatin1(table)}, {QStringLiteral("C"), QString::fromLatin1(column)}})
        .toString();
}

void addRecentItem(Tdm &dm)
{
    dm.ExecSQL(QStringLiteral("insert into MRU_ITEMS (ID, MRU_ID, MRU_VAL) values (1, 1, 'София')"));
}

bool hasRecentItem(Tdm &dm)
{
    return dm.HasRows(QStringLiteral("select 1 from MRU_ITEMS"));
}

void expectCurrentShape(Tdm &dm)
{
    EXPECT_TRUE(hasColumn(dm, "NOM", "SELL_PRICE"));
    EXPECT_TRUE(hasColumn(dm, "INVOICES", "RECIEVER"));
    EXPECT_TRUE(hasColumn(dm, "INVOICES", "NOVO_SREDSTVO"));
    EXPECT_FALSE(hasColumn(dm, "INVOICES", "NEW_VEHICLE"));
    EXPECT_TRUE(hasColumn(dm, "INVOICES", "INVNOTIF_DATE"));
    EXPECT_TRUE(hasColumn(dm, "BANK_ACCOUNTS", "BANK_CODE"));
    EXPECT_TRUE(hasColumn(dm, "BANK_ACCOUNTS", "ACCOUNT_CODE"));
    EXPECT_EQ(domainOf(dm, "INVOICES", "LKNO"), QStringLiteral("ShortSTR"));
    EXPECT_EQ(domainOf(dm, "INVOICE_DETAILS", "DETAIL_QTY"), QStringLiteral("DBL"));
    for (const char *column : {"PAYMENT_ID", "TRANZ_ID", "PAID_AT", "AMOUNT"})
        EXPECT_TRUE(hasColumn(dm, "TRANZ_PAYMENTS", column)) << column;
    EXPECT_TRUE(dm.HasRows(QStringLiteral("select 1 from RDB$TRIGGERS where RDB$TRIGGER_NAME = 'TRANZ_PAYMENT_RECORDS' "
                                          "and RDB$RELATION_NAME = 'TRANZ' and RDB$TRIGGER_INACTIVE = 0")));
    EXPECT_EQ(dm.QueryValue(QStringLiteral("select RDB$CHARACTER_LENGTH from RDB$FIELDS where RDB$FIELD_NAME = 'ShortSTR'")).toInt(), 25);
    for (const char *key : {"DB_VERSION", "VAT_INVOICE", "INVOICE_CREATOR", "BG_VAT", "STOCK_SHORTAGE_QUESTION",
                            "EURO_CHANGEOVER", "SCAN_ADDS_TO_LINE"})
        EXPECT_TRUE(dm.HasRows(QStringLiteral("select 1 from APP_CONFIG_KEYS where NAME = :N"),
                               {{QStringLiteral("N"), QString::fromLatin1(key)}}))
            << key;
    EXPECT_EQ(dm.QueryValue(QStringLiteral("select KEY_ID from APP_CONFIG_KEYS where NAME = 'DB_VERSION'")).toInt(), 101);
    EXPECT_TRUE(hasColumn(dm, "NOM_BARCODES", "BARCODE"));
    EXPECT_EQ(dm.QueryValue(QStringLiteral("select TRANZ_TYPES_NAME from TRANZ_TYPES where TRANZ_TYPES_ID = 14")).toString(),
              QStringLiteral("Ревизия"));
    EXPECT_TRUE(hasColumn(dm, "STOCK_COUNT_LINES", "POSTED_BOOK_QTY"));
    EXPECT_EQ(dm.SchemaVersion(), data::kTargetSchemaVersion);
}

TEST(InitialDatabase, HasTheFirstReleaseShapeAndTheFixedRows)
{
    FreshDatabase database(data::kFirstSchemaVersion);
    auto dm = database.connect();
    EXPECT_EQ(dm->SchemaVersion(), 10000);
    EXPECT_FALSE(hasColumn(*dm, "NOM", "SELL_PRICE"));
    EXPECT_TRUE(hasColumn(*dm, "INVOICES", "RECEIVER"));
    EXPECT_TRUE(hasColumn(*dm, "BANK_ACCOUNTS", "BIC"));
    EXPECT_NE(domainOf(*dm, "INVOICES", "LKNO"), QStringLiteral("ShortSTR"));
    EXPECT_FALSE(dm->HasRows(QStringLiteral("select 1 from APP_CONFIG_KEYS where NAME = 'DB_VERSION'")));

    EXPECT_EQ(dm->QueryValue(QStringLiteral("select KONTR_NOTE from KONTR where KONTR_ID = 1")).toString(),
              QStringLiteral("Това сте Вие!"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from MERKI where MERKI_ID between 1 and 7")).toInt(), 7);
    EXPECT_TRUE(dm->HasRows(QStringLiteral("select 1 from MERKI where MERKI_ID = -1")));
    EXPECT_TRUE(dm->HasRows(QStringLiteral("select 1 from NOM where NOM_ID = -1")));
    EXPECT_TRUE(dm->HasRows(QStringLiteral("select 1 from CATEGORY where ID = 0")));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from TRANZ_TYPES where TRANZ_TYPES_ID in (10,11,12,13,1,-1)")).toInt(), 6);
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from USER_RIGHT_ITEMS where ID in (1,10,11,12)")).toInt(), 4);
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select PASS from USERS where USER_TYPE = 0")).toString(), QString());
    EXPECT_TRUE(dm->HasRows(QStringLiteral("select 1 from USERS where ID = -1")));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from COUNTERS")).toInt(), 13);
    for (const char *key : {"AUTH_MODE", "DOCSIZE", "INVOICECOPIES", "COMPANY_MOL"})
        EXPECT_TRUE(dm->HasRows(QStringLiteral("select 1 from APP_CONFIG_KEYS where NAME = :N"),
                                {{QStringLiteral("N"), QString::fromLatin1(key)}}))
            << key;
}

TEST(SchemaUpgrade, FromTheFirstReleaseRunsEveryStep)
{
    FreshDatabase database(data::kFirstSchemaVersion);
    auto dm = database.connect();
    addRecentItem(*dm);
    EXPECT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
    expectCurrentShape(*dm);
    EXPECT_FALSE(hasRecentItem(*dm));
}

TEST(SchemaUpgrade, VersionKeyUnderId14MovesTo101AndTheUpgradeStartsFromTheBeginning)
{
    FreshDatabase database(data::kFirstSchemaVersion);
    auto dm = database.connect();
    dm->ExecSQL(QStringLiteral("insert into APP_CONFIG_KEYS (KEY_ID, NAME) values (14, 'DB_VERSION')"));
    dm->ExecSQL(QStringLiteral("insert into APP_CONFIG (KEY_ID, KEY_VALUE) values (14, '20111')"));
    EXPECT_EQ(dm->SchemaVersion(), 10000);
    EXPECT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
    expectCurrentShape(*dm);
}

TEST(SchemaUpgrade, From20111OnlyTheLaterStepsRun)
{
    FreshDatabase database(20111);
    auto dm = database.connect();
    EXPECT_EQ(dm->SchemaVersion(), 20111);
    EXPECT_NE(domainOf(*dm, "INVOICE_DETAILS", "DETAIL_QTY"), QStringLiteral("DBL"));
    EXPECT_TRUE(hasColumn(*dm, "BANK_ACCOUNTS", "BIC"));
    addRecentItem(*dm); // the 20108 step would delete it
    EXPECT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
    expectCurrentShape(*dm);
    EXPECT_TRUE(hasRecentItem(*dm));
}

// Keys go on from where the counters stood, and an older copy of the
// program raising a counter's row at its start still raises its keys.
TEST(SchemaUpgrade, From20117KeysGoOnFromTheCounters)
{
    FreshDatabase database(20117);
    auto dm = database.connect();
    dm->ExecSQL(QStringLiteral("update COUNTERS set VAL = 41 where ID = 24"));
    dm->ExecSQL(QStringLiteral("update COUNTERS set VAL = 7 where ID = 33"));
    EXPECT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
    EXPECT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready); // nothing done twice
    EXPECT_EQ(dm->NewCounterValue(data::CounterTranz), 42);
    EXPECT_EQ(dm->NewCounterValue(data::CounterBelejkaDetails), 8);
    dm->ExecSQL(QStringLiteral("update COUNTERS set VAL = 90 where ID = 24"));
    EXPECT_EQ(dm->NewCounterValue(data::CounterTranz), 91);
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select VAL from COUNTERS where ID = 24")).toInt(), 91);
}

TEST(SchemaUpgrade, CurrentAndNewerDatabasesOnlyGetTheGrants)
{
    for (const int version : {data::kTargetSchemaVersion, 20200}) {
        FreshDatabase database;
        auto dm = database.connect();
        dm->SetConfigById(101, QString::number(version));
        addRecentItem(*dm);
        EXPECT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
        EXPECT_EQ(dm->SchemaVersion(), version);
        EXPECT_TRUE(hasRecentItem(*dm));
    }
}

TEST(SchemaUpgrade, From20116InvoicesTakeTenDigitNumbersAndFullNamesAndKeepTheirRows)
{
    FreshDatabase database(20116);
    auto dm = database.connect();
    const QString name40(40, QChar(0x411));
    dm->ExecSQL(QStringLiteral("insert into INVOICES (ID, NUMBER, COMPANY) values (1, 2147483647, :N)"), {{QStringLiteral("N"), name40}});
    ASSERT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
    EXPECT_TRUE(dm->UpgradeSchema(20116)) << "a second run finds everything done";
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select COMPANY from INVOICES")).toString(), name40);
    dm->ExecSQL(QStringLiteral("update INVOICES set NUMBER = NUMBER + 7852516352")); // 9999999999
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select NUMBER from INVOICES")).toLongLong(), 9999999999LL);
    dm->AddRecentValue(2, QString(200, QChar(0x411)), 500); // as a print records a full name

    // Each widened column takes a Cyrillic value of its whole width.
    const std::pair<const char *, int> widths[] = {
        {"COMPANY", 200}, {"ADDRESS", 200}, {"MOL", 80}, {"RECIEVER", 80}, {"INVOICE_CREATOR", 80}, {"MVR", 80},
        {"PLACE", 80}, {"CITY", 80}, {"BANK", 80}, {"ACCOUNT", 34}, {"ACCOUNT_VAT", 34}, {"INVOICE_NUMBER", 10},
        {"ZERO_VAT_GROUND", 200}, {"MRU_VAL", 200}};
    for (const auto &[column, width] : widths) {
        const QString table = QLatin1String(column) == QLatin1String("MRU_VAL") ? QStringLiteral("MRU_ITEMS") : QStringLiteral("INVOICES");
        EXPECT_NO_THROW(dm->ExecSQL(QStringLiteral("update %1 set %2 = :V").arg(table, QLatin1String(column)),
                                    {{QStringLiteral("V"), QString(width, QChar(0x416))}}))
            << column;
    }
}

TEST(SchemaUpgrade, From20117ACodeBelongsToOneGoodsItemAndGoesWithIt)
{
    FreshDatabase database(20117);
    auto dm = database.connect();
    ASSERT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
    EXPECT_TRUE(dm->UpgradeSchema(20117)) << "a second run finds everything done";
    for (const char *goods : {"500, 'Кафе'", "501, 'Чай'"})
        dm->ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_NAME) values (%1)").arg(QString::fromUtf8(goods)));
    dm->ExecSQL(QStringLiteral("insert into NOM_BARCODES (BARCODE, NOM_ID) values ('3800000000014', 500)"));
    EXPECT_EQ(data::goodsByBarcode(*dm, QStringLiteral(" 3800000000014\n")), std::optional<int>(500));
    EXPECT_EQ(data::goodsByBarcode(*dm, QStringLiteral("3800000000015")), std::nullopt);
    EXPECT_ANY_THROW(dm->ExecSQL(QStringLiteral("insert into NOM_BARCODES (BARCODE, NOM_ID) values ('3800000000014', 501)")));
    dm->ExecSQL(QStringLiteral("delete from NOM where NOM_ID = 500"));
    EXPECT_FALSE(dm->HasRows(QStringLiteral("select 1 from NOM_BARCODES")));
}

TEST(SchemaUpgrade, From20118AStockCountHoldsOneLinePerGoodsItem)
{
    FreshDatabase database(20118);
    auto dm = database.connect();
    ASSERT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
    EXPECT_TRUE(dm->UpgradeSchema(20118)) << "a second run finds everything done";
    const QString insert = QStringLiteral("insert into STOCK_COUNT_LINES (TRANZ_ID, NOM_ID, BOOK_QTY, COUNTED_QTY) "
                                          "values (7, 500, 2.5, 3)");
    dm->ExecSQL(insert);
    EXPECT_ANY_THROW(dm->ExecSQL(insert));
    EXPECT_TRUE(dm->QueryValue(QStringLiteral("select POSTED_BOOK_QTY from STOCK_COUNT_LINES")).isNull());
    EXPECT_TRUE(data::hasTableRights(*dm, QStringLiteral("SYSDBA")));
}

TEST(SchemaUpgrade, AnInterruptedUpgradeFinishesAtTheNextStart)
{
    FreshDatabase database(data::kFirstSchemaVersion);
    auto dm = database.connect();
    // A column the 20109 step renames has gone missing: the upgrade stops there.
    dm->RunScriptStatement(QStringLiteral("ALTER TABLE INVOICES DROP RECEIVER;"));
    EXPECT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::UpgradeFailed);
    EXPECT_EQ(dm->SchemaVersion(), 10000);
    EXPECT_TRUE(hasColumn(*dm, "NOM", "SELL_PRICE"));
    EXPECT_TRUE(hasColumn(*dm, "INVOICES", "NOVO_SREDSTVO"));
    try {
        Tdm::CheckSchemaResult(Tdm::SchemaResult::UpgradeFailed);
        FAIL();
    } catch (const varnex::Error &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Грешка: 401")));
    }

    // Repaired by hand, the next start runs the same steps again; those
    // already done are skipped instead of failing.
    dm->RunScriptStatement(QStringLiteral("ALTER TABLE INVOICES ADD RECEIVER VARCHAR(40);"));
    dm.reset();
    dm = database.connect();
    EXPECT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
    expectCurrentShape(*dm);
}

TEST(SchemaUpgrade, WithAnotherWorkstationConnectedTheCountersAreOnlyRaised)
{
    FreshDatabase database(data::kFirstSchemaVersion);
    auto workstation = database.connect();
    const int held = workstation->NewCounterValue(data::CounterTranz);
    auto dm = database.connect();
    EXPECT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
    expectCurrentShape(*dm);
    EXPECT_EQ(workstation->NewCounterValue(data::CounterTranz), held + 1);
}

TEST(SchemaUpgrade, GrantsGoToSysdbaAndToTheConfiguredUserAsTheServerNamesIt)
{
    FreshDatabase database;
    auto dm = database.connect();
    const auto rights = [&](const QString &grantee) {
        return dm->QueryValue(QStringLiteral("select count(*) from RDB$USER_PRIVILEGES where RDB$USER = :U"), QString(),
                              {{QStringLiteral("U"), grantee}})
            .toInt();
    };
    const auto mayRun = [&](const QString &grantee, const char *procedure) {
        return dm->HasRows(QStringLiteral("select 1 from RDB$USER_PRIVILEGES where RDB$USER = :U and "
                                          "RDB$RELATION_NAME = :P and RDB$PRIVILEGE = 'X'"),
                           {{QStringLiteral("U"), grantee}, {QStringLiteral("P"), QString::fromLatin1(procedure)}});
    };
    // Five rights on each of the 25 tables, reading and restating the dated
    // payments, and the three procedures.
    const int full = 28 * 5 + 2 + 3;

    dm->user = QStringLiteral("kasa1");
    ASSERT_TRUE(dm->GrantTableRights());
    EXPECT_EQ(rights(QStringLiteral("KASA1")), full);
    for (const char *procedure : {"GETCOUNTERVAL", "UPDATE_MRU_ITEMS", "GETCLIENTCONTACT"}) {
        EXPECT_TRUE(mayRun(QStringLiteral("KASA1"), procedure)) << procedure;
        EXPECT_TRUE(mayRun(QStringLiteral("SYSDBA"), procedure)) << procedure;
    }
    EXPECT_TRUE(dm->HasRows(QStringLiteral("select 1 from RDB$USER_PRIVILEGES where RDB$USER = 'SYSDBA' and "
                                           "RDB$RELATION_NAME = 'BANK_ACCOUNTS' and RDB$PRIVILEGE = 'S'")));
    // Only the trigger on the documents writes the dated payments.
    const auto paymentRights = [&](const QString &grantee) {
        QString letters;
        for (const QVariantList &row : dm->QueryRows(
                 QStringLiteral("select trim(RDB$PRIVILEGE) from RDB$USER_PRIVILEGES where RDB$USER = :U and "
                                "RDB$RELATION_NAME = 'TRANZ_PAYMENTS' order by 1"),
                 {{QStringLiteral("U"), grantee}}))
            letters += row.at(0).toString();
        return letters;
    };
    EXPECT_EQ(paymentRights(QStringLiteral("KASA1")), QStringLiteral("SU"));
    EXPECT_EQ(paymentRights(QStringLiteral("TRANZ_PAYMENT_RECORDS")), QStringLiteral("DIU"));

    // A name in double quotes keeps its letters; quotes inside a name are
    // part of the name, never of the statement.
    dm->user = QStringLiteral("\"Kasa\"");
    ASSERT_TRUE(dm->GrantTableRights());
    EXPECT_EQ(rights(QStringLiteral("Kasa")), full);
    dm->user = QStringLiteral("x\" ; DROP TABLE NOM");
    ASSERT_TRUE(dm->GrantTableRights());
    EXPECT_EQ(rights(QStringLiteral("X\" ; DROP TABLE NOM")), full);
    EXPECT_TRUE(dm->HasRows(QStringLiteral("select 1 from NOM where NOM_ID = -1")));

    // No user can have these names: the grants fail as at start-up ("Грешка: 402").
    for (const QString &impossible : {QString(), QStringLiteral("kasa\n1"), QString(32, QLatin1Char('k'))}) {
        dm->user = impossible;
        EXPECT_FALSE(dm->GrantTableRights());
        EXPECT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::GrantsFailed);
    }
}

} // namespace
