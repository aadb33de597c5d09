#include "catalogues/CounterpartyRules.h"
#include "catalogues/TfrmKontragenti.h"
#include "db/Dataset.h"
#include "support/GuiTest.h"
#include "ui/QuickSearch.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/TDictionary.h"
#include "ui/TNotifyPopup.h"
#include "ui/TfrmBaseForm.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QString kDuplicateTaxNumber = QStringLiteral(
    "ВНИМАНИЕ В базата данни вече има такъв Данъчен №/ЕГН !\n\rМоля, проверете данните които въвеждате !");
const QString kInvalidTaxNumber = QStringLiteral("Невалиден Данъчен №/ЕГН!\n\rЖелаете ли да го промените?");

// The save checks without a window: the lookups are the test's own.
struct Checks
{
    std::vector<std::pair<Identifier, QString>> looked;
    int others = 0;
    int questions = 0;
    bool correct = false;

    QString run(const CounterpartyEntry &entry)
    {
        try {
            CheckCounterpartyEntry(
                entry,
                [this](Identifier identifier, const QString &value) {
                    looked.emplace_back(identifier, value);
                    return others;
                },
                [this] {
                    ++questions;
                    return correct;
                });
        } catch (const TaxNumberToCorrect &) {
            return QStringLiteral("correct KONTR_DN");
        } catch (const db::FieldError &error) {
            return error.field() + QLatin1Char(' ') + error.message();
        }
        return QString();
    }
};

TEST(CounterpartyRules, TheCodeProposalIsOneAboveTheGreatestInSixDigits)
{
    EXPECT_EQ(ProposedCounterpartyCode(QVariant()), QStringLiteral("000001"));
    EXPECT_EQ(ProposedCounterpartyCode(0), QStringLiteral("000001"));
    EXPECT_EQ(ProposedCounterpartyCode(41), QStringLiteral("000042"));
    EXPECT_EQ(ProposedCounterpartyCode(999999), QStringLiteral("1000000"));
}

TEST(CounterpartyRules, TheKindFilterConditionAndTitle)
{
    EXPECT_TRUE(CounterpartyKindFilter(0).condition.isEmpty());
    EXPECT_EQ(CounterpartyKindFilter(1).condition, QStringLiteral("(1=1) and (KONTR_IS_CLIENT = 0) "));
    EXPECT_EQ(CounterpartyKindFilter(1).description, QStringLiteral("Клиенти"));
    EXPECT_EQ(CounterpartyKindFilter(2).condition, QStringLiteral("(1=1) and (KONTR_IS_CLIENT = 1) "));
    EXPECT_EQ(CounterpartyKindFilter(2).description, QStringLiteral("Доставчици"));
    EXPECT_EQ(CounterpartyKindFilter(3).condition, QStringLiteral("(1=1) and (KONTR_IS_CLIENT = 2) "));
    EXPECT_EQ(CounterpartyKindFilter(3).description, QStringLiteral("Клиенти-Доставчици"));
}

TEST(CounterpartyRules, TheChecksRunInTheirOrder)
{
    Checks checks;
    EXPECT_EQ(checks.run({QVariant(), QVariant(), QString(), QString(), QString()}),
              QStringLiteral("KONTR_IS_CLIENT Моля, изберете стойност за полето \"Клиент/доставчик\""));
    EXPECT_EQ(checks.run({0, QVariant(), QString(), QString(), QString()}),
              QStringLiteral("KONTR_CODE Полето \"Код\" трябва да бъде попълнено"));
    EXPECT_EQ(checks.run({2, 7, QStringLiteral("  \t"), QString(), QString()}),
              QStringLiteral("KONTR_NAME Полето \"Название\" трябва да бъде попълнено"));
    EXPECT_EQ(checks.run({1, 7, QStringLiteral("Агро ООД"), QString(), QStringLiteral("12345678901")}),
              QStringLiteral("KONTR_BULSTAT Невалиден Булстат!"));
    EXPECT_EQ(checks.run({1, 7, QStringLiteral("Агро ООД"), QString(), QStringLiteral("831642181")}), QString());
    EXPECT_EQ(checks.questions, 0);
}

