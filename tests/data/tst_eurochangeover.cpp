#include "data/EuroChangeover.h"
#include "data/StockReport.h"
#include "db/Statement.h"
#include "invoicing/DocumentCurrency.h"
#include "payments/Outstanding.h"
#include "support/FreshDatabase.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

using namespace testing_support;

namespace {

const double kRate = 1.95583;

double expectedEuro(double leva, int decimals)
{
    const double power = std::pow(10.0, decimals);
    return std::round(leva / kRate * power) / power;
}

TEST(LevaToEuro, RoundsHalfUpOnTheExactQuotient)
{
    EXPECT_DOUBLE_EQ(data::levaToEuro(1.95583, 2), 1.0);
    EXPECT_DOUBLE_EQ(data::levaToEuro(100, 2), 51.13);
    EXPECT_DOUBLE_EQ(data::levaToEuro(100, 4), 51.1292);
    EXPECT_DOUBLE_EQ(data::levaToEuro(0, 2), 0.0);
    // Exactly half a cent and half of the fourth decimal: up, although the
    // quotient in binary falls either side of the half.
    EXPECT_DOUBLE_EQ(data::levaToEuro(0.00977915, 2), 0.01);
    EXPECT_DOUBLE_EQ(data::levaToEuro(0.24447875, 2), 0.13);
    EXPECT_DOUBLE_EQ(data::levaToEuro(0.44006175, 2), 0.23);
    EXPECT_DOUBLE_EQ(data::levaToEuro(0.77255285, 2), 0.40);
    EXPECT_DOUBLE_EQ(data::levaToEuro(0.000977915, 4), 0.0005);
    EXPECT_DOUBLE_EQ(data::levaToEuro(1.95583 * 1234.565, 2), 1234.57);
    EXPECT_DOUBLE_EQ(data::levaToEuro(19.5583 * 1234.565, 2), 12345.65);
    // Just below a half stays down.
    EXPECT_DOUBLE_EQ(data::levaToEuro(0.00977914, 2), 0.0);
    EXPECT_DOUBLE_EQ(data::levaToEuro(-0.24447875, 2), -0.13);
    EXPECT_DOUBLE_EQ(data::levaToEuro(1e12, 2), 511291881196.22);
}

TEST(LevaToEuro, KeepsEveryDocumentsOutstandingAmountConsistent)
{
    const data::DocumentAmounts unpaid = data::documentAmountsInEuro(12.345, 0);
    EXPECT_DOUBLE_EQ(unpaid.sum, 6.31);
    EXPECT_DOUBLE_EQ(unpaid.paid, 0);
    const data::DocumentAmounts paid = data::documentAmountsInEuro(12.345, 12.345);
    EXPECT_DOUBLE_EQ(paid.paid, paid.sum);
    // Within the editor's tolerance above the sum counts as paid in full.
    const data::DocumentAmounts above = data::documentAmountsInEuro(10, 10.00005);
    EXPECT_DOUBLE_EQ(above.paid, above.sum);
    // 3.33 outstanding of 10 leva: 1.70 of 5.11 euro, paid the rest.
    const data::DocumentAmounts part = data::documentAmountsInEuro(10, 6.67);
    EXPECT_DOUBLE_EQ(part.sum, 5.11);
    EXPECT_DOUBLE_EQ(part.sum - part.paid, 1.70);
    EXPECT_LE(part.paid, part.sum);
}

TEST(EuroChangeoverValue, IsReadBackAndNamesItsMomentWhenRefusing)
{
    const data::EuroChangeoverRecord record{QDate(2026, 1, 1), QDateTime(QDate(2026, 2, 3), QTime(14, 5, 9))};
    const QString value = data::euroChangeoverValue(record);
    EXPECT_EQ(value, QStringLiteral("2026-01-01;2026-02-03T14:05:09"));
    const auto read = data::parseEuroChangeoverValue(value);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->day, record.day);
    EXPECT_EQ(read->moment, record.moment);
    EXPECT_TRUE(data::alreadyInEuroText(*read).contains(QStringLiteral("03.02.2026 14:05")));
    for (const char *unreadable : {"", " ", "1", "2026-13-01;x"})
        EXPECT_FALSE(data::parseEuroChangeoverValue(QString::fromLatin1(unreadable)).has_value()) << unreadable;
}

