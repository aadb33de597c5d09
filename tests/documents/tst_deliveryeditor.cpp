#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/EditorDriving.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmDostavki.h"
#include "invoicing/TdmInvoice.h"
#include "support/GuiTest.h"
#include "support/StockData.h"
#include "ui/DBControls.h"
#include "ui/TDictionary.h"

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const bool kDotDecimals = (QLocale::setDefault(QLocale::c()), true);

QString f(const char *name)
{
    return QString::fromLatin1(name);
}

class DeliveryEditor : public GuiDatabaseTest
{
protected:
    DeliveryEditor()
    {
        addGoods(*dm, 1, 1, QStringLiteral("Брашно"), 1.2);
        addGoods(*dm, 2, 2, QStringLiteral("Захар"), 2.5);
        dm->ExecSQL(f("update NOM set NOM_MERKI_ID2 = 7 where NOM_ID = 2")); // also sold by the packet
        addCounterparty(*dm, 2, 2, QStringLiteral("Мелница АД"), 1, QStringLiteral("Пловдив"), QStringLiteral("ул. Житна 3"));
        addCounterparty(*dm, 3, 3, QStringLiteral("Клиент ЕТ"), 0);
        addCounterparty(*dm, 4, 4, QStringLiteral("Търговец ООД"), 2);
        addCounterparty(*dm, 1, 1, QStringLiteral("Пекарна ООД"), 2, QStringLiteral("Смолян"),
                        QStringLiteral("бул. България 12"));
        dm->qNom().reopen();
        dm->qKontr().reopen();
        window = std::make_unique<TfrmDostavki>();
        window->printReceipt = [this](int id) {
            printed.push_back(id);
            module.PrepareReceipt(id);
        };
        window->NewDocument();
        window->show();
        QApplication::setActiveWindow(window.get());
        area = window->lineArea();
    }
    ~DeliveryEditor() override { ParamBoard().clear(); }

    db::Dataset &lines() { return area->area().lines(); }
    db::Dataset &header() { return window->model().header(); }
    void newLine() { QTest::mouseClick(area->btnNewLine(), Qt::LeftButton); }
    void storeLine() { QTest::mouseClick(area->btnSaveLine(), Qt::LeftButton); }
    void chooseGoods(int row)
    {
        pickDownTo(area->cbGoodsName(), row);
    }
    QStringList shownTexts() const
    {
        QStringList texts;
        for (const auto &shown : dialogs.shown)
            texts << shown.text;
        return texts;
    }

    TdmInvoice module{*dm, settings};
    std::vector<int> printed;
    std::unique_ptr<TfrmDostavki> window;
    StockLineArea *area = nullptr;
};

TEST_F(DeliveryEditor, OffersSuppliersOnlyAndNeverTheCompany)
{
    QComboBox *codes = window->cbCounterpartyCode();
    ASSERT_EQ(codes->count(), 2);
    EXPECT_EQ(codes->itemText(0), QStringLiteral("000002"));
    EXPECT_EQ(codes->itemText(1), QStringLiteral("000004"));
    EXPECT_EQ(window->cbCounterpartyName()->itemText(1), QStringLiteral("Търговец ООД"));

    // The catalogue offers everybody; a client only is not taken.
    window->chooseCounterpartyFromCatalogue = [] { return 3; };
    window->ChooseCounterparty();
    EXPECT_TRUE(header().value(f("TRANZ_KONT_ID")).isNull());
    ASSERT_EQ(dialogs.errors.size(), 1u);
    window->chooseCounterpartyFromCatalogue = [] { return 4; };
    window->ChooseCounterparty();
    EXPECT_EQ(header().value(f("TRANZ_KONT_ID")).toInt(), 4);
    EXPECT_EQ(QApplication::focusWidget(), window->edtNote());
}