TEST(CounterpartyRules, AValidTaxOrPersonalNumberIsLookedUpAnInvalidOneQuestioned)
{
    Checks checks;
    const auto entry = [](const char *taxNumber) {
        return CounterpartyEntry{0, 3, QStringLiteral("Иван Петров"), QString::fromLatin1(taxNumber), QString()};
    };
    EXPECT_EQ(checks.run(entry("7503161231")), QString()); // a personal number
    EXPECT_EQ(checks.run(entry("1234567892")), QString()); // no personal number, a tax number
    ASSERT_EQ(checks.looked.size(), 2u);
    EXPECT_EQ(checks.looked[1].second, QStringLiteral("1234567892"));
    EXPECT_EQ(checks.questions, 0);

    checks.others = 1;
    EXPECT_EQ(checks.run(entry("1234567892")), QStringLiteral("KONTR_DN ") + kDuplicateTaxNumber);

    EXPECT_EQ(checks.run(entry("1234567890")), QString()); // kept when the user says No
    EXPECT_EQ(checks.questions, 1);
    checks.correct = true;
    EXPECT_EQ(checks.run(entry("1234567890")), QStringLiteral("correct KONTR_DN"));
    EXPECT_EQ(checks.looked.size(), 3u); // an invalid number is never looked up
}

TEST(CounterpartyRules, AValidRegistryNumberHeldByAnotherIsRefused)
{
    Checks checks;
    checks.others = 2;
    EXPECT_EQ(checks.run({0, 3, QStringLiteral("Агро ООД"), QString(), QStringLiteral("8316421810017")}),
              QStringLiteral("KONTR_BULSTAT ВНИМАНИЕ В базата данни вече има такъв Булстат !\n\r"
                             "Моля, проверете данните които въвеждате !"));
    ASSERT_EQ(checks.looked.size(), 1u);
    EXPECT_EQ(checks.looked[0].first, Identifier::Bulstat);
}

class Counterparties : public GuiDatabaseTest
{
protected:
    void open()
    {
        window = std::make_unique<TfrmKontragenti>();
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    bool select(int id) { return window->qMain().locate({QStringLiteral("KONTR_ID")}, {id}); }
    void fill(DBEdit *edit, const QString &text)
    {
        edit->clear();
        typeText(edit, text);
    }
    void add(const QString &name, const QString &taxNumber = QString(), const QString &bulstat = QString())
    {
        window->actnNew->trigger();
        window->edtCode()->setFocus();
        fill(window->edtName(), name);
        if (!taxNumber.isEmpty())
            fill(window->edtTaxNumber(), taxNumber);
        if (!bulstat.isEmpty())
            fill(window->edtBulstat(), bulstat);
        window->SaveClick();
    }
    QVariant stored(const QString &sql, const data::SqlParams &params = {})
    {
        return dm->QueryValue(sql, QString(), params);
    }
    int idOf(const QString &name)
    {
        return stored(QStringLiteral("select KONTR_ID from KONTR where KONTR_NAME = :N"), {{QStringLiteral("N"), name}})
            .toInt();
    }
    void insert(int id, int code, const QString &name, int kind, const QString &taxNumber = QString())
    {
        dm->ExecSQL(QStringLiteral("insert into KONTR (KONTR_ID, KONTR_CODE, KONTR_NAME, KONTR_IS_CLIENT, KONTR_DN) "
                                   "values (:ID, :CODE, :NAME, :KIND, :DN)"),
                    {{QStringLiteral("ID"), id},
                     {QStringLiteral("CODE"), code},
                     {QStringLiteral("NAME"), name},
                     {QStringLiteral("KIND"), kind},
                     {QStringLiteral("DN"), taxNumber.isEmpty() ? QVariant() : QVariant(taxNumber)}});
    }

    std::unique_ptr<TfrmKontragenti> window;
};

TEST_F(Counterparties, TheFirstCodeOfAnEmptyCatalogueIsProposedAndStoredAsOne)
{
    dm->ExecSQL(QStringLiteral("delete from KONTR"));
    open();
    window->actnNew->trigger();
    EXPECT_EQ(QApplication::focusWidget(), window->cbKind());
    EXPECT_EQ(window->cbKind()->currentText(), QStringLiteral("Клиент"));
    window->edtCode()->setFocus();
    EXPECT_EQ(window->edtCode()->text(), QStringLiteral("000001"));
    QApplication::processEvents();
    EXPECT_EQ(window->edtCode()->selectedText(), QStringLiteral("000001"));
    fill(window->edtName(), QStringLiteral("Агро Инвест ООД"));
    window->SaveClick();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(stored(QStringLiteral("select KONTR_CODE from KONTR")).toInt(), 1);
    EXPECT_EQ(stored(QStringLiteral("select KONTR_IS_CLIENT from KONTR")).toInt(), 0);
    EXPECT_EQ(window->Grid()->model()->index(0, 0).data().toString(), QStringLiteral("00001"));
    // The shared list has it at once.
    EXPECT_TRUE(dm->qKontr().locate({QStringLiteral("KONTR_NAME")}, {QStringLiteral("Агро Инвест ООД")}));

    // A code already there is left alone.
    window->actnEdit->trigger();
    window->edtCode()->setFocus();
    EXPECT_EQ(window->qMain().value(QStringLiteral("KONTR_CODE")).toInt(), 1);
    dialogs.givingUpChanges([&] { window->CancelClick(); });
}

TEST_F(Counterparties, TheSaveChecksShowTheirMessagesAndKeepTheRow)
{
    open();
    window->actnNew->trigger();
    window->pages()->setCurrentIndex(1);
    window->SaveClick();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Полето \"Код\" трябва да бъде попълнено"));
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    // The focus on the code proposes one.
    EXPECT_EQ(QApplication::focusWidget(), window->edtCode());
    EXPECT_EQ(window->edtCode()->text(), QStringLiteral("000002"));

    fill(window->edtName(), QStringLiteral("   "));
    window->SaveClick();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Полето \"Название\" трябва да бъде попълнено"));
    EXPECT_EQ(QApplication::focusWidget(), window->edtName());

    fill(window->edtName(), QStringLiteral("Агро ООД"));
    fill(window->edtBulstat(), QStringLiteral("831642182"));
    window->SaveClick();
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[2].text, QStringLiteral("Невалиден Булстат!"));
    EXPECT_EQ(QApplication::focusWidget(), window->edtBulstat());
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Insert);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from KONTR")).toInt(), 1);

    fill(window->edtBulstat(), QStringLiteral("8316421810"));
    window->SaveClick();
    EXPECT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(stored(QStringLiteral("select KONTR_BULSTAT from KONTR where KONTR_ID > 1")).toString(),
              QStringLiteral("8316421810"));
}