// A shop that kept its stock in leva through 2025 and went on into 2026:
// an existing database brought to the current structure.
class LevaShop : public ::testing::Test
{
protected:
    LevaShop()
    {
        for (int id = 2; id <= 5; ++id)
            addCounterparty(*dm, id, id, QStringLiteral("Контрагент %1").arg(id), 2);
        std::mt19937 random(20251231);
        std::uniform_int_distribution<int> cents(1, 999999);
        for (int id = 1; id <= 30; ++id)
            addGoods(*dm, id, id, QStringLiteral("Стока %1").arg(id), id == 30 ? 0.0 : cents(random) / 10000.0);
        addGoods(*dm, 31, 31, QStringLiteral("Половин цент"), 0.000977915);

        db::Statement document(dm->database(), dm->mainTransaction());
        document.prepare(QStringLiteral(
            "insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_KONT_ID, TRANZ_TIME, TRANZ_PADEJ, "
            "TRANZ_SUM, TRANZ_PLATENO) values (:ID, :TYPE, :ID, :KONTR, :TIME, :PADEJ, :SUM, :PAID)"));
        db::Statement line(dm->database(), dm->mainTransaction());
        line.prepare(QStringLiteral(
            "insert into TRANZ_RED (TRANZ_RED_ID, TRANZ_RED_TRANZ_ID, TRANZ_RED_TYPE_ID, TRANZ_RED_NOM_ID, "
            "TRANZ_RED_KOL1, TRANZ_RED_KOL2, TRANZ_RED_CENA, TRANZ_RED_OTSTUPKA, TRANZ_RED_IZNESENO) "
            "values (:ID, :DOC, :DIR, :NOM, :KOL, 0, :PRICE, :DISCOUNT, :KOL)"));
        const int types[] = {12, 11, 10, 13};
        const QDateTime start(QDate(2025, 9, 1), QTime(8, 0));
        int lineId = 0;
        for (int id = 1; id <= 240; ++id) {
            const int type = types[id % 4];
            // One every 20 hours, from September 2025 into March 2026; one
            // on the last second of 2025.
            const QDateTime time = id == 120 ? QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59))
                                             : start.addSecs(3600 * 20 * id);
            double sum = 0;
            const int lines = 1 + id % 4;
            for (int n = 0; n < lines; ++n) {
                const int direction = type == 12 || (type == 10 && n == 0) ? 1 : -1;
                const double quantity = 1 + cents(random) % 500 / 10.0;
                const double price = type == 10 && n == 0 ? 0.0 : cents(random) / 10000.0;
                const double discount = n == 1 ? 0.05 : 0.0;
                line.setParameter(QStringLiteral("ID"), ++lineId);
                line.setParameter(QStringLiteral("DOC"), id);
                line.setParameter(QStringLiteral("DIR"), direction);
                line.setParameter(QStringLiteral("NOM"), 1 + (id * 7 + n) % 30);
                line.setParameter(QStringLiteral("KOL"), quantity);
                line.setParameter(QStringLiteral("PRICE"), price);
                line.setParameter(QStringLiteral("DISCOUNT"), discount);
                line.execute();
                sum += quantity * price * (1 - discount);
            }
            if (id == 7)
                sum = 0.44006175; // exactly half a cent above 0.22
            const double paid = id % 3 == 0 ? sum : id % 3 == 1 ? 0.0 : std::floor(sum * 37) / 100;
            document.setParameter(QStringLiteral("ID"), id);
            document.setParameter(QStringLiteral("TYPE"), type);
            document.setParameter(QStringLiteral("KONTR"), type == 10 || type == 13 ? -1 : 2 + id / 4 % 4);
            document.setParameter(QStringLiteral("TIME"), time);
            document.setParameter(QStringLiteral("PADEJ"), time.date().addDays(30));
            document.setParameter(QStringLiteral("SUM"), sum);
            document.setParameter(QStringLiteral("PAID"), paid);
            document.execute();
        }
        dm->CommitRetaining();
        addInvoice(1, QDate(2025, 11, 5), 0);
        addInvoice(2, QDate(2025, 12, 30), 1);
        addInvoice(3, QDate(2026, 1, 15), 0);
        EXPECT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
    }

    void addInvoice(int id, const QDate &date, int notification)
    {
        dm->ExecSQL(QStringLiteral("insert into INVOICES (ID, NUMBER, IDATE, CLIENT_ID, COMPANY, NOTIFICATION) "
                                   "values (:ID, :ID, :IDATE, 2, 'Контрагент 2', :NOTIFICATION)"),
                    {{QStringLiteral("ID"), id}, {QStringLiteral("IDATE"), date},
                     {QStringLiteral("NOTIFICATION"), notification}});
        for (int row = 1; row <= 3; ++row) {
            dm->ExecSQL(QStringLiteral("insert into INVOICE_DETAILS (DETAIL_ID, INVOICE_ID, ROWNUM, DETAIL_TEXT, "
                                       "DETAIL_MEAS, DETAIL_QTY, DETAIL_PRICE) values (:DETAIL_ID, :ID, :ROWNUM, "
                                       "'Услуга', 'бр.', :ROWNUM, :PRICE)"),
                        {{QStringLiteral("DETAIL_ID"), id * 10 + row},
                         {QStringLiteral("ID"), id},
                         {QStringLiteral("ROWNUM"), row},
                         {QStringLiteral("PRICE"), 12.345 * row}});
        }
    }

    std::vector<QVariantList> rows(const char *sql) { return dm->QueryRows(QString::fromLatin1(sql)); }

    std::map<int, double> outstandingByCounterparty(int documentType)
    {
        std::map<int, double> owed;
        for (const QVariantList &row :
             dm->QueryRows(payments::moneyListSql(), payments::listParams(documentType, payments::allDueDates())))
            owed[row.at(1).toInt()] = row.at(4).toDouble();
        return owed;
    }

    data::EuroChangeoverSummary convert() { return data::convertToEuro(dm->database(), data::euroDay()); }

    FreshDatabase database{20114};
    std::unique_ptr<Tdm> dm = database.connect();
};

