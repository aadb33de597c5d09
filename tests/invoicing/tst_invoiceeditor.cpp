#include "db/Dataset.h"
#include "invoicing/InvoiceData.h"
#include "invoicing/InvoiceRows.h"
#include "invoicing/TdmInvoice.h"
#include "invoicing/TfrmInvoice.h"
#include "invoicing/TfrmInvoices.h"
#include "support/GuiTest.h"
#include "support/NetworkServer.h"
#include "support/StockData.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/TDictionary.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QDate kToday(2026, 3, 2);

class InvoiceEditor : public GuiDatabaseTest
{
protected:
    InvoiceEditor()
    {
        dm->SetConfigByName(QStringLiteral("BG_VAT"), QStringLiteral("20"));
        dm->SetConfigByName(QStringLiteral("INVOICE_CREATOR"), QStringLiteral("Мария Иванова"));
        addClient(50, 7, QStringLiteral("Тракия Трейд и Логистика Експорт-Импорт ООД"), QStringLiteral("Асеновград"));
        addClient(51, 8, QStringLiteral("Пирин АД"), QStringLiteral("Банско"));
    }

    void addClient(int id, int code, const QString &name, const QString &city)
    {
        dm->ExecSQL(QStringLiteral("insert into KONTR (KONTR_ID, KONTR_CODE, KONTR_NAME, KONTR_DN, KONTR_BULSTAT, "
                                   "KONTR_ADDRESS, KONTR_CITY, KONTR_MOL, KONTR_NOTE, KONTR_IS_CLIENT) values (:ID, "
                                   ":CODE, :NAME, '115000111', '115000111', 'ул. Шипка 5', :CITY, 'Иван Петров', "
                                   "'стар клиент', 0)"),
                    {{QStringLiteral("ID"), id}, {QStringLiteral("CODE"), code}, {QStringLiteral("NAME"), name},
                     {QStringLiteral("CITY"), city}});
    }

    // Opens the editor from the list as the user does and runs `script` on
    // it while it is shown; the editor is gone when this returns.
    void withEditor(const std::function<void(TfrmInvoice &)> &script, bool existing = false)
    {
        TfrmInvoices list;
        list.runEditor = [&](TfrmInvoice &editor) {
            editor.today = [] { return kToday; };
            editor.printer = [this](TdmInvoice &module, int invoiceId) {
                module.PrepareInvoice(invoiceId);
                printed.push_back(module.values());
                printedPages = module.pages();
            };
            editor.show();
            script(editor);
            if (editor.isVisible())
                editor.reject();
            return editor.result();
        };
        if (existing)
            list.actnEdit->trigger();
        else
            list.actnNew->trigger();
    }

    void addLine(TfrmInvoice &editor, const QString &text, double quantity, double price, const QString &unit = QString())
    {
        db::Dataset &lines = editor.qLines();
        lines.append();
        lines.setValue(QStringLiteral("DETAIL_TEXT"), text);
        if (!unit.isEmpty())
            lines.setValue(QStringLiteral("DETAIL_MEAS"), unit);
        lines.setValue(QStringLiteral("DETAIL_QTY"), quantity);
        lines.setValue(QStringLiteral("DETAIL_PRICE"), price);
        lines.post();
    }

    // Everything the checks ask for, on a new invoice.
    void fillIn(TfrmInvoice &editor)
    {
        editor.cbPlace()->setEditText(QStringLiteral("Пловдив"));
        Q_EMIT editor.cbClient()->activated(editor.cbClient()->findText(QStringLiteral("Пирин АД")));
        editor.edtReceiver()->setText(QStringLiteral("Петър Иванов"));
        Q_EMIT editor.edtReceiver()->textEdited(editor.edtReceiver()->text());
    }

    int invoiceCount() { return dm->QueryValue(QStringLiteral("select count(*) from INVOICES")).toInt(); }
    int lineCount() { return dm->QueryValue(QStringLiteral("select count(*) from INVOICE_DETAILS")).toInt(); }
    QString lastMessage() const { return dialogs.shown.empty() ? QString() : dialogs.shown.back().text; }

    std::vector<invoicing::ReportValues> printed;
    std::vector<int> printedPages;
};

TEST_F(InvoiceEditor, WithoutADefaultRateNothingIsPreparedOrStored)
{
    dm->SetConfigByName(QStringLiteral("BG_VAT"), QString());
    withEditor([&](TfrmInvoice &editor) {
        EXPECT_EQ(lastMessage(), QStringLiteral("Моля, попълнете ДДС ставка в \"Настройки\"!"));
        EXPECT_EQ(dialogs.shown.back().type, TMsgDlgType::mtInformation);
        EXPECT_FALSE(editor.prepared());
        EXPECT_TRUE(editor.edtNumber()->text().isEmpty());
        EXPECT_FALSE(editor.qLines().isOpen());
        // Storing would give the document no identifier.
        dialogs.answers = {mrYes};
        editor.btnSave()->click();
        EXPECT_TRUE(editor.isVisible());
    });
    EXPECT_EQ(invoiceCount(), 0);
}