TEST_F(Counterparties, ATaxNumberIsNotSharedButAnUnchangedRowSaves)
{
    open();
    add(QStringLiteral("Агро ООД"), QStringLiteral("1234567892"), QStringLiteral("831642181"));
    ASSERT_TRUE(dialogs.shown.empty());
    add(QStringLiteral("Друг ООД"), QStringLiteral("1234567892"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kDuplicateTaxNumber);
    EXPECT_EQ(QApplication::focusWidget(), window->edtTaxNumber());
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Insert);
    dialogs.givingUpChanges([&] { window->CancelClick(); });
    add(QStringLiteral("Трети ООД"), QString(), QStringLiteral("831642181"));
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("ВНИМАНИЕ В базата данни вече има такъв Булстат !\n\r"
                                                    "Моля, проверете данните които въвеждате !"));
    dialogs.givingUpChanges([&] { window->CancelClick(); });

    ASSERT_TRUE(select(idOf(QStringLiteral("Агро ООД"))));
    QTest::keyClick(window.get(), Qt::Key_F3);
    ASSERT_EQ(window->qMain().state(), db::Dataset::State::Edit);
    window->SaveClick();
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Browse);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from KONTR")).toInt(), 2);
}

TEST_F(Counterparties, AnInvalidTaxNumberIsCorrectedOnYesAndKeptOnNo)
{
    open();
    dialogs.answers = {mrYes};
    add(QStringLiteral("Иван Петров"), QStringLiteral("7503161232"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kInvalidTaxNumber);
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(dialogs.shown[0].buttons, mbYes | mbNo);
    EXPECT_EQ(QApplication::focusWidget(), window->edtTaxNumber());
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Insert);

    dialogs.answers = {mrNo};
    window->SaveClick();
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Browse);
    EXPECT_EQ(stored(QStringLiteral("select KONTR_DN from KONTR where KONTR_ID > 1")).toString(),
              QStringLiteral("7503161232"));

    // A personal number born in 2005 is no question.
    add(QStringLiteral("Мария Петрова"), QStringLiteral("0545151239"));
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(Counterparties, TypedTextIsStoredAndFoundAsTyped)
{
    open();
    const QString odd = QStringLiteral("Магазин 'Ели'); DELETE FROM NOM; --");
    add(odd, QStringLiteral("1234567892"));
    add(QStringLiteral("Д'Артанян ЕООД"), QStringLiteral("2002563722"));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(idOf(odd), idOf(odd));
    EXPECT_GT(idOf(odd), 1);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from NOM")).toInt(), 1);
    // The duplicate check binds the value too.
    ASSERT_TRUE(select(idOf(odd)));
    window->actnEdit->trigger();
    fill(window->edtTaxNumber(), QStringLiteral("2002563722"));
    window->SaveClick();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kDuplicateTaxNumber);
    dialogs.givingUpChanges([&] { window->CancelClick(); });

    ASSERT_TRUE(select(1));
    window->quickSearch()->edit()->setText(QStringLiteral("'ели'); delete"));
    window->quickSearch()->findFromFirst();
    EXPECT_EQ(window->qMain().value(QStringLiteral("KONTR_NAME")).toString(), odd);
    window->quickSearch()->edit()->setText(QStringLiteral("2002563"));
    window->quickSearch()->findFromFirst();
    EXPECT_EQ(window->qMain().value(QStringLiteral("KONTR_NAME")).toString(), QStringLiteral("Д'Артанян ЕООД"));
    window->quickSearch()->findNext();
    EXPECT_EQ(window->qMain().value(QStringLiteral("KONTR_NAME")).toString(), QStringLiteral("Д'Артанян ЕООД"));
    const auto popups = window->findChildren<TNotifyPopup *>();
    ASSERT_FALSE(popups.empty());
    EXPECT_EQ(popups.back()->text(), QStringLiteral("Друг такъв запис не е намерен!"));
}

