#include "invoicing/TfrmClientData.h"
#include "mainwindow/TfrmMain.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class ClientData : public GuiDatabaseTest
{
protected:
    ClientData()
    {
        settings.WriteString(QStringLiteral("clientinfo\\company"), QStringLiteral("Родопа ЕООД"));
        settings.WriteString(QStringLiteral("clientinfo\\city"), QStringLiteral("Смолян"));
        settings.WriteString(QStringLiteral("clientinfo\\address"), QStringLiteral("бул. България 12"));
        settings.WriteString(QStringLiteral("clientinfo\\site"), QStringLiteral("Склад Смолян"));
        settings.WriteString(QStringLiteral("clientinfo\\vat_num"), QStringLiteral("1234567890"));
        settings.WriteString(QStringLiteral("clientinfo\\bulstat"), QStringLiteral("120000999"));
    }

    QString config(const char *name) { return dm->GetConfigByName(QString::fromLatin1(name)); }
    QString lastMessage() const { return dialogs.shown.empty() ? QString() : dialogs.shown.back().text; }
};

TEST_F(ClientData, ShowsTheCompanyReadOnlyAndTitlesItselfAfterItsPage)
{
    TfrmClientData window(*dm, settings);
    window.showPage(TfrmClientData::UserInfoPage);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Информация за потребител"));
    EXPECT_EQ(window.pages()->tabText(0), QStringLiteral("Информация за потребител"));
    EXPECT_EQ(window.pages()->tabText(1), QStringLiteral("Настройки"));
    const std::pair<QLineEdit *, const char *> boxes[] = {
        {window.edtCompany(), "Родопа ЕООД"}, {window.edtCity(), "Смолян"},           {window.edtAddress(), "бул. България 12"},
        {window.edtSite(), "Склад Смолян"},   {window.edtVatNumber(), "1234567890"}, {window.edtBulstat(), "120000999"},
    };
    for (const auto &[box, text] : boxes) {
        EXPECT_EQ(box->text(), QString::fromUtf8(text));
        EXPECT_TRUE(box->isReadOnly());
    }
    window.pages()->setCurrentIndex(TfrmClientData::OptionsPage);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Настройки"));
    window.pages()->setCurrentIndex(TfrmClientData::UserInfoPage);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Информация за потребител"));

    TfrmClientData options(*dm, settings);
    options.showPage(TfrmClientData::OptionsPage);
    EXPECT_EQ(options.windowTitle(), QStringLiteral("Настройки"));
    EXPECT_EQ(options.pages()->currentIndex(), int(TfrmClientData::OptionsPage));
    EXPECT_EQ(options.cbDocSize()->itemText(1), QStringLiteral("Половинка"));
    EXPECT_EQ(options.cbCopies()->itemText(1), QStringLiteral("2 копия"));
}

TEST_F(ClientData, WithoutAFormSizeOkInsistsOnAChoiceOnTheOptionsPage)
{
    TfrmClientData window(*dm, settings);
    window.showPage(TfrmClientData::UserInfoPage);
    window.show();
    EXPECT_EQ(window.cbDocSize()->currentIndex(), -1);
    window.btnOK()->click();
    EXPECT_EQ(lastMessage(), QStringLiteral("Моля, изберете тип бланка!"));
    EXPECT_EQ(dialogs.shown.back().type, TMsgDlgType::mtError);
    EXPECT_EQ(window.pages()->currentIndex(), int(TfrmClientData::OptionsPage));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Настойки и опции"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(config("DOCSIZE"), QString());

    window.cbDocSize()->setCurrentIndex(1);
    window.btnOK()->click();
    EXPECT_EQ(lastMessage(), QStringLiteral("Моля, изберете брой копия за фактури!"));
    EXPECT_EQ(config("DOCSIZE"), QStringLiteral("1")); // written before the next check
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Настойки и опции")); // no switch, no new title
}