TEST_F(InvoiceEditor, ANewInvoiceStartsFromTheProposalsAndCancellingLeavesNothing)
{
    addInvoice(*dm, invoiceColumns(100, 41, QDate(2026, 2, 1)));
    int firstId = 0;
    withEditor([&](TfrmInvoice &editor) {
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("Фактура [добавяне]"));
        EXPECT_TRUE(editor.prepared());
        firstId = editor.documentId();
        EXPECT_GT(firstId, 0);
        EXPECT_EQ(editor.edtNumber()->text(), QStringLiteral("0000000042"));
        EXPECT_EQ(editor.cbStatus()->currentText(), QStringLiteral("Издадена"));
        EXPECT_EQ(editor.edtDate()->date(), kToday);
        EXPECT_EQ(editor.edtSellDate()->date(), kToday);
        EXPECT_EQ(editor.cbCreator()->currentText(), QStringLiteral("Мария Иванова"));
        EXPECT_EQ(editor.edtDistVat()->text(), QStringLiteral("0"));
        EXPECT_EQ(editor.edtRate()->text(), QStringLiteral("20"));
        EXPECT_DOUBLE_EQ(editor.rate(), 0.2);
        EXPECT_EQ(editor.pages()->tabText(editor.pages()->currentIndex()), QStringLiteral("Съставил/получил"));
        EXPECT_EQ(editor.lblSum()->text(), QStringLiteral("-"));
        EXPECT_EQ(editor.lblTotal()->text(), QStringLiteral("-"));
        EXPECT_EQ(editor.lblVatCaption()->text(), QStringLiteral("ДДС(20%):"));
        EXPECT_FALSE(editor.btnPrint()->isEnabled());
        EXPECT_FALSE(editor.cbNotifType()->isEnabled());
        EXPECT_FALSE(editor.cbIban()->isEnabled());

        addLine(editor, QStringLiteral("Консултация"), 2, 10);
        EXPECT_EQ(lineCount(), 1) << "a line is stored as it is posted";
        EXPECT_TRUE(editor.btnPrint()->isEnabled());
        dialogs.answers = {mrNo};
        editor.btnCancel()->click();
        EXPECT_EQ(lastMessage(), QStringLiteral("Отказвате ли се от направените промени?"));
        EXPECT_TRUE(editor.isVisible());
        dialogs.answers = {mrYes};
        editor.btnCancel()->click();
        EXPECT_FALSE(editor.isVisible());
    });
    EXPECT_EQ(invoiceCount(), 1);
    EXPECT_EQ(lineCount(), 0) << "the abandoned document's lines go with it";

    withEditor([&](TfrmInvoice &editor) {
        EXPECT_EQ(editor.edtNumber()->text(), QStringLiteral("0000000042"));
        EXPECT_NE(editor.documentId(), firstId);
        dialogs.answers = {mrYes};
    });
}