TEST_F(LevaShop, AnExistingDatabaseStaysInLevaUntilItIsConverted)
{
    EXPECT_FALSE(data::euroChangeover(*dm).has_value());
    EXPECT_FALSE(invoicing::DocumentCurrency::ofDatabase(*dm).isEuro());
    EXPECT_EQ(invoicing::DocumentCurrency::ofDatabase(*dm).sign(), QStringLiteral("лв."));
    // A receipt follows its date while the database is in leva.
    EXPECT_FALSE(invoicing::DocumentCurrency::ofStockDocument(*dm, QDate(2025, 12, 31)).isEuro());
    EXPECT_TRUE(invoicing::DocumentCurrency::ofStockDocument(*dm, QDate(2026, 1, 1)).isEuro());

    convert();
    const auto record = data::euroChangeover(*dm);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->day, QDate(2026, 1, 1));
    EXPECT_TRUE(record->moment.isValid());
    EXPECT_EQ(invoicing::DocumentCurrency::ofDatabase(*dm).sign(), QStringLiteral("EUR"));
    // Its converted documents of 2025 are euro now, and print so.
    EXPECT_TRUE(invoicing::DocumentCurrency::ofStockDocument(*dm, QDate(2025, 12, 31)).isEuro());
}

TEST_F(LevaShop, EveryLevaAmountIsConvertedAndNothingElse)
{
    const auto goods = rows("select NOM_ID, SELL_PRICE from NOM order by NOM_ID");
    const auto documents =
        rows("select TRANZ_ID, TRANZ_SUM, TRANZ_PLATENO, TRANZ_TIME from TRANZ order by TRANZ_ID");
    const auto lines = rows("select r.TRANZ_RED_ID, r.TRANZ_RED_CENA, t.TRANZ_TIME, r.TRANZ_RED_KOL1, "
                            "r.TRANZ_RED_IZNESENO, r.TRANZ_RED_OTSTUPKA from TRANZ_RED r "
                            "join TRANZ t on t.TRANZ_ID = r.TRANZ_RED_TRANZ_ID order by r.TRANZ_RED_ID");
    const data::EuroChangeoverSummary made = convert();

    const auto goodsAfter = rows("select NOM_ID, SELL_PRICE from NOM order by NOM_ID");
    ASSERT_EQ(goodsAfter.size(), goods.size());
    for (size_t i = 0; i < goods.size(); ++i) {
        if (goods[i].at(0).toInt() == 31)
            EXPECT_DOUBLE_EQ(goodsAfter[i].at(1).toDouble(), 0.0005);
        else
            EXPECT_DOUBLE_EQ(goodsAfter[i].at(1).toDouble(), expectedEuro(goods[i].at(1).toDouble(), 4))
                << goods[i].at(0).toInt();
    }

    const QDateTime euroDay(QDate(2026, 1, 1), QTime(0, 0));
    const auto documentsAfter = rows("select TRANZ_ID, TRANZ_SUM, TRANZ_PLATENO from TRANZ order by TRANZ_ID");
    ASSERT_EQ(documentsAfter.size(), documents.size());
    int converted = 0;
    for (size_t i = 0; i < documents.size(); ++i) {
        const double sum = documents[i].at(1).toDouble();
        const double paid = documents[i].at(2).toDouble();
        const double sumAfter = documentsAfter[i].at(1).toDouble();
        const double paidAfter = documentsAfter[i].at(2).toDouble();
        if (documents[i].at(3).toDateTime() >= euroDay) {
            EXPECT_EQ(sumAfter, sum);
            EXPECT_EQ(paidAfter, paid);
            continue;
        }
        ++converted;
        const int id = documents[i].at(0).toInt();
        EXPECT_DOUBLE_EQ(sumAfter, id == 7 ? 0.23 : expectedEuro(sum, 2)) << id;
        EXPECT_NEAR(sumAfter - paidAfter, id == 7 ? 0.23 : expectedEuro(sum - paid, 2), 1e-9) << id;
        EXPECT_LE(paidAfter, sumAfter + 1e-9) << id;
        if (paid == sum) {
            EXPECT_EQ(paidAfter, sumAfter) << id;
        }
        if (paid == 0) {
            EXPECT_EQ(paidAfter, 0.0) << id;
        }
    }
    EXPECT_EQ(made.leva.documents, converted);
    EXPECT_GT(converted, 100);
    EXPECT_LT(converted, 240);

    const auto linesAfter = rows("select TRANZ_RED_ID, TRANZ_RED_CENA, TRANZ_RED_KOL1, TRANZ_RED_IZNESENO, "
                                 "TRANZ_RED_OTSTUPKA from TRANZ_RED order by TRANZ_RED_ID");
    ASSERT_EQ(linesAfter.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const double price = lines[i].at(1).toDouble();
        const bool before = lines[i].at(2).toDateTime() < euroDay;
        EXPECT_DOUBLE_EQ(linesAfter[i].at(1).toDouble(), before ? expectedEuro(price, 4) : price)
            << lines[i].at(0).toInt();
        EXPECT_EQ(linesAfter[i].at(2), lines[i].at(3));
        EXPECT_EQ(linesAfter[i].at(3), lines[i].at(4));
        EXPECT_EQ(linesAfter[i].at(4), lines[i].at(5));
    }
}

