#include "payments/Outstanding.h"
#include "payments/PaymentData.h"
#include "payments/TfrmDoplashtane.h"
#include "db/Dataset.h"
#include "support/GuiTest.h"
#include "support/StockData.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

#include <functional>

using namespace payments;
using namespace testing_support;

namespace {

const QDate kDay(2026, 11, 2);

class SettleDialog : public GuiDatabaseTest
{
protected:
    SettleDialog()
    {
        addCounterparty(*dm, 5, QStringLiteral("Доставчик"));
        addGoods(*dm, 1, 101, QStringLiteral("Брашно"));
        addOwedDocument(*dm, 1, kDeliveryType, 5, QDateTime(kDay, QTime(9, 0)), 100, 0, kDay);
        addOwedDocument(*dm, 2, kDeliveryType, 5, QDateTime(kDay, QTime(10, 0)), 50, 0, kDay);
    }

    // Runs `whileShown` once the dialog is up; the dialog never outlives it.
    bool money(const std::function<void(TfrmDoplashtane &)> &whileShown)
    {
        TfrmDoplashtane dialog;
        QTimer::singleShot(0, &dialog, [&] { whileShown(dialog); });
        QTimer::singleShot(5000, &dialog, [&] { dialog.done(QDialog::Rejected); });
        return dialog.settleMoney(kDeliveryType, 5, allDueDates());
    }
    static void type(TfrmDoplashtane &dialog, const QString &text)
    {
        dialog.edtAmount()->selectAll();
        dialog.edtAmount()->clear();
        typeText(dialog.edtAmount(), text);
    }
};

TEST_F(SettleDialog, ProposesAllThatIsOutstandingAndPaysTheOlderFirst)
{
    EXPECT_TRUE(money([&](TfrmDoplashtane &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Задължения"));
        EXPECT_EQ(dialog.lblQuestion()->text(), QStringLiteral("Каква сума е изплатена?"));
        EXPECT_EQ(dialog.btnOK()->text(), QStringLiteral("Запиши"));
        EXPECT_EQ(dialog.btnCancel()->text(), QStringLiteral("Отказ"));
        EXPECT_EQ(dialog.list().recordCount(), 2);
        EXPECT_DOUBLE_EQ(dialog.limit(), 150);
        type(dialog, QStringLiteral("120"));
        dialog.btnOK()->click();
    }));
    EXPECT_DOUBLE_EQ(paidOn(*dm, 1), 100);
    EXPECT_DOUBLE_EQ(paidOn(*dm, 2), 20);
}

TEST_F(SettleDialog, AnAmountWithinTheToleranceOfTheProposalIsTheProposal)
{
    EXPECT_TRUE(money([&](TfrmDoplashtane &dialog) {
        type(dialog, QStringLiteral("150.00005"));
        dialog.btnOK()->click();
    }));
    EXPECT_DOUBLE_EQ(paidOn(*dm, 1), 100);
    EXPECT_DOUBLE_EQ(paidOn(*dm, 2), 50);
}

TEST_F(SettleDialog, AnAmountAboveTheProposalIsRefusedAndTheBoxReset)
{
    EXPECT_FALSE(money([&](TfrmDoplashtane &dialog) {
        type(dialog, QStringLiteral("151"));
        dialog.btnOK()->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.edtAmount()->text(), QStringLiteral("150.00"));
        dialog.btnCancel()->click();
    }));
    ASSERT_EQ(dialogs.systemMessages.size(), 1u);
    EXPECT_EQ(dialogs.systemMessages[0],
              QStringLiteral("Сумата, която сте въвели надхвърля \nтази за доплащане по документа!"));
    EXPECT_DOUBLE_EQ(paidOn(*dm, 1), 0);
}

TEST_F(SettleDialog, NoughtWritesNothing)
{
    EXPECT_TRUE(money([&](TfrmDoplashtane &dialog) {
        type(dialog, QStringLiteral("0"));
        dialog.btnOK()->click();
        EXPECT_FALSE(dialog.isVisible());
    }));
    EXPECT_DOUBLE_EQ(paidOn(*dm, 1), 0);
    EXPECT_DOUBLE_EQ(paidOn(*dm, 2), 0);
}

TEST_F(SettleDialog, OnlyANumberIsTakenWithTheSystemsSeparatorOrAPoint)
{
    const struct SystemLocale
    {
        QLocale saved;
        ~SystemLocale() { QLocale::setDefault(saved); }
    } restored;
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    // What was typed and what the first document then has paid; below 0
    // the amount is refused and the dialog stays open.
    const std::pair<const char *, double> cases[] = {{"abc", -1}, {"", -1}, {"1e999", -1}, {"20,5", 20.5}, {"0.5", 21}};
    for (const auto &[typed, paid] : cases) {
        const bool refused = paid < 0;
        EXPECT_EQ(money([&](TfrmDoplashtane &dialog) {
                      type(dialog, QString::fromUtf8(typed));
                      dialog.btnOK()->click();
                      if (dialog.isVisible() && dialog.focusWidget() == dialog.edtAmount())
                          dialogs.givingUpChanges([&] { dialog.btnCancel()->click(); });
                  }),
                  !refused)
            << typed;
        if (refused)
            EXPECT_EQ(dialogs.shown.empty() ? QString() : dialogs.shown.back().text,
                      QStringLiteral("\"%1\" не е валидно число.").arg(QString::fromUtf8(typed)));
        else
            EXPECT_DOUBLE_EQ(paidOn(*dm, 1), paid) << typed;
    }
}

TEST_F(SettleDialog, GoodsHandedOverFillTheOlderLineFirst)
{
    addOwedDocument(*dm, 3, kSaleType, 5, QDateTime(kDay, QTime(9, 0)), 0, 0, kDay);
    addOwedDocument(*dm, 4, kSaleType, 5, QDateTime(kDay, QTime(11, 0)), 0, 0, kDay);
    addLine(*dm, 10, 3, 1, -1, 4, 0, 2.5);
    addLine(*dm, 11, 4, 1, -1, 6, 0, 2.5);
    TfrmDoplashtane dialog;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Задължения в Стоки"));
        EXPECT_EQ(dialog.lblQuestion()->text(), QStringLiteral("Какво количество е взето?"));
        EXPECT_EQ(dialog.list().recordCount(), 2);
        type(dialog, QStringLiteral("11"));
        dialog.btnOK()->click();
        ASSERT_EQ(dialogs.systemMessages.size(), 1u);
        EXPECT_EQ(dialogs.systemMessages[0],
                  QStringLiteral("Количеството, което сте въвели надхвърля \nзаписаното в документа!"));
        EXPECT_EQ(dialog.edtAmount()->text(), QStringLiteral("10.00"));
        type(dialog, QStringLiteral("5"));
        dialog.btnOK()->click();
    });
    QTimer::singleShot(5000, &dialog, [&] { dialog.done(QDialog::Rejected); });
    EXPECT_TRUE(dialog.settleGoods(kSaleType, 5, 1, 10, allDueDates()));
    EXPECT_DOUBLE_EQ(takenOn(*dm, 10), 4);
    EXPECT_DOUBLE_EQ(takenOn(*dm, 11), 1);
}

} // namespace