TEST_F(DeliveryEditor, GoodsChosenFromTheCatalogueWithoutALineStartOne)
{
    area->chooseGoodsFromCatalogue = [] { return 2; };
    const std::function<void()> ways[] = {[this] { QTest::keyClick(area->cbGoodsName(), Qt::Key_Insert); },
                                          [this] { area->btnGoodsCatalogue()->click(); }};
    for (const auto &choose : ways) {
        choose();
        EXPECT_TRUE(dialogs.errors.empty());
        EXPECT_EQ(lines().state(), db::Dataset::State::Insert);
        EXPECT_EQ(lines().value(f("TRANZ_RED_NOM_ID")).toInt(), 2);
        EXPECT_EQ(QApplication::focusWidget(), area->edtPrice());
        area->area().cancelLine();
    }
}

TEST_F(DeliveryEditor, TheAdditionalUnitRowFollowsTheCurrentLine)
{
    EXPECT_FALSE(area->secondUnitShown());
    newLine();
    EXPECT_EQ(lines().value(f("TRANZ_RED_NOM_ID")).toInt(), 1); // a new delivery line starts on goods 1
    EXPECT_FALSE(area->secondUnitShown());
    EXPECT_FALSE(area->edtQuantity2()->isVisibleTo(window.get()));
    chooseGoods(1);
    EXPECT_EQ(lines().value(f("TRANZ_RED_NOM_ID")).toInt(), 2);
    EXPECT_TRUE(area->secondUnitShown());
    EXPECT_TRUE(area->edtQuantity2()->isVisibleTo(window.get()));
    typeInto(area->edtQuantity2(), QStringLiteral("3"));
    typeInto(area->edtQuantity(), QStringLiteral("12"));
    storeLine();
    ASSERT_TRUE(dialogs.shown.empty()) << shownTexts().join(QLatin1Char('|')).toStdString();

    newLine();
    EXPECT_FALSE(area->secondUnitShown());
    storeLine();
    lines().first();
    EXPECT_TRUE(area->secondUnitShown());
    EXPECT_EQ(lines().value(f("TRANZ_RED_KOL2")).toDouble(), 3);
    EXPECT_EQ(lines().value(f("SMYARKA")).toString(), QStringLiteral("пак."));
    lines().last();
    EXPECT_FALSE(area->secondUnitShown());
}

TEST_F(DeliveryEditor, TakenAboveTheQuantityIsRefusedAndLoweredToIt)
{
    newLine();
    typeInto(area->edtPrice(), QStringLiteral("1"));
    typeInto(area->edtQuantity(), QStringLiteral("5"));
    typeInto(area->edtTaken(), QStringLiteral("7"));
    storeLine();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Взетото количество надвишава това по документа"));
    EXPECT_TRUE(lines().isEditing());
    EXPECT_EQ(lines().value(f("TRANZ_RED_IZNESENO")).toDouble(), 5);
    EXPECT_EQ(QApplication::focusWidget(), area->edtTaken());
}

TEST_F(DeliveryEditor, NewLineOnAnUntouchedLineStoresItAsItIs)
{
    newLine();
    newLine();
    EXPECT_TRUE(dialogs.shown.empty());
    const auto stored = dm->QueryRows(f("select TRANZ_RED_NOM_ID, TRANZ_RED_KOL1, TRANZ_RED_TYPE_ID from TRANZ_RED "
                                        "where TRANZ_RED_TRANZ_ID = :ID"),
                                      {{f("ID"), window->model().documentId()}});
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][0].toInt(), 1);
    EXPECT_EQ(stored[0][1].toDouble(), 0);
    EXPECT_EQ(stored[0][2].toInt(), 1);
    EXPECT_TRUE(lines().isEditing());
}