TEST_F(LevaShop, RecordedPaymentsAreConvertedAndTheChangeoverPaysNothing)
{
    // Payments made after the upgrade: one to a document of 2025, one to a
    // document of 2026.
    dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_PLATENO = 19.56 where TRANZ_ID = 1"));
    dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_PLATENO = 5 where TRANZ_ID = 238"));
    const char *const records = "select TRANZ_ID, AMOUNT from TRANZ_PAYMENTS order by TRANZ_ID";
    ASSERT_EQ(rows(records).size(), 2u);
    convert();
    const auto after = rows(records);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].at(0).toInt(), 1);
    EXPECT_DOUBLE_EQ(after[0].at(1).toDouble(), 10.0);
    EXPECT_EQ(after[1].at(0).toInt(), 238);
    EXPECT_DOUBLE_EQ(after[1].at(1).toDouble(), 5.0);
}

TEST_F(LevaShop, StockOnHandAndWhatIsOutstandingFollowTheConversion)
{
    const auto stock = data::stockReport(*dm, true, QDate(2026, 6, 1));
    std::map<int, std::map<int, double>> expected;
    for (const int type : {11, 12}) {
        for (const QVariantList &row :
             dm->QueryRows(QStringLiteral("select TRANZ_KONT_ID, TRANZ_SUM, TRANZ_PLATENO, TRANZ_TIME from TRANZ "
                                          "where TRANZ_TYPE_ID = :TYPE"),
                           {{QStringLiteral("TYPE"), type}})) {
            const double owed = row.at(1).toDouble() - row.at(2).toDouble();
            const bool leva = row.at(3).toDateTime().date() < QDate(2026, 1, 1);
            const double euro = leva ? expectedEuro(owed, 2) : owed;
            if (euro > 0.0001)
                expected[type][row.at(0).toInt()] += euro;
        }
    }
    ASSERT_EQ(expected[11].size(), 4u);
    ASSERT_EQ(expected[12].size(), 4u);
    convert();

    const auto stockAfter = data::stockReport(*dm, true, QDate(2026, 6, 1));
    ASSERT_EQ(stockAfter.size(), stock.size());
    for (size_t i = 0; i < stock.size(); ++i) {
        EXPECT_EQ(stockAfter[i].code, stock[i].code);
        EXPECT_EQ(stockAfter[i].onHand, stock[i].onHand) << stock[i].name.toStdString();
    }
    for (const int type : {11, 12}) {
        const auto owed = outstandingByCounterparty(type);
        ASSERT_EQ(owed.size(), expected[type].size()) << type;
        for (const auto &[counterparty, amount] : expected[type])
            EXPECT_NEAR(owed.at(counterparty), amount, 1e-6) << type << ' ' << counterparty;
    }
}