TEST_F(InvoiceEditor, ChecksSwitchToTheirPageAndSavingStoresTheDocument)
{
    int id = 0;
    withEditor([&](TfrmInvoice &editor) {
        id = editor.documentId();
        editor.btnSave()->click();
        EXPECT_EQ(lastMessage(), QStringLiteral("Полето \"гр./с.\" трябва да бъде попълнено !"));
        EXPECT_EQ(dialogs.shown.back().type, TMsgDlgType::mtError);
        EXPECT_EQ(editor.focusWidget(), editor.cbPlace());

        fillIn(editor);
        editor.edtReceiver()->clear();
        Q_EMIT editor.edtReceiver()->textEdited(QString());
        editor.pages()->setCurrentIndex(2);
        editor.btnSave()->click();
        EXPECT_EQ(lastMessage(), QStringLiteral("Полето \"Получил\" трябва да бъде попълнено !"));
        EXPECT_EQ(editor.pages()->currentIndex(), 0);
        EXPECT_EQ(editor.focusWidget(), editor.edtReceiver());

        fillIn(editor);
        editor.edtRate()->clear();
        editor.btnSave()->click();
        EXPECT_EQ(lastMessage(), QStringLiteral("Полето \"Данъчна ставка\" трябва да има стойност !"));
        EXPECT_EQ(editor.pages()->currentIndex(), 1);
        EXPECT_FALSE(editor.rateLeft());
        QCoreApplication::processEvents();
        EXPECT_EQ(lastMessage(), QStringLiteral("Невалидна данъчна ставка !"));
        editor.edtRate()->setText(QStringLiteral("9"));
        EXPECT_TRUE(editor.rateLeft());
        EXPECT_EQ(editor.lblVatCaption()->text(), QStringLiteral("ДДС(9%):"));

        addLine(editor, QStringLiteral("Услуга"), 2, 10);
        addLine(editor, QStringLiteral("Стока"), 1, 5.5, QStringLiteral("кг"));
        EXPECT_EQ(editor.lblSum()->text(), QStringLiteral("25.50 EUR"));
        EXPECT_EQ(editor.lblVat()->text(), QStringLiteral("2.30 EUR"));
        EXPECT_EQ(editor.lblTotal()->text(), QStringLiteral("27.80 EUR"));
        EXPECT_EQ(editor.qLines().value(0, editor.qLines().fieldIndex(QStringLiteral("DETAIL_MEAS"))).toString(),
                  QStringLiteral(" "));
        EXPECT_EQ(editor.qLines().value(1, editor.qLines().fieldIndex(QStringLiteral("ROWNUM"))).toInt(), 2);
        // In leva while the date of issue is before the euro.
        editor.edtDate()->setDate(QDate(2025, 12, 30));
        EXPECT_EQ(editor.lblTotal()->text(), QStringLiteral("27.80 лв."));

        editor.btnSave()->click();
        EXPECT_FALSE(editor.isVisible()) << lastMessage().toStdString();
    });
    const QVariantHash stored = invoicing::storedInvoice(*dm, id);
    ASSERT_FALSE(stored.isEmpty());
    EXPECT_EQ(stored.value(QStringLiteral("NUMBER")).toInt(), 1);
    EXPECT_EQ(stored.value(QStringLiteral("SECOND_VAT")).toString(), QStringLiteral("9"));
    EXPECT_EQ(stored.value(QStringLiteral("WITH_BANKS")).toInt(), 0);
    EXPECT_EQ(stored.value(QStringLiteral("NOTIFICATION")).toInt(), 0);
    EXPECT_EQ(stored.value(QStringLiteral("IS_WAITING")).toInt(), 0);
    EXPECT_EQ(stored.value(QStringLiteral("CLIENT_ID")).toInt(), 51);
    EXPECT_EQ(stored.value(QStringLiteral("COMPANY")).toString(), QStringLiteral("Пирин АД"));
    EXPECT_EQ(stored.value(QStringLiteral("NOTES")).toString(), QStringLiteral("стар клиент"));
    EXPECT_EQ(stored.value(QStringLiteral("PLACE")).toString(), QStringLiteral("Пловдив"));
    EXPECT_EQ(lineCount(), 2);
}

TEST_F(InvoiceEditor, AClientIsCopiedWhole)
{
    withEditor([&](TfrmInvoice &editor) {
        ASSERT_EQ(editor.cbClient()->count(), 2) << "clients only, never the company itself";
        Q_EMIT editor.cbClient()->activated(1 - editor.cbClient()->findText(QStringLiteral("Пирин АД")));
        const QString company = editor.invoice().value(QStringLiteral("COMPANY")).toString();
        EXPECT_EQ(company, QStringLiteral("Тракия Трейд и Логистика Експорт-Импорт ООД"));
        EXPECT_EQ(editor.cbClient()->currentText(), company);
        EXPECT_EQ(editor.cbCity()->currentText(), QStringLiteral("Асеновград"));
        EXPECT_EQ(editor.edtDannum()->text(), QStringLiteral("115000111"));
        EXPECT_EQ(editor.edtMol()->text(), QStringLiteral("Иван Петров"));
        dialogs.answers = {mrYes};
    });
}

TEST_F(InvoiceEditor, TenDigitNumbersAndAZeroRatesGroundAreStored)
{
    int id = 0;
    withEditor([&](TfrmInvoice &editor) {
        id = editor.documentId();
        fillIn(editor);
        addLine(editor, QStringLiteral("Износ"), 1, 100);
        editor.edtNumber()->setText(QStringLiteral("9999999999"));
        Q_EMIT editor.edtNumber()->textEdited(editor.edtNumber()->text());
        editor.numberLeft();

        editor.edtRate()->setText(QStringLiteral("0"));
        Q_EMIT editor.edtRate()->textEdited(QStringLiteral("0"));
        editor.btnSave()->click();
        EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("При ставка 0 %"))) << lastMessage().toStdString();
        EXPECT_EQ(editor.pages()->currentIndex(), 2);
        EXPECT_EQ(editor.focusWidget(), editor.findChild<QWidget *>(QStringLiteral("edtZeroGround")));
        auto *ground = editor.findChild<QLineEdit *>(QStringLiteral("edtZeroGround"));
        ground->setText(QStringLiteral("чл. 28 ЗДДС, износ"));
        Q_EMIT ground->textEdited(ground->text());
        editor.btnSave()->click();
        EXPECT_FALSE(editor.isVisible()) << lastMessage().toStdString();
    });
    const QVariantHash stored = invoicing::storedInvoice(*dm, id);
    EXPECT_EQ(stored.value(QStringLiteral("NUMBER")).toLongLong(), 9999999999LL);
    EXPECT_EQ(stored.value(QStringLiteral("ZERO_VAT_GROUND")).toString(), QStringLiteral("чл. 28 ЗДДС, износ"));
}