TEST_F(Counterparties, TheCompanyRowIsEditableInPartButNotDeletable)
{
    open();
    ASSERT_TRUE(select(1));
    QTest::keyClick(window.get(), Qt::Key_F3);
    EXPECT_EQ(QApplication::focusWidget(), window->edtCode());
    for (QWidget *field : std::initializer_list<QWidget *>{window->cbKind(), window->edtName(), window->edtTaxNumber(),
                                                          window->edtBulstat(), window->cbCity(), window->edtAddress(),
                                                          window->edtNote()})
        EXPECT_FALSE(field->isEnabled());
    EXPECT_TRUE(window->edtMol()->isEnabled());
    fill(window->edtMol(), QStringLiteral("Георги Иванов"));
    window->SaveClick();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(stored(QStringLiteral("select KONTR_MOL from KONTR where KONTR_ID = 1")).toString(),
              QStringLiteral("Георги Иванов"));
    EXPECT_TRUE(window->edtName()->isEnabled());

    QTest::keyClick(window.get(), Qt::Key_F4);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Част от този запис може само да се редактира!"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from KONTR where KONTR_ID = 1")).toInt(), 1);
    EXPECT_TRUE(window->quickSearch()->edit()->isEnabled());
}

TEST_F(Counterparties, ACounterpartyUsedByADocumentIsNotDeleted)
{
    insert(5, 5, QStringLiteral("Доставки ЕООД"), 1);
    dm->ExecSQL(QStringLiteral("insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_KONT_ID) values (1, 1, 5)"));
    dm->ExecSQL(QStringLiteral("insert into CONTACTINFO (ID, CONTACT_ID, CONTACTINFO_TYPE_ID, TEXT) values (1, 5, 1, '02 123')"));
    open();
    ASSERT_TRUE(select(5));
    window->actnDelete->trigger();
    EXPECT_TRUE(dialogs.shown.empty());
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Контрагентът не може да се изтрие: използва се в документите (1 запис)."));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from KONTR where KONTR_ID = 5")).toInt(), 1);
    EXPECT_TRUE(window->quickSearch()->edit()->isEnabled());

    dm->ExecSQL(QStringLiteral("delete from TRANZ"));
    dialogs.answers = {mrYes};
    window->actnDelete->trigger();
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral("Моля, потвърдете изтриване!"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from KONTR where KONTR_ID = 5")).toInt(), 0);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CONTACTINFO")).toInt(), 0);
    EXPECT_FALSE(dm->qKontr().locate({QStringLiteral("KONTR_ID")}, {5}));
}

