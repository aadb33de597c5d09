#include "payments/Outstanding.h"
#include "payments/Settlement.h"
#include "payments/PaymentData.h"
#include "support/DatabaseTest.h"
#include "support/NetworkServer.h"
#include "support/StockData.h"
#include "support/TempDir.h"
#include "support/UncommittedChange.h"
#include "util/Error.h"
#include "db/DatabaseError.h"

#include <gtest/gtest.h>

using namespace payments;
using namespace testing_support;

namespace {

const QDate kDay(2026, 11, 2);
const QString kPaidMeanwhile = QStringLiteral("Междувременно друга работна станция е платила по документ от "
                                              "списъка. Отворете списъка отново, за да видите какво остава за плащане.");
const QString kChangedMeanwhile = QStringLiteral("Междувременно друга работна станция е променила ред от списъка. "
                                                 "Отворете списъка отново, за да видите какво остава за получаване.");

TEST(Distribution, OldestFirstTheLastInPart)
{
    const auto plan = distribute(120, {{100, 0}, {80, 30}});
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].row, 0);
    EXPECT_DOUBLE_EQ(plan[0].settled, 100);
    EXPECT_EQ(plan[1].row, 1);
    EXPECT_DOUBLE_EQ(plan[1].settled, 50);
}

TEST(Distribution, AnAmountWithinTheToleranceOfARowSettlesItWholeAndStops)
{
    const auto plan = distribute(100.00005, {{100, 0}, {50, 0}});
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_DOUBLE_EQ(plan[0].settled, 100);

    const auto all = distribute(150, {{100, 0}, {50, 0}});
    ASSERT_EQ(all.size(), 2u);
    EXPECT_DOUBLE_EQ(all[1].settled, 50);
}

TEST(Distribution, NothingOrLessWritesNothing)
{
    EXPECT_TRUE(distribute(0, {{100, 0}}).empty());
    EXPECT_TRUE(distribute(-5, {{100, 0}}).empty());
    EXPECT_TRUE(distribute(5, {}).empty());
}

TEST(Distribution, TheProposalIsTakenWhenTheBoxIsWithinTheToleranceAndTheLimitIsKept)
{
    EXPECT_DOUBLE_EQ(settledAmount(150.00005, 150), 150);
    EXPECT_DOUBLE_EQ(settledAmount(149.99995, 150), 150);
    EXPECT_DOUBLE_EQ(settledAmount(149, 150), 149);
    EXPECT_TRUE(withinLimit(150.00009, 150));
    EXPECT_FALSE(withinLimit(150.0001, 150));
    EXPECT_FALSE(withinLimit(151, 150));
}

class Settling : public DatabaseTest
{
protected:
    Settling()
    {
        addCounterparty(*dm, 5, QStringLiteral("Доставчик"));
        addGoods(*dm, 1, 101, QStringLiteral("Брашно"));
    }
    std::vector<MoneyRow> moneyRows() { return readMoneyRows(*dm, kDeliveryType, 5, allDueDates()); }
};

TEST_F(Settling, PaymentGoesToTheOlderDeliveryFirst)
{
    addOwedDocument(*dm, 2, kDeliveryType, 5, QDateTime(kDay, QTime(12, 0)), 50, 0, kDay);
    addOwedDocument(*dm, 1, kDeliveryType, 5, QDateTime(kDay, QTime(9, 0)), 100, 0, kDay);
    const auto rows = moneyRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].documentId, 1);
    EXPECT_EQ(settleMoney(*dm, rows, 120), 2);
    EXPECT_DOUBLE_EQ(paidOn(*dm, 1), 100);
    EXPECT_DOUBLE_EQ(paidOn(*dm, 2), 20);

    EXPECT_EQ(settleMoney(*dm, moneyRows(), 30), 1);
    EXPECT_DOUBLE_EQ(paidOn(*dm, 2), 50);
    EXPECT_TRUE(moneyRows().empty());
    EXPECT_EQ(settleMoney(*dm, moneyRows(), 0), 0);
}

TEST_F(Settling, ADocumentPaidElsewhereMeanwhileStopsThePaymentKeepingWhatWasWritten)
{
    addOwedDocument(*dm, 1, kDeliveryType, 5, QDateTime(kDay, QTime(9, 0)), 100, 0, kDay);
    addOwedDocument(*dm, 2, kDeliveryType, 5, QDateTime(kDay, QTime(10, 0)), 50, 0, kDay);
    addOwedDocument(*dm, 3, kDeliveryType, 5, QDateTime(kDay, QTime(11, 0)), 30, 0, kDay);
    const auto rows = moneyRows();
    dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_PLATENO = 40 where TRANZ_ID = 2"));
    try {
        settleMoney(*dm, rows, 180);
        FAIL() << "a changed document was written over";
    } catch (const varnex::Error &error) {
        EXPECT_EQ(error.message(),
                  kPaidMeanwhile + QStringLiteral("\nУредени преди това: 1 от 3 документа."));
    }
    EXPECT_DOUBLE_EQ(paidOn(*dm, 1), 100);
    EXPECT_DOUBLE_EQ(paidOn(*dm, 2), 40);
    EXPECT_DOUBLE_EQ(paidOn(*dm, 3), 0);
}