TEST_F(LevaShop, InvoicesAndNotificationsAreLeftExactlyAsTheyWere)
{
    const auto invoices = rows("select * from INVOICES order by ID");
    const auto details = rows("select * from INVOICE_DETAILS order by DETAIL_ID");
    ASSERT_EQ(invoices.size(), 3u);
    ASSERT_EQ(details.size(), 9u);
    convert();
    EXPECT_EQ(rows("select * from INVOICES order by ID"), invoices);
    EXPECT_EQ(rows("select * from INVOICE_DETAILS order by DETAIL_ID"), details);
}

TEST_F(LevaShop, TheSummaryCountsWhatChangesAndChangesNothing)
{
    const auto documents = rows("select TRANZ_ID, TRANZ_SUM, TRANZ_PLATENO from TRANZ order by TRANZ_ID");
    const data::EuroChangeoverSummary planned = data::planEuroChangeover(dm->database(), data::euroDay());
    EXPECT_EQ(rows("select TRANZ_ID, TRANZ_SUM, TRANZ_PLATENO from TRANZ order by TRANZ_ID"), documents);
    EXPECT_FALSE(data::euroChangeover(*dm).has_value());
    EXPECT_EQ(planned.leva.goods, 30); // the one without a price is left out
    EXPECT_EQ(planned.euro.goods, 30);
    EXPECT_EQ(planned.leva.documents, planned.euro.documents);
    EXPECT_NEAR(planned.euro.sums, planned.leva.sums / kRate, 0.01 * planned.leva.documents);
    EXPECT_NEAR(planned.euro.outstanding(), planned.leva.outstanding() / kRate, 0.01 * planned.leva.documents);
    const QString text = data::euroChangeoverSummaryText(planned);
    EXPECT_TRUE(text.contains(QStringLiteral("документи преди 01.01.2026"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("%1 документа").arg(planned.leva.documents)));

    const data::EuroChangeoverSummary made = convert();
    EXPECT_EQ(made.euro.documents, planned.euro.documents);
    EXPECT_DOUBLE_EQ(made.euro.sums, planned.euro.sums);
    EXPECT_DOUBLE_EQ(made.euro.paid, planned.euro.paid);
}

TEST_F(LevaShop, ASecondChangeoverIsRefusedAndSaysWhenTheFirstWasMade)
{
    convert();
    const auto documents = rows("select TRANZ_ID, TRANZ_SUM, TRANZ_PLATENO from TRANZ order by TRANZ_ID");
    const auto record = data::euroChangeover(*dm);
    ASSERT_TRUE(record.has_value());
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            if (attempt == 0)
                convert();
            else
                data::planEuroChangeover(dm->database(), data::euroDay());
            ADD_FAILURE() << "a database in euro was converted again";
        } catch (const varnex::Error &error) {
            EXPECT_EQ(error.message(), data::alreadyInEuroText(*record));
            EXPECT_TRUE(error.message().contains(record->moment.toString(QStringLiteral("dd.MM.yyyy HH:mm"))));
        }
    }
    EXPECT_EQ(rows("select TRANZ_ID, TRANZ_SUM, TRANZ_PLATENO from TRANZ order by TRANZ_ID"), documents);
}