TEST_F(Counterparties, ANewSettlementIsAddedAndOfferedAtOnce)
{
    open();
    window->actnNew->trigger();
    window->cbCity()->setFocus();
    typeText(window->cbCity()->lineEdit(), QStringLiteral("Горна Оряховица"));
    dialogs.answers = {mrYes};
    window->edtAddress()->setFocus();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Нас. място не е описано в базата данни.\r\nЖелаете ли да го добавите?"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CITIES where NAME = 'Горна Оряховица' and COUNTRY_ID = 1")).toInt(), 1);
    EXPECT_GE(window->cbCity()->findText(QStringLiteral("Горна Оряховица")), 0);
    EXPECT_TRUE(dm->qCities().locate({QStringLiteral("NAME")}, {QStringLiteral("Горна Оряховица")}));

    // A known one, and one the user keeps unknown, ask nothing more.
    window->cbCity()->setFocus();
    window->edtAddress()->setFocus();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    window->edtCode()->setFocus();
    fill(window->edtName(), QStringLiteral("Хлебозавод АД"));
    window->SaveClick();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(stored(QStringLiteral("select KONTR_CITY from KONTR where KONTR_ID > 1")).toString(),
              QStringLiteral("Горна Оряховица"));

    // A settlement picked from the drop-down is stored.
    window->actnNew->trigger();
    window->edtCode()->setFocus();
    fill(window->edtName(), QStringLiteral("Мелница ООД"));
    window->cbCity()->setCurrentIndex(window->cbCity()->findText(QStringLiteral("Горна Оряховица")));
    window->SaveClick();
    EXPECT_EQ(stored(QStringLiteral("select KONTR_CITY from KONTR where KONTR_NAME = 'Мелница ООД'")).toString(),
              QStringLiteral("Горна Оряховица"));

    window->actnNew->trigger();
    window->cbCity()->setFocus();
    typeText(window->cbCity()->lineEdit(), QStringLiteral("с. Бяла"));
    dialogs.answers = {mrNo};
    window->edtAddress()->setFocus();
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(window->cbCity()->currentText(), QStringLiteral("с. Бяла"));
    EXPECT_EQ(window->qMain().value(QStringLiteral("KONTR_CITY")).toString(), QStringLiteral("с. Бяла"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CITIES where NAME = 'с. Бяла'")).toInt(), 0);

    // Another letter case or stray spaces name the known settlement, not a new one.
    window->cbCity()->setFocus();
    window->cbCity()->lineEdit()->clear();
    typeText(window->cbCity()->lineEdit(), QStringLiteral(" горна оряховица "));
    window->edtAddress()->setFocus();
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CITIES where upper(NAME) = upper('Горна Оряховица')")).toInt(), 1);
    dialogs.givingUpChanges([&] { window->CancelClick(); });
}

TEST_F(Counterparties, ContactsAndAccountsAreEnteredOnTheSecondPageAndShownBeside)
{
    open();
    window->actnNew->trigger();
    window->edtCode()->setFocus();
    fill(window->edtName(), QStringLiteral("Търговия ЕТ"));
    const int id = window->qMain().value(QStringLiteral("KONTR_ID")).toInt();
    window->pages()->setCurrentIndex(1);
    const auto &contacts = window->contacts();
    EXPECT_TRUE(contacts.add->isEnabled());
    EXPECT_FALSE(contacts.remove->isEnabled());
    EXPECT_EQ(contacts.add->toolTip(), QStringLiteral("Добавя нов контакт"));
    contacts.add->click();
    EXPECT_TRUE(contacts.remove->isEnabled());
    contacts.rows->setValue(QStringLiteral("CONTACTINFO_TYPE_ID"), 2);
    contacts.rows->setValue(QStringLiteral("TEXT"), QStringLiteral("0888 123 456"));
    EXPECT_EQ(contacts.grid->model()->index(0, 0).data().toString(), QStringLiteral("2"));
    window->accounts().add->click(); // leaving the contacts stores the row
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CONTACTINFO where CONTACT_ID = :ID"), {{QStringLiteral("ID"), id}}).toInt(), 1);
    window->accounts().rows->setValue(QStringLiteral("BANK_NAME"), QStringLiteral("Банка ДСК"));
    window->accounts().rows->setValue(QStringLiteral("ACCOUNT_CODE"), QStringLiteral("BG80BNBG96611020345678"));
    window->vatAccounts().add->click();
    window->vatAccounts().rows->setValue(QStringLiteral("BANK_NAME"), QStringLiteral("УниКредит Булбанк"));
    window->contacts().add->click();
    window->SaveClick(); // the empty contact row is dropped
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CONTACTINFO")).toInt(), 1);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from BANK_ACCOUNTS where CLIENT_ID = :ID and IS_VAT_ACCOUNT = 0"),
                     {{QStringLiteral("ID"), id}}).toInt(), 1);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from BANK_ACCOUNTS where CLIENT_ID = :ID and IS_VAT_ACCOUNT = 1"),
                     {{QStringLiteral("ID"), id}}).toInt(), 1);

    ASSERT_TRUE(window->infoArea()->isEnabled());
    ASSERT_EQ(window->qInfoAccounts().recordCount(), 2);
    EXPECT_EQ(window->infoAccountsGrid()->model()->index(0, 3).data().toString(), QStringLiteral("ОСМ"));
    EXPECT_EQ(window->infoAccountsGrid()->model()->index(1, 3).data().toString(), QStringLiteral("ДДС"));
    ASSERT_EQ(window->qInfoContacts().recordCount(), 1);
    EXPECT_EQ(window->infoContactsGrid()->model()->index(0, 0).data().toString(), QStringLiteral("Мобилен телефон"));

    // The delete button asks first.
    window->actnEdit->trigger();
    EXPECT_FALSE(window->infoArea()->isEnabled());
    EXPECT_TRUE(window->contacts().remove->isEnabled());
    dialogs.answers = {mrNo, mrYes};
    window->contacts().remove->click();
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CONTACTINFO")).toInt(), 1);
    window->contacts().remove->click();
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral("Моля потвърдете изтриване!"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CONTACTINFO")).toInt(), 0);
    EXPECT_FALSE(window->contacts().remove->isEnabled());
    dialogs.givingUpChanges([&] { window->CancelClick(); });
}

