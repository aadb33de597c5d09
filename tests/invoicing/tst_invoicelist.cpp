#include "db/Dataset.h"
#include "documents/DocumentEditors.h"
#include "documents/DocumentPrint.h"
#include "documents/TfrmProdajbi.h"
#include "invoicing/InvoiceRows.h"
#include "invoicing/TfrmInvoice.h"
#include "invoicing/TfrmInvoices.h"
#include "mainwindow/TfrmMain.h"
#include "support/GuiTest.h"
#include "support/StockData.h"
#include "ui/DataGrid.h"
#include "ui/DateField.h"
#include "ui/GridPrint.h"
#include "ui/TDictionary.h"
#include "ui/TNotifyPopup.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <deque>

using namespace testing_support;

namespace {

const QDate kToday(2026, 12, 9);

class InvoiceList : public GuiDatabaseTest
{
protected:
    InvoiceList() { dm->SetConfigByName(QStringLiteral("BG_VAT"), QStringLiteral("20")); }

    void addDocument(int id, int number, const QDate &issued, int status, const QString &client = QStringLiteral("Тракия ООД"))
    {
        QVariantHash row = invoiceColumns(id, number, issued);
        row.insert(QStringLiteral("IS_WAITING"), status);
        row.insert(QStringLiteral("COMPANY"), client);
        addInvoice(*dm, row);
    }

    std::unique_ptr<TfrmInvoices> makeList()
    {
        auto list = std::make_unique<TfrmInvoices>();
        list->today = [] { return kToday; };
        return list;
    }

    // The numbers shown, in the list's order.
    static QString numbers(const TfrmInvoices &list)
    {
        QStringList shown;
        db::Dataset &rows = list.qMain();
        for (int row = 0; row < rows.recordCount(); ++row)
            shown << rows.displayText(row, rows.fieldIndex(QStringLiteral("NUMBER")));
        return shown.join(QLatin1Char(','));
    }