// An issued invoice is not made waiting again, and not cancelled while a
// notification corrects it; each refusal keeps the editor and the status.
TEST_F(InvoiceEditor, AnIssuedInvoiceIsNeitherMadeWaitingNorCancelledUnderANotification)
{
    QVariantHash invoice = invoiceColumns(1, 1, kToday);
    invoice.insert(QStringLiteral("SELL_DATE"), kToday);
    addInvoice(*dm, invoice);
    addInvoiceLine(*dm, 1, 1, 1, QStringLiteral("Стока"), QStringLiteral("бр."), 1, 2);
    const struct
    {
        int status;
        const char *refusal;
    } changes[] = {{1, "може само да бъде анулиран"}, {2, "има известие № 0000000002"}};
    for (const auto &change : changes) {
        if (change.status == 2) {
            QVariantHash notification = invoiceColumns(2, 2, kToday);
            notification.insert(QStringLiteral("NOTIFICATION"), 1);
            notification.insert(QStringLiteral("INVOICE_NUMBER"), QStringLiteral("0000000001"));
            addInvoice(*dm, notification);
        }
        withEditor(
            [&](TfrmInvoice &editor) {
                editor.cbStatus()->setCurrentIndex(change.status);
                Q_EMIT editor.cbStatus()->activated(change.status);
                editor.btnSave()->click();
                EXPECT_TRUE(lastMessage().contains(QString::fromUtf8(change.refusal))) << lastMessage().toStdString();
                EXPECT_TRUE(editor.isVisible());
                dialogs.answers = {mrYes};
            },
            true);
        EXPECT_EQ(dm->QueryValue(QStringLiteral("select IS_WAITING from INVOICES where ID = 1")).toInt(), 0);
    }
}

TEST_F(InvoiceEditor, CashClearsTheAccountAndANotificationLosesItsReferenceWhenCleared)
{
    dm->ExecSQL(QStringLiteral("insert into BANK_ACCOUNTS (ID, CLIENT_ID, BANK_NAME, BANK_CODE, ACCOUNT_CODE, "
                               "IS_VAT_ACCOUNT) values (1, 1, 'Банка ДСК', 'STSABGSF', 'BG80STSA93000012345678', 0)"));
    withEditor([&](TfrmInvoice &editor) {
        editor.rbBank()->click();
        EXPECT_TRUE(editor.cbIban()->isEnabled());
        Q_EMIT editor.cbIban()->activated(0);
        // The drop-down shows whole IBANs, however narrow the box.
        const auto *ibans = static_cast<QTableView *>(editor.cbIban()->view());
        EXPECT_GE(ibans->columnWidth(0), ibans->fontMetrics().horizontalAdvance(QStringLiteral("BG80STSA93000012345678")));
        EXPECT_GE(ibans->minimumWidth(), ibans->horizontalHeader()->length());
        EXPECT_EQ(editor.edtBank()->text(), QStringLiteral("Банка ДСК"));
        EXPECT_EQ(editor.edtBic()->text(), QStringLiteral("STSABGSF"));
        editor.rbCash()->click();
        EXPECT_FALSE(editor.cbIban()->isEnabled());
        for (const char *column : {"ACCOUNT", "BANK", "CODE"})
            EXPECT_TRUE(editor.invoice().value(QString::fromLatin1(column)).isNull()) << column;
        EXPECT_TRUE(editor.edtBank()->text().isEmpty());

        editor.chkNotification()->click();
        EXPECT_TRUE(editor.edtRefNumber()->isEnabled());
        Q_EMIT editor.cbNotifType()->activated(0);
        editor.edtRefNumber()->setText(QStringLiteral("7"));
        Q_EMIT editor.edtRefNumber()->textEdited(QStringLiteral("7"));
        editor.refNumberLeft();
        EXPECT_EQ(editor.edtRefNumber()->text(), QStringLiteral("0000000007"));
        editor.edtRefNumber()->setText(QStringLiteral("7а"));
        editor.refNumberLeft();
        EXPECT_EQ(lastMessage(), QStringLiteral("Номерът на фактурата трябва да бъде цяло число !"));
        EXPECT_EQ(editor.focusWidget(), editor.edtRefNumber());
        editor.chkNotification()->click();
        EXPECT_FALSE(editor.edtRefNumber()->isEnabled());
        EXPECT_TRUE(editor.invoice().value(QStringLiteral("INVOICE_NUMBER")).isNull());
        EXPECT_TRUE(editor.invoice().value(QStringLiteral("NOTIF_TYPE")).isNull());

        editor.chkRequestedVat()->click();
        EXPECT_TRUE(editor.edtRvDetails()->isEnabled());
        editor.edtRvDetails()->setText(QStringLiteral("чл. 82"));
        Q_EMIT editor.edtRvDetails()->textEdited(QStringLiteral("чл. 82"));
        editor.chkRequestedVat()->click();
        EXPECT_TRUE(editor.invoice().value(QStringLiteral("RV_DETAILS")).isNull());
        EXPECT_FALSE(editor.edtRvDetails()->isEnabled());
        dialogs.answers = {mrYes};
    });
}