TEST_F(LevaShop, ALaterDayConvertsTheDocumentsBeforeIt)
{
    const double march = dm->QueryValue(QStringLiteral("select TRANZ_SUM from TRANZ where TRANZ_ID = 230")).toDouble();
    const QDateTime time = dm->QueryValue(QStringLiteral("select TRANZ_TIME from TRANZ where TRANZ_ID = 230")).toDateTime();
    ASSERT_GE(time.date(), QDate(2026, 1, 1));
    data::convertToEuro(dm->database(), time.date().addDays(1));
    EXPECT_DOUBLE_EQ(dm->QueryValue(QStringLiteral("select TRANZ_SUM from TRANZ where TRANZ_ID = 230")).toDouble(),
                     expectedEuro(march, 2));
    EXPECT_EQ(data::euroChangeover(*dm)->day, time.date().addDays(1));
}

// The child runs with a lock folder of its own, and every look afterwards
// with another: a process killed while holding the engine's locks leaves
// them held for whoever shares its folder.
QByteArray runChild(const QString &mode, const QString &database, int killAfterMs = -1)
{
    TempDir locks;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), locks.path(QString()));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(VARNEX_BIN_DIR "/euro-changeover-child"), {mode, database});
    if (!child.waitForStarted(30000))
        return "not started";
    if (killAfterMs >= 0) {
        child.waitForFinished(killAfterMs);
        child.kill();
    }
    child.waitForFinished(120000);
    return child.readAllStandardOutput().trimmed() + child.readAllStandardError().trimmed();
}