    static QString lastNotice(const TfrmInvoices &list)
    {
        const auto popups = list.findChildren<TNotifyPopup *>();
        return popups.isEmpty() ? QString() : popups.back()->text();
    }
};

TEST_F(InvoiceList, StatusTabsAndPeriodsFilterAndTitleTheList)
{
    addDocument(1, 1, QDate(2026, 12, 1), 0);
    addDocument(2, 2, QDate(2026, 12, 8), 1);
    addDocument(3, 3, QDate(2026, 11, 30), 2);
    addDocument(4, 4, QDate(2026, 12, 9), 1);
    auto list = makeList();
    QAbstractItemModelTester tester(list->Grid()->model());
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Фактури"));
    EXPECT_EQ(numbers(*list), QStringLiteral("0000000001,0000000002,0000000003,0000000004"));
    EXPECT_EQ(list->statusLine()->text(), QStringLiteral(" Запис № 1 от общо 4"));

    list->statusTabs()->setCurrentIndex(2);
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Фактури [Чакащи]"));
    EXPECT_EQ(numbers(*list), QStringLiteral("0000000002,0000000004"));

    // The dates of the title are written as the system writes dates.
    const QLocale system;
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    list->btnYesterday()->click();
    QLocale::setDefault(system);
    EXPECT_EQ(numbers(*list), QStringLiteral("0000000002"));
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Фактури [Чакащи  от дата 08.12.2026 до дата 08.12.2026]"));

    list->statusTabs()->setCurrentIndex(0);
    list->btnThisMonth()->click();
    EXPECT_EQ(numbers(*list), QStringLiteral("0000000001,0000000002,0000000004"));
    list->btnThisWeek()->click();
    EXPECT_EQ(list->edtFrom()->date(), QDate(2026, 12, 7));
    EXPECT_EQ(list->edtTo()->date(), QDate(2026, 12, 13));

    // Removing the filter empties the filter bar; the status tab still counts.
    list->statusTabs()->setCurrentIndex(3);
    list->actnRemoveFilter->trigger();
    EXPECT_TRUE(list->edtFrom()->isBlank());
    EXPECT_EQ(list->statusTabs()->currentIndex(), 3);
    EXPECT_EQ(numbers(*list), QStringLiteral("0000000003"));
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Фактури [Анулирани]"));
}

TEST_F(InvoiceList, TodayWithoutDocumentsSaysSoAndABadDateIsRefused)
{
    addDocument(1, 1, QDate(2026, 12, 1), 0);
    auto list = makeList();
    list->btnToday()->click();
    EXPECT_TRUE(list->qMain().isEmpty());
    EXPECT_EQ(list->statusLine()->text(), QStringLiteral(" Няма намерени записи."));
    EXPECT_FALSE(list->actnEdit->isEnabled());

    list->edtFrom()->setText(QStringLiteral("31.02.2026"));
    list->actnRefresh->trigger();
    ASSERT_FALSE(dialogs.errors.empty());
    EXPECT_EQ(dialogs.errors.back(), QStringLiteral("Невалидна дата!"));
}

TEST_F(InvoiceList, TheClientAndIdentifierFiltersOfferTheValuesOfTheDocuments)
{
    addDocument(1, 1, QDate(2026, 12, 1), 0, QStringLiteral("О'Нийл ЕООД"));
    addDocument(2, 2, QDate(2026, 12, 2), 0, QStringLiteral("Тракия ООД"));
    addDocument(3, 3, QDate(2026, 12, 3), 0, QStringLiteral("О'Нийл ЕООД"));
    auto list = makeList();
    QComboBox *clients = list->cbClient();
    ASSERT_EQ(clients->count(), 3) << "none chosen, then each client once";
    EXPECT_EQ(clients->itemText(1), QStringLiteral("О'Нийл ЕООД"));
    clients->setCurrentIndex(1);
    Q_EMIT clients->activated(1);
    EXPECT_EQ(numbers(*list), QStringLiteral("0000000001,0000000003"));
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Фактури [за клиент О'Нийл ЕООД]"));
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front().toStdString();

    ASSERT_EQ(list->cbIdNumber()->count(), 2);
    list->cbIdNumber()->setCurrentIndex(1);
    Q_EMIT list->cbIdNumber()->activated(1);
    EXPECT_EQ(numbers(*list), QStringLiteral("0000000001,0000000003"));
    EXPECT_TRUE(list->windowTitle().endsWith(QStringLiteral(" с ИН/ЕГН 115000111]")));
}

TEST_F(InvoiceList, SearchFindsNumbersAsNumbersAndNextStopsAtTheEnd)
{
    for (int number : {7, 42, 142, 420})
        addDocument(number, number, QDate(2026, 12, 1), 0);
    auto list = makeList();
    list->actnShowSearch->setChecked(true);
    EXPECT_FALSE(list->searchBar()->isHidden());
    EXPECT_TRUE(list->Settings().ReadBool(QStringLiteral("ShowQuickSearch"), false));

    list->edtSearchValue()->setText(QStringLiteral("42"));
    list->actnFind->trigger();
    EXPECT_EQ(lastNotice(*list), QStringLiteral("МОЛЯ, задайте критерий за търсене!"));

    list->cbSearchField()->setCurrentIndex(0);
    list->actnFind->trigger();
    EXPECT_EQ(list->qMain().value(QStringLiteral("NUMBER")).toInt(), 42);
    EXPECT_TRUE(list->actnFindNext->isEnabled());
    list->actnFindNext->trigger();
    EXPECT_EQ(list->qMain().value(QStringLiteral("NUMBER")).toInt(), 142);
    list->actnFindNext->trigger();
    EXPECT_EQ(list->qMain().value(QStringLiteral("NUMBER")).toInt(), 420);
    EXPECT_FALSE(list->actnFindNext->isEnabled()) << "the list is at its end";

    list->edtSearchValue()->setText(QStringLiteral("0042"));
    EXPECT_FALSE(list->actnFindNext->isEnabled());
    list->actnFind->trigger();
    EXPECT_EQ(lastNotice(*list), QStringLiteral("Търсеният номер не е намерен!"));
    EXPECT_EQ(list->qMain().value(QStringLiteral("NUMBER")).toInt(), 420) << "the current row stays";

    list->cbSearchField()->setCurrentIndex(1);
    list->edtSearchValue()->setText(QStringLiteral("тракия"));
    list->actnFind->trigger();
    EXPECT_EQ(list->qMain().recNo(), 0);
    list->qMain().last();
    list->edtSearchValue()->setText(QStringLiteral("Пирин"));
    list->actnFind->trigger();
    EXPECT_EQ(lastNotice(*list), QStringLiteral("Няма такъв клиент в показаните записи!"));
}

TEST_F(InvoiceList, OnlyTheLastWaitingDocumentIsDeletedAndAnIssuedOneIsCancelledInstead)
{
    addDocument(1, 1, QDate(2026, 12, 1), 0);
    addDocument(2, 2, QDate(2026, 12, 1), 0);
    addDocument(3, 3, QDate(2026, 12, 1), 2);
    QVariantHash notification = invoiceColumns(4, 4, QDate(2026, 12, 2));
    notification.insert(QStringLiteral("NOTIFICATION"), 1);
    notification.insert(QStringLiteral("INVOICE_NUMBER"), QStringLiteral("0000000002"));
    addInvoice(*dm, notification);
    addDocument(5, 5, QDate(2026, 12, 3), 1);
    addDocument(6, 6, QDate(2026, 12, 3), 1);
    for (int id = 1; id <= 6; ++id)
        addInvoiceLine(*dm, id, id, 1, QStringLiteral("Стока"), QStringLiteral("бр."), 1, 2);
    auto list = makeList();
    const auto status = [&](int id) {
        return dm->QueryValue(QStringLiteral("select IS_WAITING from INVOICES where ID = %1").arg(id)).toInt();
    };
    const auto deleteNumber = [&](int number, std::deque<int> answers) {
        EXPECT_TRUE(list->qMain().locate({QStringLiteral("NUMBER")}, {number})) << number;
        dialogs.answers = std::move(answers);
        const size_t asked = dialogs.shown.size(), told = dialogs.errors.size();
        list->actnDelete->trigger();
        return dialogs.errors.size() > told ? dialogs.errors.back()
               : dialogs.shown.size() > asked ? dialogs.shown.back().text
                                              : QString();
    };

    // Refused outright: a waiting one with a later number, a cancelled one,
    // an issued one a notification that stands corrects.
    EXPECT_TRUE(deleteNumber(5, {}).contains(QStringLiteral("след него има документ № 0000000006")));
    EXPECT_TRUE(deleteNumber(3, {}).contains(QStringLiteral("е анулирана")));
    EXPECT_TRUE(deleteNumber(2, {}).contains(QStringLiteral("има известие № 0000000004")));
    EXPECT_EQ(list->qMain().recordCount(), 6);

    // The last waiting one is deleted on confirmation, its lines first.
    EXPECT_EQ(deleteNumber(6, {mrNo}), QStringLiteral("Моля, потвърдете изтриване!"));
    EXPECT_EQ(list->qMain().recordCount(), 6);
    deleteNumber(6, {mrYes});
    EXPECT_EQ(numbers(*list), QStringLiteral("0000000001,0000000002,0000000003,0000000004,0000000005"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from INVOICE_DETAILS where INVOICE_ID = 6")).toInt(), 0);

    // An issued one is offered for cancelling; it keeps its number and lines.
    EXPECT_TRUE(deleteNumber(1, {mrNo}).endsWith(QStringLiteral("Да се анулира ли сега?")));
    EXPECT_EQ(status(1), 0);
    deleteNumber(1, {mrYes});
    EXPECT_EQ(status(1), 2);
    EXPECT_EQ(list->qMain().recordCount(), 5);
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from INVOICE_DETAILS where INVOICE_ID = 1")).toInt(), 1);
}

TEST_F(InvoiceList, TheListPrintsAsShown)
{
    addDocument(1, 1, QDate(2026, 12, 1), 0);
    QVariantHash credit = invoiceColumns(2, 2, QDate(2026, 12, 2));
    credit.insert(QStringLiteral("NOTIFICATION"), 1);
    credit.insert(QStringLiteral("NOTIF_TYPE"), 0);
    addInvoice(*dm, credit);
    auto list = makeList();
    const GridPrintContent content = gridPrintContent(*list->Grid(), list->windowTitle());
    EXPECT_EQ(content.title, QStringLiteral("Фактури"));
    ASSERT_EQ(content.rows.size(), 2u);
    EXPECT_EQ(content.rows[0].front(), QStringLiteral("0000000001"));
    EXPECT_EQ(content.rows[1].back(), QStringLiteral("Кредитно"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select NOTIF_TYPE from INVOICES where ID = 1")).toInt(), 0);
    EXPECT_EQ(content.rows[0].back(), QString()) << "an invoice is no credit notification for its default type";
    EXPECT_TRUE(list->actnPrint->isEnabled());
}

TEST_F(InvoiceList, TheMainWindowOpensOneListAndNewStartsTheEditorOnce)
{
    TfrmMain main(*dm);
    main.show();
    int editors = 0;
    const auto closeEditor = [&] {
        QTimer::singleShot(0, [&] {
            for (QWidget *window : QApplication::topLevelWidgets()) {
                if (auto *editor = qobject_cast<TfrmInvoice *>(window); editor && editor->isVisible()) {
                    ++editors;
                    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Фактура [добавяне]"));
                    dialogs.answers = {mrYes};
                    editor->reject();
                }
            }
        });
    };
    // Should anything go wrong, no window is left waiting for a person.
    QTimer::singleShot(5000, [] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *editor = qobject_cast<TfrmInvoice *>(window))
                editor->done(QDialog::Rejected);
        }
    });

    closeEditor();
    main.actnNewInvoice->trigger();
    EXPECT_EQ(editors, 1);
    TfrmInvoices *list = TfrmInvoices::instance();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_FALSE(list->isModal());
    EXPECT_EQ(ParamBoard().count(), 0) << "the show command was taken";
    EXPECT_TRUE(list->qMain().isEmpty()) << "the cancelled document left no row";

    main.actnInvoices->trigger();
    EXPECT_EQ(TfrmInvoices::instance(), list) << "the same window is shown again";
    EXPECT_EQ(editors, 1);

    list->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TfrmInvoices::instance(), nullptr);
}

TEST_F(InvoiceList, ASaleStartsANewInvoiceWithItsBuyerAndGoods)
{
    addCounterparty(*dm, 50, 50, QStringLiteral("Тракия Маркет ООД"), 0, QStringLiteral("Асеновград"),
                    QStringLiteral("ул. Шипка 5"));
    TfrmMain main(*dm);
    main.show();
    QVariant client;
    QStringList lines;
    QTimer::singleShot(0, [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *editor = qobject_cast<TfrmInvoice *>(window); editor && editor->isVisible()) {
                client = editor->invoice().value(QStringLiteral("CLIENT_ID"));
                db::Dataset &rows = editor->qLines();
                for (rows.first(); !rows.eof(); rows.next())
                    lines << rows.displayText(QStringLiteral("DETAIL_TEXT"));
                dialogs.answers = {mrYes};
                editor->reject();
            }
        }
    });
    QTimer::singleShot(5000, [] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *editor = qobject_cast<TfrmInvoice *>(window))
                editor->done(QDialog::Rejected);
        }
    });

    std::unique_ptr<TfrmStockDocument> editor = CreateDocumentEditor(documents::Sale, main);
    auto *sale = qobject_cast<TfrmProdajbi *>(editor.get());
    ASSERT_NE(sale, nullptr);
    ASSERT_TRUE(sale->invoiceFromSale) << "the main window takes the sale's invoice";
    documents::SaleInvoice invoice;
    invoice.buyerId = 50;
    invoice.buyerFound = true;
    invoice.lines = {{QStringLiteral("Брашно тип 500"), QStringLiteral("кг"), 2.5, 1.15},
                     {QStringLiteral("Захар кристална"), QStringLiteral("кг"), 1, 2.4}};
    sale->invoiceFromSale(invoice);

    EXPECT_EQ(client.toInt(), 50);
    EXPECT_EQ(lines, QStringList({QStringLiteral("Брашно тип 500"), QStringLiteral("Захар кристална")}));
    EXPECT_EQ(ParamBoard().count(), 0) << "the proposals were taken off the board";
    ASSERT_NE(TfrmInvoices::instance(), nullptr);
    TfrmInvoices::instance()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(InvoiceList, LinesLeftByAnEditorThatNeverStoredAreOfferedForRemoval)
{
    addDocument(1, 1, QDate(2026, 12, 1), 0);
    addInvoiceLine(*dm, 1, 1, 1, QStringLiteral("Стока"), QStringLiteral("бр."), 1, 2);
    addInvoiceLine(*dm, 2, 77, 1, QStringLiteral("Изоставен"), QStringLiteral("бр."), 1, 2);
    addInvoiceLine(*dm, 3, 77, 2, QStringLiteral("Изоставен"), QStringLiteral("бр."), 1, 2);
    dialogs.answers = {mrYes};
    TfrmInvoices *list = TfrmInvoices::Open(nullptr);
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.front().text,
              QStringLiteral("Намерени са 2 реда на фактури, които не са записани.\r\nЖелаете ли да бъдат изтрити?"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from INVOICE_DETAILS")).toInt(), 1);
    list->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(InvoiceListColours, AStatusRowStaysReadableWhenSelected)
{
    // WCAG's contrast of two colours: 4.5 is what normal text needs.
    const auto contrast = [](const QColor &a, const QColor &b) {
        const auto luminance = [](const QColor &c) {
            const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
        };
        const double la = luminance(a), lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    };
    QPalette base;
    base.setColor(QPalette::Base, Qt::white);
    base.setColor(QPalette::Highlight, QColor(48, 140, 198));
    for (const int status : {1, 2}) {
        const QPalette row = TfrmInvoices::statusPalette(base, status);
        EXPECT_GE(contrast(row.color(QPalette::HighlightedText), row.color(QPalette::Highlight)), 4.5) << status;
        EXPECT_GE(contrast(row.color(QPalette::Text), row.color(QPalette::Base)), 4.5) << status;
        EXPECT_NE(row.color(QPalette::Text), base.color(QPalette::Text)) << status;
    }
}