TEST_F(InvoiceEditor, TypedSettlementsAndCreatorsAreOfferedFromThenOn)
{
    withEditor([&](TfrmInvoice &editor) {
        editor.cbPlace()->setEditText(QStringLiteral("Долно Нанагорнище"));
        dialogs.answers = {mrNo};
        editor.placeLeft(editor.cbPlace());
        EXPECT_EQ(lastMessage(), QStringLiteral("Нас. място не е описано в базата данни.\r\nЖелаете ли да го добавите?"));
        EXPECT_EQ(editor.cbPlace()->currentText(), QStringLiteral("Долно Нанагорнище"));
        EXPECT_EQ(editor.cbPlace()->findText(QStringLiteral("Долно Нанагорнище")), -1);

        dialogs.answers = {mrYes};
        editor.placeLeft(editor.cbPlace());
        EXPECT_GE(editor.cbCity()->findText(QStringLiteral("Долно Нанагорнище")), 0);

        const size_t asked = dialogs.shown.size();
        editor.cbMvr()->setEditText(QStringLiteral("Горно Нанадолнище"));
        editor.mvrLeft();
        EXPECT_EQ(dialogs.shown.size(), asked) << "the authority is added without a question";
        EXPECT_GE(editor.cbPlace()->findText(QStringLiteral("Горно Нанадолнище")), 0);

        editor.cbCreator()->setEditText(QStringLiteral("Георги Колев"));
        editor.creatorLeft();
        EXPECT_GE(editor.cbCreator()->findText(QStringLiteral("Георги Колев")), 0);
        EXPECT_EQ(dm->GetConfigByName(QStringLiteral("INVOICE_CREATOR")), QStringLiteral("Георги Колев"));

        dialogs.answers = {mrYes};
    });
}

TEST_F(InvoiceEditor, ATypedRateIsAChangeTheFooterFollowsAndABlankOneIsRefusedOnceTheFocusHasMoved)
{
    addInvoice(*dm, invoiceColumns(5, 3, QDate(2026, 3, 1)));
    addInvoiceLine(*dm, dm->NewCounterValue(28), 5, 1, QStringLiteral("Услуга"), QStringLiteral("бр."), 1, 100);
    withEditor(
        [&](TfrmInvoice &editor) {
            QApplication::setActiveWindow(&editor);
            editor.pages()->setCurrentIndex(int(invoicing::EditorPage::Rate) - 1);
            editor.edtRate()->setFocus();
            editor.edtRate()->selectAll();
            typeText(editor.edtRate(), QStringLiteral("9"));
            EXPECT_EQ(editor.lblVat()->text(), QStringLiteral("9.00 EUR"));
            QTest::keyClick(editor.edtRate(), Qt::Key_Backspace);
            editor.edtNumber()->setFocus();
            EXPECT_TRUE(dialogs.shown.empty()) << "nothing is said while the focus is moving";
            QCoreApplication::processEvents();
            EXPECT_EQ(lastMessage(), QStringLiteral("Невалидна данъчна ставка !"));
            EXPECT_EQ(editor.focusWidget(), editor.edtRate());
            EXPECT_EQ(editor.lblVatCaption()->text(), QStringLiteral("ДДС(9%):")) << "the rate still in effect";
            dialogs.answers = {mrNo};
            editor.btnCancel()->click();
            EXPECT_EQ(lastMessage(), QStringLiteral("Отказвате ли се от направените промени?"));
            dialogs.answers = {mrYes};
        },
        true);
}