TEST_F(LevaShop, AChangeoverKilledAtAnyMomentLeavesTheDatabaseWhollyInLevaOrWhollyInEuro)
{
    // Enough lines for the conversion to take a while.
    db::Statement line(dm->database(), dm->mainTransaction());
    line.prepare(QStringLiteral("insert into TRANZ_RED (TRANZ_RED_ID, TRANZ_RED_TRANZ_ID, TRANZ_RED_TYPE_ID, "
                                "TRANZ_RED_NOM_ID, TRANZ_RED_KOL1, TRANZ_RED_CENA) values (:ID, :DOC, 1, 1, 2, :PRICE)"));
    for (int id = 10000; id < 40000; ++id) {
        line.setParameter(QStringLiteral("ID"), id);
        line.setParameter(QStringLiteral("DOC"), 1 + id % 140);
        line.setParameter(QStringLiteral("PRICE"), 1 + id % 997 / 100.0);
        line.execute();
    }
    dm->CommitRetaining();
    dm.reset();

    TempDir dir;
    const QString leva = dir.path(QStringLiteral("leva.fdb"));
    ASSERT_TRUE(QFile::copy(database.path(), leva));
    const QByteArray levaDigest = runChild(QStringLiteral("digest"), leva);
    ASSERT_TRUE(levaDigest.startsWith("leva ")) << levaDigest.toStdString();

    const QString reference = dir.path(QStringLiteral("reference.fdb"));
    ASSERT_TRUE(QFile::copy(leva, reference));
    QElapsedTimer whole;
    whole.start();
    ASSERT_EQ(runChild(QStringLiteral("convert"), reference), QByteArray("converted"));
    const int wholeMs = int(whole.elapsed());
    const QByteArray euroDigest = runChild(QStringLiteral("digest"), reference);
    ASSERT_TRUE(euroDigest.startsWith("euro 2026-01-01 ")) << euroDigest.toStdString();

    std::mt19937 random(17);
    std::uniform_int_distribution<int> moment(0, wholeMs);
    int stayedInLeva = 0;
    QString work;
    for (int run = 0; run < 8; ++run) {
        work = dir.path(QStringLiteral("work%1.fdb").arg(run));
        ASSERT_TRUE(QFile::copy(leva, work));
        runChild(QStringLiteral("convert"), work, moment(random));
        const QByteArray state = runChild(QStringLiteral("digest"), work);
        ASSERT_TRUE(state == levaDigest || state == euroDigest) << run << ": " << state.toStdString();
        if (state == levaDigest)
            ++stayedInLeva;
    }
    // A database left in leva converts as one never touched.
    if (stayedInLeva > 0) {
        for (int run = 0; run < 8; ++run) {
            work = dir.path(QStringLiteral("work%1.fdb").arg(run));
            if (runChild(QStringLiteral("digest"), work) == levaDigest) {
                ASSERT_EQ(runChild(QStringLiteral("convert"), work), QByteArray("converted"));
                EXPECT_EQ(runChild(QStringLiteral("digest"), work), euroDigest);
                break;
            }
        }
    }
}

TEST(NewDatabase, IsMadeInEuroWithNothingToConvert)
{
    FreshDatabase database;
    std::unique_ptr<Tdm> dm = database.connect();
    const auto record = data::euroChangeover(*dm);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->day, QDate(2026, 1, 1));
    EXPECT_EQ(invoicing::DocumentCurrency::ofDatabase(*dm).sign(), QStringLiteral("EUR"));
    EXPECT_EQ(dm->GetConfigByName(QStringLiteral("EURO_CHANGEOVER")), data::euroChangeoverValue(*record));
    EXPECT_THROW(data::convertToEuro(dm->database(), data::euroDay()), varnex::Error);
}

TEST(NewDatabase, AnEmptyDatabaseOfAnOlderStructureIsPutInEuroByTheUpgrade)
{
    FreshDatabase database(20114);
    std::unique_ptr<Tdm> dm = database.connect();
    EXPECT_THROW(data::planEuroChangeover(dm->database(), data::euroDay()), varnex::Error); // not yet upgraded
    ASSERT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
    EXPECT_TRUE(data::euroChangeover(*dm).has_value());
}

} // namespace