TEST_F(Counterparties, DetailsOfANewCounterpartyThatWasCancelledAreNotLeftBehind)
{
    open();
    window->actnNew->trigger();
    window->contacts().add->click();
    window->contacts().rows->setValue(QStringLiteral("TEXT"), QStringLiteral("office@agro.bg"));
    window->accounts().add->click();
    window->accounts().rows->setValue(QStringLiteral("BANK_NAME"), QStringLiteral("Пощенска банка"));
    window->accounts().rows->post();
    ASSERT_EQ(stored(QStringLiteral("select count(*) from CONTACTINFO")).toInt(), 1);
    dialogs.givingUpChanges([&] { window->CancelClick(); });
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CONTACTINFO")).toInt(), 0);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from BANK_ACCOUNTS")).toInt(), 0);
}

TEST_F(Counterparties, TheKindFilterListsOneKindAndTheTitleSaysWhich)
{
    insert(5, 5, QStringLiteral("Клиент АД"), 0);
    insert(6, 6, QStringLiteral("Доставчик ООД"), 1);
    insert(7, 7, QStringLiteral("Двата ЕООД"), 2);
    open();
    EXPECT_EQ(window->kindFilter()->currentText(), QStringLiteral("<Всички>"));
    EXPECT_EQ(window->qMain().recordCount(), 4);
    window->kindFilter()->setCurrentIndex(2);
    window->actnRefresh->trigger();
    ASSERT_EQ(window->qMain().recordCount(), 1);
    EXPECT_EQ(window->qMain().value(QStringLiteral("KONTR_ID")).toInt(), 6);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Контрагенти [Доставчици]"));
    window->kindFilter()->setCurrentIndex(1);
    window->actnRefresh->trigger();
    EXPECT_EQ(window->qMain().recordCount(), 1); // a client-and-supplier is no plain client
    window->kindFilter()->setCurrentIndex(3);
    window->actnRefresh->trigger();
    EXPECT_EQ(window->qMain().recordCount(), 2); // and the company itself
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Контрагенти [Клиенти-Доставчици]"));
    window->actnRemoveFilter->trigger();
    EXPECT_EQ(window->kindFilter()->currentIndex(), 0);
    EXPECT_EQ(window->qMain().recordCount(), 4);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Контрагенти"));
}