TEST_F(InvoiceEditor, ALineWithoutTextOrPriceIsRefusedOnItsCellAndANewBlankOneDropped)
{
    withEditor([&](TfrmInvoice &editor) {
        QApplication::setActiveWindow(&editor);
        fillIn(editor);
        db::Dataset &lines = editor.qLines();
        lines.append();
        lines.setValue(QStringLiteral("DETAIL_QTY"), 2);
        for (QPushButton *button : {editor.btnSave(), editor.btnPrint()}) {
            button->click();
            QCoreApplication::processEvents();
            EXPECT_EQ(lastMessage(), QStringLiteral("Полето \"Стока / услуга\" трябва да бъде попълнено !"));
            EXPECT_TRUE(lines.isEditing()) << "the line typed so far is kept";
            EXPECT_EQ(editor.focusWidget(), editor.linesGrid());
            EXPECT_EQ(editor.linesGrid()->currentIndex().column(), 1);
        }
        lines.setValue(QStringLiteral("DETAIL_TEXT"), QStringLiteral("Консултация"));
        editor.btnSave()->click();
        EXPECT_EQ(lastMessage(), QStringLiteral("Полето \"Ед. цена\" трябва да има стойност !"));
        EXPECT_EQ(lineCount(), 0);
        lines.setValue(QStringLiteral("DETAIL_PRICE"), 10);
        lines.post();
        lines.append();
        const size_t said = dialogs.shown.size();
        editor.btnSave()->click();
        EXPECT_EQ(dialogs.shown.size(), said);
    });
    EXPECT_TRUE(printed.empty());
    EXPECT_EQ(invoiceCount(), 1);
    EXPECT_EQ(lineCount(), 1);
}

TEST_F(InvoiceEditor, AChangedLineTakesANewKeyAndComesLast)
{
    addInvoice(*dm, invoiceColumns(5, 3, QDate(2026, 3, 1)));
    const int firstKey = dm->NewCounterValue(28);
    addInvoiceLine(*dm, firstKey, 5, 1, QStringLiteral("Първи"), QStringLiteral("бр."), 1, 2);
    addInvoiceLine(*dm, dm->NewCounterValue(28), 5, 2, QStringLiteral("Втори"), QStringLiteral("бр."), 1, 3);
    withEditor(
        [&](TfrmInvoice &editor) {
            EXPECT_EQ(editor.windowTitle(), QStringLiteral("Фактура [редакция]"));
            EXPECT_EQ(editor.edtNumber()->text(), QStringLiteral("0000000003"));
            EXPECT_EQ(editor.lblSum()->text(), QStringLiteral("5.00 EUR"));
            db::Dataset &lines = editor.qLines();
            lines.first();
            lines.edit();
            lines.setValue(QStringLiteral("DETAIL_QTY"), 4);
            lines.post();
            EXPECT_GT(lines.value(QStringLiteral("DETAIL_ID")).toInt(), firstKey + 1);
            EXPECT_EQ(lines.value(QStringLiteral("ROWNUM")).toInt(), 1) << "the first posting of this window";
            EXPECT_EQ(editor.lblSum()->text(), QStringLiteral("11.00 EUR"));
            dialogs.answers = {mrYes};
        },
        true);
    const auto lines = invoicing::invoiceLines(*dm, 5);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines.back().text, QStringLiteral("Първи"));
    EXPECT_EQ(lineCount(), 2) << "lines of a stored document stay when its editing is cancelled";
}

TEST_F(InvoiceEditor, LeavingBoxesOfAnUnchangedDocumentAsksNothingOnClosing)
{
    addInvoice(*dm, invoiceColumns(5, 3, QDate(2026, 3, 1)));
    withEditor(
        [&](TfrmInvoice &editor) {
            editor.numberLeft();
            editor.creatorLeft();
            editor.btnCancel()->click();
            EXPECT_FALSE(editor.isVisible());
        },
        true);
    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.shown.front().text.toStdString();
}

TEST_F(InvoiceEditor, ANumberAnotherDocumentHoldsIsRefusedAndTheNextFreeOneProposed)
{
    withEditor([&](TfrmInvoice &editor) {
        fillIn(editor);
        EXPECT_EQ(editor.edtNumber()->text(), QStringLiteral("0000000001"));
        // Another workstation stored its document under the same proposal.
        addInvoice(*dm, invoiceColumns(900, 1, kToday));
        editor.btnSave()->click();
        EXPECT_EQ(lastMessage(), invoicing::numberTakenMessage(1, 2));
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.edtNumber()->text(), QStringLiteral("0000000002"));
        EXPECT_EQ(editor.focusWidget(), editor.edtNumber());
        editor.btnSave()->click();
        EXPECT_FALSE(editor.isVisible());
    });
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from INVOICES where NUMBER = 2")).toInt(), 1);

    // Clearing the number leaves ten zeros, which no document may carry.
    withEditor([&](TfrmInvoice &editor) {
        fillIn(editor);
        editor.edtNumber()->clear();
        editor.numberLeft();
        EXPECT_EQ(editor.edtNumber()->text(), QStringLiteral("0000000000"));
        editor.btnSave()->click();
        EXPECT_EQ(lastMessage(), QStringLiteral("Номерът на документа трябва да бъде от 0000000001 до 9999999999 !"));
        EXPECT_TRUE(editor.isVisible());
        dialogs.answers = {mrYes};
    });
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from INVOICES where NUMBER = 0")).toInt(), 0);
}