TEST_F(DeliveryEditor, TheReceiptStoresANewDeliveryPrintsItsValuesAndCloses)
{
    EXPECT_FALSE(window->btnReceipt()->isEnabled());
    window->edtNumber()->setFocus();
    window->edtNote()->setFocus();
    pickFromEmpty(window->cbCounterpartyCode(), 0);
    EXPECT_EQ(header().value(f("TRANZ_KONT_ID")).toInt(), 2);

    newLine();
    chooseGoods(1);
    typeInto(area->edtPrice(), QStringLiteral("2.5"));
    typeInto(area->edtDiscount(), QStringLiteral("10"));
    typeInto(area->edtQuantity(), QStringLiteral("4"));
    area->edtTaken()->setFocus(); // proposes the quantity
    storeLine();
    newLine();
    typeInto(area->edtPrice(), QStringLiteral("1.2"));
    typeInto(area->edtQuantity(), QStringLiteral("10"));
    EXPECT_TRUE(window->btnReceipt()->isEnabled());
    // Ten come on paper, none arrived yet; the line is still being edited.
    QTest::mouseClick(window->btnReceipt(), Qt::LeftButton);
    ASSERT_TRUE(dialogs.shown.empty()) << shownTexts().join(QLatin1Char('|')).toStdString();

    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), mrOk);
    const int id = window->model().documentId();
    ASSERT_EQ(printed, std::vector<int>{id});
    const auto stored = dm->QueryRows(f("select TRANZ_TYPE_ID, TRANZ_KONT_ID, TRANZ_SUM, TRANZ_DOCNO from TRANZ "
                                        "where TRANZ_ID = :ID"),
                                      {{f("ID"), id}});
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][0].toInt(), 12);
    EXPECT_EQ(stored[0][1].toInt(), 2);
    EXPECT_DOUBLE_EQ(stored[0][2].toDouble(), 21);
    EXPECT_EQ(stored[0][3].toInt(), 1);
    // Only what was received is in stock, though the sum is whole.
    EXPECT_EQ(dm->StockOnHand(2), 4);
    EXPECT_EQ(dm->StockOnHand(1), 0);

    // The supplier hands the goods over to the company.
    EXPECT_EQ(module.document(), TdmInvoice::Document::Receipt);
    EXPECT_EQ(module.Value(f("SEND_COMPANY")), QStringLiteral("Мелница АД"));
    EXPECT_EQ(module.Value(f("SEND_ADDRESS")), QStringLiteral("Пловдив, ул. Житна 3"));
    EXPECT_EQ(module.Value(f("SEND_TAXNO")), QStringLiteral("DN2"));
    EXPECT_EQ(module.Value(f("RECV_COMPANY")), QStringLiteral("Пекарна ООД"));
    EXPECT_EQ(module.Value(f("RECV_ADDRESS")), QStringLiteral("Смолян, бул. България 12"));
    EXPECT_EQ(module.Value(f("SUM_TOTAL")), QStringLiteral("21.00"));
    EXPECT_EQ(module.Value(f("DOC_NUM")), QStringLiteral("1"));
    EXPECT_EQ(module.Value(f("CURRENCY")), QDate::currentDate() < QDate(2026, 1, 1) ? QStringLiteral("лв.")
                                                                                      : QStringLiteral("EUR"));
    const std::vector<ReceiptRow> &rows = module.receiptRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].goods, QStringLiteral("Захар"));
    EXPECT_EQ(rows[0].unit, QStringLiteral("кг"));
    EXPECT_EQ(rows[0].quantity, 4);
    EXPECT_DOUBLE_EQ(rows[0].price, 2.25);
    EXPECT_EQ(rows[1].goods, QStringLiteral("Брашно"));
    EXPECT_EQ(rows[1].quantity, 10);
    EXPECT_TRUE(TakeParam(f("INVOICE:KNAME")).isNull()); // nothing left for the next print
}

TEST_F(DeliveryEditor, AReceiptThatFailsTheCheckStoresAndPrintsNothing)
{
    window->edtNumber()->setFocus();
    window->edtNote()->setFocus();
    newLine();
    typeInto(area->edtQuantity(), QStringLiteral("1"));
    QTest::mouseClick(window->btnReceipt(), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Моля, попълнете Доставчик (код/име)!"));
    EXPECT_EQ(QApplication::focusWidget(), window->cbCounterpartyCode());
    EXPECT_TRUE(printed.empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(lines().isEditing());
    EXPECT_EQ(dm->QueryValue(f("select count(*) from TRANZ")).toInt(), 0);
}

TEST_F(DeliveryEditor, TheEntryDateIsSkippedByTabAndTheDueDateIsToday)
{
    EXPECT_EQ(window->edtDate()->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(header().value(f("TRANZ_PADEJ")).toDate(), QDate::currentDate());
    EXPECT_EQ(window->edtDueDate()->toolTip(), QStringLiteral("Изберете дата на плащане"));
}

} // namespace
