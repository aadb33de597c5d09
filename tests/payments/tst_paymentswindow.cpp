#include "payments/Outstanding.h"
#include "payments/PaymentData.h"
#include "payments/TfrmPlashtaniya.h"
#include "db/Dataset.h"
#include "support/GuiTest.h"
#include "support/StockData.h"

#include <QDateEdit>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "ui/DataGrid.h"
#include "ui/GridPrint.h"

using namespace payments;
using namespace testing_support;

namespace {

class PaymentsWindow : public GuiDatabaseTest
{
protected:
    PaymentsWindow()
    {
        addCounterparty(*dm, 5, QStringLiteral("Бета"));
        addCounterparty(*dm, 6, QStringLiteral("Алфа"));
        addGoods(*dm, 1, 101, QStringLiteral("Брашно"));
        addOwedDocument(*dm, 1, kDeliveryType, 5, QDateTime(today.addDays(-5), QTime(9, 0)), 100, 0, today);
        addOwedDocument(*dm, 2, kDeliveryType, 6, QDateTime(today.addDays(-4), QTime(9, 0)), 40, 10,
                        today.addDays(-45));
        addOwedDocument(*dm, 3, kSaleType, 5, QDateTime(today.addDays(-3), QTime(9, 0)), 70, 0, today);
        addLine(*dm, 10, 3, 1, -1, 10, 6);
    }
    const QDate today = QDate::currentDate();
};

TEST_F(PaymentsWindow, FourPagesWithTheirListsAndAgeing)
{
    TfrmPlashtaniya window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Вземания - Давания"));
    ASSERT_EQ(window.pages()->count(), 4);
    EXPECT_EQ(window.pages()->tabText(3), QStringLiteral("Вземания в стоки [F4]"));
    EXPECT_TRUE(window.rbAll(0)->isChecked());
    EXPECT_EQ(window.toDate(0), allDueDates());

    db::Dataset &owed = window.list(TfrmPlashtaniya::OwedMoney);
    ASSERT_EQ(owed.recordCount(), 2);
    EXPECT_EQ(owed.value(0, owed.requireField(QStringLiteral("KONTR_NAME"))).toString(), QStringLiteral("Алфа"));
    EXPECT_DOUBLE_EQ(owed.value(0, owed.requireField(QStringLiteral("AGEING2"))).toDouble(), 30);
    EXPECT_DOUBLE_EQ(owed.value(1, owed.requireField(QStringLiteral("AGEING0"))).toDouble(), 100);
    EXPECT_EQ(window.list(TfrmPlashtaniya::DueMoney).recordCount(), 1);
    db::Dataset &goods = window.list(TfrmPlashtaniya::DueGoods);
    ASSERT_EQ(goods.recordCount(), 1);
    EXPECT_DOUBLE_EQ(goods.value(QStringLiteral("RAZLIKA")).toDouble(), 4);
    EXPECT_TRUE(window.list(TfrmPlashtaniya::OwedGoods).isEmpty());

    const GridPrintContent content = window.currentContent();
    ASSERT_EQ(content.rows.size(), 2u);
    EXPECT_EQ(content.columns.size(), 9u);
}

TEST_F(PaymentsWindow, DueByYesterdayLeavesOutWhatIsDueToday)
{
    TfrmPlashtaniya window;
    window.show();
    window.rbDueBy(0)->click();
    EXPECT_TRUE(window.edtDueBy(0)->isVisibleTo(&window));
    window.edtDueBy(0)->setDate(today.addDays(-1));
    db::Dataset &owed = window.list(TfrmPlashtaniya::OwedMoney);
    ASSERT_EQ(owed.recordCount(), 1);
    EXPECT_EQ(owed.value(QStringLiteral("TRANZ_KONT_ID")).toInt(), 6);
    window.rbAll(0)->click();
    EXPECT_FALSE(window.edtDueBy(0)->isVisibleTo(&window));
    EXPECT_EQ(owed.recordCount(), 2);
}

TEST_F(PaymentsWindow, FunctionKeysSwitchPagesOneAboveTheirCaption)
{
    TfrmPlashtaniya window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QTest::keyClick(window.grid(0), Qt::Key_F5);
    EXPECT_EQ(window.pages()->currentIndex(), 3);
    QTest::keyClick(window.grid(3), Qt::Key_F1);
    EXPECT_EQ(window.pages()->currentIndex(), 3);
    QTest::keyClick(window.grid(3), Qt::Key_F3);
    EXPECT_EQ(window.pages()->currentIndex(), 1);
}

TEST_F(PaymentsWindow, ARowOpensTheSettlingAndTheListIsReadAgainOnTheSameCounterparty)
{
    TfrmPlashtaniya window;
    window.show();
    std::vector<std::tuple<int, int, int, double>> calls;
    window.runSettle = [&](int type, int counterparty, int goods, double outstanding, const QDate &) {
        calls.emplace_back(type, counterparty, goods, outstanding);
        dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_PLATENO = 60 where TRANZ_ID = 1"));
    };
    db::Dataset &owed = window.list(TfrmPlashtaniya::OwedMoney);
    owed.moveTo(1);
    QTest::keyClick(window.grid(0), Qt::Key_Return);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], std::make_tuple(kDeliveryType, 5, -1, 0.0));
    EXPECT_EQ(owed.value(QStringLiteral("TRANZ_KONT_ID")).toInt(), 5);
    EXPECT_DOUBLE_EQ(owed.value(QStringLiteral("RAZLIKA")).toDouble(), 40);

    window.pages()->setCurrentIndex(TfrmPlashtaniya::DueGoods);
    Q_EMIT window.grid(3)->doubleClicked(window.grid(3)->model()->index(0, 0));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], std::make_tuple(kSaleType, 5, 1, 4.0));

    window.pages()->setCurrentIndex(TfrmPlashtaniya::OwedGoods);
    QTest::keyClick(window.grid(2), Qt::Key_Return);
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(PaymentsWindow, ThePageIsExportedAsCsv)
{
    TfrmPlashtaniya window;
    const QString path = dir.path(QStringLiteral("owed.csv"));
    window.askCsvPath = [&] { return path; };
    window.btnCsv()->click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Доставчик;Сума;Платено;За плащане;"))) << text.left(80).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nБета;100.00;0.00;100.00;100.00;")));

    GridPrintContent odd;
    odd.columns = {{QStringLiteral("A"), QStringLiteral("Име"), 10, true}};
    odd.rows = {{QStringLiteral("\"Бор\"; ООД")}};
    EXPECT_EQ(csvText(odd), QStringLiteral("Име\r\n\"\"\"Бор\"\"; ООД\"\r\n"));
}

} // namespace