TEST_F(InvoiceEditor, PrintingKeepsToTheFormAndGoesOnEditingTheStoredDocument)
{
    dm->SetConfigById(30, QStringLiteral("1"));
    dm->SetConfigByName(QStringLiteral("INVOICECOPIES"), QStringLiteral("1"));
    int id = 0;
    withEditor([&](TfrmInvoice &editor) {
        id = editor.documentId();
        fillIn(editor);
        for (int line = 0; line < 7; ++line)
            addLine(editor, QStringLiteral("Болт М8"), 10, 0.25);
        addLine(editor, QString(45, QChar(0x410)), 1, 100);
        editor.btnPrint()->click();
        EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("Внимание !!!!!")));
        EXPECT_TRUE(printed.empty());
        EXPECT_EQ(invoiceCount(), 0) << "nothing is stored for a refused print";

        dm->SetConfigById(30, QStringLiteral("0"));
        editor.chkCopy()->setChecked(true);
        editor.btnPrint()->click();
        ASSERT_EQ(printed.size(), 1u) << lastMessage().toStdString();
        EXPECT_EQ(invoiceCount(), 1);
        EXPECT_EQ(printed[0].value(QStringLiteral("INOMER")), QStringLiteral("0000000001"));
        EXPECT_EQ(printed[0].value(QStringLiteral("IFIRMPERSON")), QStringLiteral("Пирин АД"));
        EXPECT_EQ(printed[0].value(QStringLiteral("GROSS_TOTAL")), QStringLiteral("141.00"));
        EXPECT_EQ(printed[0].value(QStringLiteral("IVCP")), QStringLiteral("1"));
        EXPECT_EQ(printedPages, std::vector<int>{3});
        EXPECT_TRUE(printed[0].value(QStringLiteral("CASH_SPELL")).contains(QStringLiteral("евро")));
        EXPECT_TRUE(ParamBoard().count() == 0) << "the print took every value it was given";
        EXPECT_TRUE(editor.invoice().isEditing());
        EXPECT_TRUE(editor.isVisible());

        // Changing the stored document and storing it updates the same row.
        editor.edtMol()->setText(QStringLiteral("Стоян Стоянов"));
        Q_EMIT editor.edtMol()->textEdited(editor.edtMol()->text());
        editor.btnSave()->click();
        EXPECT_FALSE(editor.isVisible()) << lastMessage().toStdString();
    });
    EXPECT_EQ(invoiceCount(), 1);
    EXPECT_EQ(invoicing::storedInvoice(*dm, id).value(QStringLiteral("MOL")).toString(), QStringLiteral("Стоян Стоянов"));
    const auto recent = [this](int list) {
        return dm->QueryValue(QStringLiteral("select count(*) from MRU_ITEMS where MRU_ID = :ID"), QString(),
                              {{QStringLiteral("ID"), list}})
            .toInt();
    };
    EXPECT_EQ(recent(1), 1);
    EXPECT_EQ(recent(2), 1);
    EXPECT_EQ(recent(4), 2) << "the accountable person and the receiver";
    EXPECT_EQ(recent(5), 0);
    EXPECT_EQ(recent(6), 1);
}

TEST_F(InvoiceEditor, ASaleHandsItsBuyerAndLinesToANewInvoice)
{
    PutParam(QStringLiteral("INVOICES::CLIENT_ID"), 50);
    PutParam(QStringLiteral("INVOICES::LINES"),
             invoicing::prefillLinesValue({{QStringLiteral("Цимент"), QStringLiteral("чувал"), 3, 12.5}}));
    withEditor([&](TfrmInvoice &editor) {
        EXPECT_EQ(editor.edtAddress()->text(), QStringLiteral("ул. Шипка 5"));
        ASSERT_EQ(editor.qLines().recordCount(), 1);
        EXPECT_EQ(editor.lblSum()->text(), QStringLiteral("37.50 EUR"));
        dialogs.answers = {mrYes};
    });
    EXPECT_EQ(lineCount(), 0);
}