TEST_F(ClientData, AnEmptyRateKeepsTheDialogOpenWithTheOptionsWritten)
{
    TfrmClientData window(*dm, settings);
    window.showPage(TfrmClientData::OptionsPage);
    window.show();
    window.cbDocSize()->setCurrentIndex(0);
    window.cbCopies()->setCurrentIndex(1);
    window.edtVat()->setText(QStringLiteral("  "));
    window.btnOK()->click();
    EXPECT_EQ(lastMessage(), QStringLiteral("Полето \"ДДС ставка\" трябва да бъде попълнено !"));
    EXPECT_EQ(config("DOCSIZE"), QStringLiteral("0"));
    EXPECT_EQ(config("INVOICECOPIES"), QStringLiteral("1"));
    EXPECT_EQ(config("BG_VAT"), QString());
    EXPECT_TRUE(window.isVisible());

    // A rate that is no whole number would print invoices without VAT.
    window.edtVat()->setText(QStringLiteral("2,"));
    window.btnOK()->click();
    EXPECT_EQ(lastMessage(), QStringLiteral("ДДС ставката трябва да бъде цяло число от 0 до 99 !"));
    EXPECT_EQ(config("BG_VAT"), QString());

    window.edtVat()->setText(QStringLiteral("20"));
    window.btnOK()->click();
    EXPECT_EQ(config("BG_VAT"), QStringLiteral("20"));
    EXPECT_EQ(window.result(), int(QDialog::Accepted));
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ClientData, StoredOptionsAreShownAndCancelWritesNothing)
{
    dm->SetConfigByName(QStringLiteral("DOCSIZE"), QStringLiteral("1"));
    dm->SetConfigByName(QStringLiteral("INVOICECOPIES"), QStringLiteral("0"));
    dm->SetConfigByName(QStringLiteral("BG_VAT"), QStringLiteral("9"));
    TfrmClientData window(*dm, settings);
    EXPECT_EQ(window.cbDocSize()->currentIndex(), 1);
    EXPECT_EQ(window.cbCopies()->currentIndex(), 0);
    EXPECT_EQ(window.edtVat()->text(), QStringLiteral("9"));
    window.show();
    window.cbDocSize()->setCurrentIndex(0);
    window.btnCancel()->click();
    EXPECT_EQ(config("DOCSIZE"), QStringLiteral("1"));

    // An index the list does not have leaves the choice open.
    dm->SetConfigByName(QStringLiteral("DOCSIZE"), QStringLiteral("7"));
    TfrmClientData other(*dm, settings);
    EXPECT_EQ(other.cbDocSize()->currentIndex(), -1);
}

TEST_F(ClientData, TheMainWindowOpensItOnEitherPage)
{
    TfrmMain main(*dm);
    main.show();
    struct Seen
    {
        QString title;
        int page = -1;
        QString company;
    };
    const auto open = [&main](QAction *action) {
        Seen seen;
        QTimer::singleShot(0, &main, [&seen] {
            if (auto *window = qobject_cast<TfrmClientData *>(QApplication::activeModalWidget())) {
                seen = {window->windowTitle(), window->pages()->currentIndex(), window->edtCompany()->text()};
                window->reject();
            }
        });
        QTimer::singleShot(5000, &main, [] {
            if (QWidget *window = QApplication::activeModalWidget())
                window->close();
        });
        action->trigger();
        return seen;
    };
    const Seen info = open(main.actnCompanyData);
    EXPECT_EQ(info.title, QStringLiteral("Информация за потребител"));
    EXPECT_EQ(info.page, int(TfrmClientData::UserInfoPage));
    EXPECT_EQ(info.company, QStringLiteral("Родопа ЕООД"));
    const Seen options = open(main.actnSettings);
    EXPECT_EQ(options.title, QStringLiteral("Настройки"));
    EXPECT_EQ(options.page, int(TfrmClientData::OptionsPage));
}

} // namespace