TEST_F(Counterparties, RefreshingWhileEditingStoresNothingPastTheChecks)
{
    open();
    window->actnNew->trigger();
    fill(window->edtName(), QStringLiteral("   "));
    window->qMain().setValue(QStringLiteral("KONTR_CODE"), 9);
    window->actnRefresh->trigger();
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Insert);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from KONTR")).toInt(), 1);
    dialogs.givingUpChanges([&] { window->CancelClick(); });
}

TEST_F(Counterparties, TheQuickSearchRunsWhenTypingPausesAndItsBarIsRemembered)
{
    insert(5, 5, QStringLiteral("Пекарна Зора ЕООД"), 0);
    insert(6, 6, QStringLiteral("Мелница Зорница ООД"), 1);
    open();
    EXPECT_FALSE(window->actnSearch->isChecked());
    window->actnSearch->setChecked(true);
    typeText(window->quickSearch()->edit(), QStringLiteral("ЗОР"));
    EXPECT_EQ(window->qMain().value(QStringLiteral("KONTR_ID")).toInt(), 1);
    QTest::qWait(600);
    EXPECT_EQ(window->qMain().value(QStringLiteral("KONTR_ID")).toInt(), 5);
    window->quickSearch()->findNext();
    EXPECT_EQ(window->qMain().value(QStringLiteral("KONTR_ID")).toInt(), 6);
    window->quickSearch()->edit()->setText(QStringLiteral("няма такъв"));
    window->quickSearch()->findFromFirst();
    EXPECT_EQ(window->qMain().value(QStringLiteral("KONTR_ID")).toInt(), 6); // the row stays
    EXPECT_EQ(window->findChildren<TNotifyPopup *>().back()->text(), QStringLiteral("Такъв запис не е намерен!"));

    window->actnNew->trigger();
    EXPECT_TRUE(window->quickSearch()->edit()->text().isEmpty());
    EXPECT_FALSE(window->quickSearch()->edit()->isEnabled());
    dialogs.givingUpChanges([&] { window->CancelClick(); });
    EXPECT_TRUE(window->quickSearch()->edit()->isEnabled());

    window.reset();
    open();
    EXPECT_TRUE(window->actnSearch->isChecked());
}

TEST_F(Counterparties, TheFunctionKeysActOnlyOnTheList)
{
    insert(5, 5, QStringLiteral("Пекарна Зора ЕООД"), 0);
    open();
    window->quickSearch()->edit()->setText(QStringLiteral("зора"));
    QTest::keyClick(window.get(), Qt::Key_F5);
    EXPECT_EQ(window->qMain().value(QStringLiteral("KONTR_ID")).toInt(), 5);
    QTest::keyClick(window.get(), Qt::Key_F2);
    ASSERT_EQ(window->qMain().state(), db::Dataset::State::Insert);
    QTest::keyClick(window->edtName(), Qt::Key_F4);
    QTest::keyClick(window->edtName(), Qt::Key_F2);
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Insert);
    EXPECT_TRUE(dialogs.shown.empty());
    dialogs.givingUpChanges([&] { window->CancelClick(); });
    QTest::keyClick(window.get(), Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Browse);
}

TEST_F(Counterparties, AStockDocumentChoosesACounterparty)
{
    insert(5, 5, QStringLiteral("Клиент АД"), 0);
    TfrmBaseForm opener;
    auto *list = opener.CreateChildForm<TfrmKontragenti>();
    PutParam(QStringLiteral("KONTR::SHOWCMD"), QStringLiteral("CHOOSE"));
    QTimer::singleShot(5000, list, [list] { list->done(QDialog::Rejected); });
    QTimer::singleShot(50, list, [list] {
        EXPECT_TRUE(list->actnChoose->isVisible());
        QTest::keyClick(list->Grid(), Qt::Key_F5); // the search keys leave choosing alone
        ASSERT_TRUE(list->qMain().locate({QStringLiteral("KONTR_ID")}, {5}));
        QTest::keyClick(list->Grid(), Qt::Key_Return);
    });
    list->exec();
    EXPECT_EQ(list->ChosenKey(), 5);
    EXPECT_EQ(list->qMain().state(), db::Dataset::State::Browse);

    QTimer::singleShot(5000, list, [list] { list->done(QDialog::Rejected); });
    QTimer::singleShot(50, list, [list] { list->actnClose->trigger(); });
    list->exec();
    EXPECT_EQ(list->ChosenKey(), -1);
}

} // namespace