// Two workstations on one server: both are proposed the same number.
TEST(InvoiceNumbersOnTheServer, TheSecondWorkstationStoringANumberIsRefused)
{
    REQUIRE_SERVER();
    ServedDatabase database;
    TempDir dir;
    TXMLSettings settings(dir.path(QStringLiteral("Varnex.xdb")));
    settings.setSaveWhenFreed(false);
    settings.Open();
    SetAppSettings(&settings);
    ScriptedDialogs dialogs;
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
    first->SetConfigByName(QStringLiteral("BG_VAT"), QStringLiteral("20"));

    const auto storeOne = [&](Tdm &workstation, const std::function<void(TfrmInvoice &)> &meanwhile) {
        SetDataModule(&workstation);
        TfrmInvoices list;
        list.runEditor = [&](TfrmInvoice &editor) {
            editor.show();
            editor.cbPlace()->setEditText(QStringLiteral("Пловдив"));
            editor.cbClient()->setEditText(QStringLiteral("Тракия ООД"));
            editor.edtDannum()->setText(QStringLiteral("115000111"));
            Q_EMIT editor.edtDannum()->textEdited(editor.edtDannum()->text());
            editor.cbCity()->setEditText(QStringLiteral("Асеновград"));
            editor.edtAddress()->setText(QStringLiteral("ул. Шипка 5"));
            Q_EMIT editor.edtAddress()->textEdited(editor.edtAddress()->text());
            editor.cbCreator()->setEditText(QStringLiteral("Мария Иванова"));
            editor.edtReceiver()->setText(QStringLiteral("Петър Иванов"));
            Q_EMIT editor.edtReceiver()->textEdited(editor.edtReceiver()->text());
            meanwhile(editor);
            editor.btnSave()->click();
            if (editor.isVisible())
                editor.btnSave()->click();
            return editor.result();
        };
        list.actnNew->trigger();
        SetDataModule(nullptr);
    };

    storeOne(*first, [&](TfrmInvoice &editor) {
        EXPECT_EQ(editor.edtNumber()->text(), QStringLiteral("0000000001"));
        storeOne(*second, [&](TfrmInvoice &other) {
            EXPECT_EQ(other.edtNumber()->text(), QStringLiteral("0000000001"));
        });
        SetDataModule(first.get());
    });
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back().text, invoicing::numberTakenMessage(1, 2));
    const auto numbers = first->QueryRows(QStringLiteral("select NUMBER from INVOICES order by NUMBER"));
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_EQ(numbers[0].at(0).toInt(), 1);
    EXPECT_EQ(numbers[1].at(0).toInt(), 2);
    SetAppSettings(nullptr);
}

TEST_F(InvoiceEditor, ACodeTypedAsALinesTextTakesItsGoodsItem)
{
    testing_support::addGoods(*dm, 5, 5, QStringLiteral("Кафе мляно"));
    testing_support::addBarcode(*dm, 5, QStringLiteral("4006381333931"));
    const QString unit = dm->QueryValue(QStringLiteral("select MERKI_NAME from MERKI where MERKI_ID = 2")).toString(); // the goods' base unit
    withEditor([&](TfrmInvoice &editor) {
        auto *grid = editor.findChild<DataGrid *>(QStringLiteral("GridLines"));
        ASSERT_TRUE(grid);
        db::Dataset &lines = editor.qLines();
        lines.append();
        const QModelIndex text = grid->model()->index(lines.recNo(), 1);
        const auto type = [&](const QString &typed) {
            QAbstractItemDelegate *delegate = grid->itemDelegateForColumn(1);
            std::unique_ptr<QWidget> box(delegate->createEditor(grid->viewport(), {}, text));
            static_cast<QComboBox *>(box.get())->setEditText(typed);
            delegate->setModelData(box.get(), grid->model(), text);
        };
        type(QStringLiteral("96385074"));
        EXPECT_EQ(dialogs.errorTexts(), QStringList{QStringLiteral("Няма артикул с баркод \"96385074\".")});
        EXPECT_TRUE(lines.value(QStringLiteral("DETAIL_TEXT")).isNull()); // the line as it was
        type(QStringLiteral("4006381333931"));
        EXPECT_EQ(lines.value(QStringLiteral("DETAIL_TEXT")).toString(), QStringLiteral("Кафе мляно"));
        EXPECT_EQ(lines.value(QStringLiteral("DETAIL_MEAS")).toString(), unit);
        EXPECT_EQ(lines.value(QStringLiteral("DETAIL_QTY")).toDouble(), 1);
        type(QStringLiteral("12345678")); // numbers that are no code (the check digit) stay as typed
        EXPECT_EQ(lines.value(QStringLiteral("DETAIL_TEXT")).toString(), QStringLiteral("12345678"));
        EXPECT_EQ(dialogs.errors.size(), 1u);
    });
}

} // namespace