TEST_F(Settling, GoodsAreHandedOverFromTheOlderLineAndOnlyTheGoodsLinesOfTheDocumentType)
{
    addOwedDocument(*dm, 1, kSaleType, 5, QDateTime(kDay, QTime(9, 0)), 0, 0, kDay);
    addOwedDocument(*dm, 2, kSaleType, 5, QDateTime(kDay, QTime(10, 0)), 0, 0, kDay);
    addLine(*dm, 11, 2, 1, -1, 6, 0, 2.5);
    addLine(*dm, 10, 1, 1, -1, 4, 0, 2.5);
    addLine(*dm, 12, 1, 1, 1, 3, 0); // packaging returned on the sale
    const auto rows = readGoodsRows(*dm, kSaleType, 5, 1, allDueDates());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(settleGoods(*dm, rows, 5), 2);
    EXPECT_DOUBLE_EQ(takenOn(*dm, 10), 4);
    EXPECT_DOUBLE_EQ(takenOn(*dm, 11), 1);
    EXPECT_DOUBLE_EQ(takenOn(*dm, 12), 0);
}

TEST_F(Settling, ALineChangedElsewhereMeanwhileIsNotWrittenOver)
{
    addOwedDocument(*dm, 1, kDeliveryType, 5, QDateTime(kDay, QTime(9, 0)), 0, 0, kDay);
    addLine(*dm, 10, 1, 1, 1, 10, 0, 2.5);
    const auto rows = readGoodsRows(*dm, kDeliveryType, 5, 1, allDueDates());
    dm->ExecSQL(QStringLiteral("update TRANZ_RED set TRANZ_RED_IZNESENO = 7 where TRANZ_RED_ID = 10"));
    try {
        settleGoods(*dm, rows, 10);
        FAIL() << "a changed line was written over";
    } catch (const varnex::Error &error) {
        EXPECT_EQ(error.message(),
                  kChangedMeanwhile + QStringLiteral("\nУредени преди това: 0 от 1 реда."));
    }
    EXPECT_DOUBLE_EQ(takenOn(*dm, 10), 7);
}

// The other workstation's payment is being written this very moment: the
// user reads the same sentence, never the server's text about locks.
TEST_F(Settling, ARowHeldByAnotherWorkstationsWriteStopsWithTheSameWords)
{
    addOwedDocument(*dm, 1, kDeliveryType, 5, QDateTime(kDay, QTime(9, 0)), 100, 0, kDay);
    addOwedDocument(*dm, 2, kDeliveryType, 5, QDateTime(kDay, QTime(10, 0)), 50, 0, kDay);
    addLine(*dm, 10, 1, 1, 1, 10, 0, 2.5);
    const auto rows = moneyRows();
    const auto lines = readGoodsRows(*dm, kDeliveryType, 5, 1, allDueDates());
    UncommittedChange other(database.path(), QStringLiteral("update TRANZ set TRANZ_PLATENO = 10 where TRANZ_ID = 2"));
    UncommittedChange line(database.path(), QStringLiteral("update TRANZ_RED set TRANZ_RED_IZNESENO = 1"));
    const struct
    {
        std::function<void()> settle;
        QString message;
    } cases[] = {{[&] { settleMoney(*dm, rows, 150); }, kPaidMeanwhile + QStringLiteral("\nУредени преди това: 1 от 2 документа.")},
                 {[&] { settleGoods(*dm, lines, 10); }, kChangedMeanwhile + QStringLiteral("\nУредени преди това: 0 от 1 реда.")}};
    for (const auto &each : cases) {
        try {
            each.settle();
            ADD_FAILURE() << "a held row was written";
        } catch (const varnex::Error &error) {
            EXPECT_EQ(error.message(), each.message);
            EXPECT_EQ(dynamic_cast<const db::DatabaseError *>(&error), nullptr);
        }
    }
    EXPECT_DOUBLE_EQ(paidOn(*dm, 1), 100);
}

// Two workstations settle the same supplier on the server at once.
TEST(SettlingOnTheServer, TheSecondPaymentOfTheSameDocumentsStopsAndNothingIsPaidAboveItsSum)
{
    REQUIRE_SERVER();
    ServedDatabase database;
    RecordedMessages messages;
    const auto connect = [&] {
        auto data = std::make_unique<Tdm>(messages);
        data->setDatabase(database.name());
        data->user = ServedDatabase::user();
        data->password = ServedDatabase::password();
        data->ApplyConnectionConfig();
        EXPECT_TRUE(data->Connect());
        return data;
    };
    auto first = connect();
    auto second = connect();
    addCounterparty(*first, 5, QStringLiteral("Доставчик"));
    addOwedDocument(*first, 1, kDeliveryType, 5, QDateTime(kDay, QTime(9, 0)), 100, 0, kDay);
    addOwedDocument(*first, 2, kDeliveryType, 5, QDateTime(kDay, QTime(10, 0)), 50, 0, kDay);

    const auto firstRows = readMoneyRows(*first, kDeliveryType, 5, allDueDates());
    const auto secondRows = readMoneyRows(*second, kDeliveryType, 5, allDueDates());
    ASSERT_EQ(secondRows.size(), 2u);
    EXPECT_EQ(settleMoney(*first, firstRows, 120), 2);
    EXPECT_THROW(settleMoney(*second, secondRows, 150), varnex::Error);
    EXPECT_DOUBLE_EQ(paidOn(*second, 1), 100);
    EXPECT_DOUBLE_EQ(paidOn(*second, 2), 20);

    addGoods(*first, 1, 101, QStringLiteral("Брашно"));
    addLine(*first, 10, 1, 1, 1, 10, 0, 2.5);
    const auto firstLines = readGoodsRows(*first, kDeliveryType, 5, 1, allDueDates());
    const auto secondLines = readGoodsRows(*second, kDeliveryType, 5, 1, allDueDates());
    ASSERT_EQ(secondLines.size(), 1u);
    EXPECT_EQ(settleGoods(*first, firstLines, 8), 1);
    EXPECT_THROW(settleGoods(*second, secondLines, 10), varnex::Error);
    EXPECT_DOUBLE_EQ(takenOn(*second, 10), 8);
}

} // namespace
