#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmProizvodstvo.h"
#include "support/GuiTest.h"
#include "support/StockData.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"

#include <QApplication>
#include <QFocusEvent>
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

class ProductionEditor : public GuiDatabaseTest
{
protected:
    ProductionEditor()
    {
        addGoods(*dm, 1, 1, QStringLiteral("Брашно"), 1.2);
        addGoods(*dm, 2, 2, QStringLiteral("Захар"), 2.5);
        addGoods(*dm, 3, 3, QStringLiteral("Хляб"), 4);
        // Ten of each material came in yesterday.
        addDocument(*dm, 90, 12, 1, QDateTime::currentDateTime().addDays(-1));
        addLine(*dm, 901, 90, 1, 1, 10, 10, 1);
        addLine(*dm, 902, 90, 2, 1, 10, 10, 2);
        dm->ExecSQL(f("update TRANZ set TRANZ_DOCNO = 41"));
        dm->AdjustCounters(data::CounterAdjustment::RaiseOnly);
        dm->qNom().reopen();
    }

    void openNew()
    {
        window = std::make_unique<TfrmProizvodstvo>();
        window->NewDocument();
        show();
    }
    void openExisting(int id)
    {
        window = std::make_unique<TfrmProizvodstvo>();
        window->OpenDocument(id);
        show();
    }
    void show()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    documents::DocumentModel &model() { return window->model(); }
    db::Dataset &header() { return model().header(); }
    static db::Dataset &lines(StockLineArea *area) { return area->area().lines(); }

    static void typeInto(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        typeText(box, text);
    }
    // Picks the n-th goods of the area's drop-down with the arrow keys.
    static void chooseGoods(StockLineArea *area, int goodsRow)
    {
        DBLookupCombo *combo = area->cbGoodsName();
        combo->setFocus();
        for (int i = 0; i < combo->count(); ++i)
            QTest::keyClick(combo, Qt::Key_Up);
        for (int i = 0; i < goodsRow; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
    }
    void enterMaterial(int goodsRow, const QString &price, const QString &quantity)
    {
        StockLineArea *area = window->materials();
        QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
        chooseGoods(area, goodsRow);
        typeInto(area->edtPrice(), price);
        typeInto(area->edtQuantity(), quantity);
    }
    void enterProduct(int goodsRow, const QString &quantity)
    {
        StockLineArea *area = window->products();
        QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
        chooseGoods(area, goodsRow);
        typeInto(area->edtQuantity(), quantity);
    }
    static void storeLine(StockLineArea *area) { QTest::mouseClick(area->btnSaveLine(), Qt::LeftButton); }
    void enterNumber()
    {
        window->edtNumber()->setFocus();
        window->edtNote()->setFocus();
    }
    int count(const char *sql)
    {
        return dm->QueryValue(QString::fromLatin1(sql), QString(), {{f("ID"), model().documentId()}}).toInt();
    }
    std::vector<QVariantList> storedHeader()
    {
        return dm->QueryRows(f("select TRANZ_KONT_ID, TRANZ_SUM, TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_PLATENO, TRANZ_TIME "
                               "from TRANZ where TRANZ_ID = :ID"),
                             {{f("ID"), model().documentId()}});
    }
    QStringList shownTexts()
    {
        QStringList texts;
        for (const auto &shown : dialogs.shown)
            texts << shown.text;
        return texts;
    }

    std::unique_ptr<TfrmProizvodstvo> window;
};

TEST_F(ProductionEditor, AnEmptyDocumentAsksForMaterialsThenForProductsAndStartsTheirLines)
{
    openNew();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Производство"));
    enterNumber();
    QTest::mouseClick(window->btnSave(), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Документът е празен! Въведете вложени материали!"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(dialogs.shown[0].buttons, TMsgDlgButtons(mbOK));
    EXPECT_TRUE(lines(window->materials()).isEditing());
    EXPECT_FALSE(lines(window->products()).isEditing());
    EXPECT_EQ(QApplication::focusWidget(), window->materials()->cbCategoryCode());

    chooseGoods(window->materials(), 0);
    typeInto(window->materials()->edtPrice(), QStringLiteral("1.5"));
    typeInto(window->materials()->edtQuantity(), QStringLiteral("2"));
    QTest::mouseClick(window->btnSave(), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 2u) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Документът е празен! Въведете произведена продукция!"));
    EXPECT_EQ(dialogs.shown[1].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(dialogs.shown[1].buttons, TMsgDlgButtons(mbOK));
    // The material being edited is stored; the product line waits for the user.
    EXPECT_FALSE(lines(window->materials()).isEditing());
    EXPECT_EQ(count("select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID"), 1);
    EXPECT_TRUE(lines(window->products()).isEditing());
    EXPECT_EQ(QApplication::focusWidget(), window->products()->cbCategoryCode());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(storedHeader().empty());
}

TEST_F(ProductionEditor, StoredLinesMoveStockAndTheDocumentIsWorthItsMaterials)
{
    openNew();
    StockLineArea *materials = window->materials();
    StockLineArea *products = window->products();
    enterMaterial(0, QStringLiteral("1.5"), QStringLiteral("2"));
    EXPECT_EQ(materials->edtStockOnHand()->text(), QStringLiteral("10"));
    // One line at a time, whichever area it is in.
    EXPECT_FALSE(materials->grid()->isEnabled());
    EXPECT_FALSE(products->grid()->isEnabled());
    EXPECT_FALSE(materials->btnNewLine()->isVisible());
    EXPECT_TRUE(materials->btnSaveLine()->isVisible());
    EXPECT_TRUE(products->btnNewLine()->isVisible());
    EXPECT_FALSE(products->btnSaveLine()->isVisible());
    storeLine(materials);
    EXPECT_TRUE(materials->grid()->isEnabled());
    EXPECT_TRUE(products->grid()->isEnabled());

    enterMaterial(1, QStringLiteral("2"), QStringLiteral("1.5"));
    storeLine(materials);
    EXPECT_FALSE(products->btnDeleteLine()->isEnabled());

    enterProduct(2, QStringLiteral("3"));
    EXPECT_FALSE(materials->grid()->isEnabled());
    EXPECT_FALSE(products->grid()->isEnabled());
    EXPECT_TRUE(materials->btnNewLine()->isVisible());
    storeLine(products);
    EXPECT_TRUE(dialogs.shown.empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(products->btnDeleteLine()->isEnabled());
    const auto product = dm->QueryRows(f("select TRANZ_RED_TYPE_ID, TRANZ_RED_KOL1, TRANZ_RED_IZNESENO, TRANZ_RED_CENA "
                                         "from TRANZ_RED where TRANZ_RED_NOM_ID = 3"));
    ASSERT_EQ(product.size(), 1u);
    EXPECT_EQ(product[0][0].toInt(), 1);
    EXPECT_EQ(product[0][1].toDouble(), 3);
    EXPECT_EQ(product[0][2].toDouble(), 3);
    EXPECT_EQ(product[0][3].toDouble(), 0);

    enterNumber();
    QTest::keyClick(window->edtNote(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.shown.empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), mrOk);
    const auto stored = storedHeader();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][0].toInt(), -1);
    EXPECT_DOUBLE_EQ(stored[0][1].toDouble(), 2 * 1.5 + 1.5 * 2);
    EXPECT_EQ(stored[0][2].toInt(), 10);
    EXPECT_EQ(stored[0][3].toInt(), 42);
    EXPECT_EQ(stored[0][4].toDouble(), 0);
    EXPECT_EQ(dm->StockOnHand(3), 3);
    EXPECT_EQ(dm->StockOnHand(1), 8);
    EXPECT_EQ(dm->StockOnHand(2), 8.5);

    // Opened again, each area reads the lines of its own sign.
    openExisting(model().documentId());
    EXPECT_EQ(lines(window->materials()).recordCount(), 2);
    EXPECT_EQ(window->materials()->edtStockOnHand()->text(), QStringLiteral("8"));
    ASSERT_EQ(lines(window->products()).recordCount(), 1);
    EXPECT_EQ(lines(window->products()).value(f("TRANZ_RED_NOM_ID")).toInt(), 3);
}

TEST_F(ProductionEditor, LinesAreRefusedByTheirAreasChecks)
{
    openNew();
    StockLineArea *materials = window->materials();
    QTest::mouseClick(materials->btnNewLine(), Qt::LeftButton);
    lines(materials).setValue(f("TRANZ_RED_CENA"), QVariant());
    storeLine(materials);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Моля, попълнете Цена/ед.мярка!"));
    EXPECT_EQ(QApplication::focusWidget(), materials->edtPrice());
    lines(materials).setValue(f("TRANZ_RED_CENA"), 1.0);
    lines(materials).setValue(f("TRANZ_RED_KOL1"), QVariant());
    storeLine(materials);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Моля, попълнете Количество!"));
    EXPECT_EQ(QApplication::focusWidget(), materials->edtQuantity());
    QTest::keyClick(materials->edtQuantity(), Qt::Key_1);
    storeLine(materials);
    EXPECT_EQ(dialogs.shown.size(), 2u);

    StockLineArea *products = window->products();
    QTest::mouseClick(products->btnNewLine(), Qt::LeftButton);
    lines(products).setValue(f("TRANZ_RED_NOM_ID"), QVariant());
    storeLine(products);
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[2].text, QStringLiteral("Моля, изберете артикул!"));
    EXPECT_EQ(QApplication::focusWidget(), products->cbGoodsCode());
    lines(products).setValue(f("TRANZ_RED_NOM_ID"), 3);
    lines(products).setValue(f("TRANZ_RED_KOL1"), QVariant());
    storeLine(products);
    ASSERT_EQ(dialogs.shown.size(), 4u);
    EXPECT_EQ(dialogs.shown[3].text, QStringLiteral("Моля, въведете Количество!"));
    EXPECT_EQ(QApplication::focusWidget(), products->edtQuantity());
    EXPECT_TRUE(lines(products).isEditing());
    EXPECT_EQ(count("select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID"), 1);
}

TEST_F(ProductionEditor, AFreshLineStartsOnTheFirstGoodsAndPassesAsItIs)
{
    openNew();
    StockLineArea *products = window->products();
    QTest::mouseClick(products->btnNewLine(), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), products->cbCategoryCode());
    EXPECT_EQ(lines(products).value(f("TRANZ_RED_NOM_ID")).toInt(), 1);
    EXPECT_EQ(lines(products).value(f("TRANZ_RED_TYPE_ID")).toInt(), 1);
    EXPECT_TRUE(lines(products).value(f("TRANZ_RED_ID")).isNull());
    // "Нов ред" again stores the pending line first.
    QTest::mouseClick(window->materials()->btnNewLine(), Qt::LeftButton);
    storeLine(window->materials());
    QTest::mouseClick(products->btnNewLine(), Qt::LeftButton);
    storeLine(products);
    EXPECT_TRUE(dialogs.shown.empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    const auto stored = dm->QueryRows(f("select TRANZ_RED_TYPE_ID, count(*), count(distinct TRANZ_RED_ID), "
                                        "sum(TRANZ_RED_KOL1) from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID "
                                        "group by 1 order by 1"),
                                      {{f("ID"), model().documentId()}});
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0][0].toInt(), -1);
    EXPECT_EQ(stored[0][1].toInt(), 1);
    EXPECT_EQ(stored[1][0].toInt(), 1);
    EXPECT_EQ(stored[1][1].toInt(), 2);
    EXPECT_EQ(stored[1][2].toInt(), 2);
    EXPECT_EQ(stored[1][3].toDouble(), 0);
}

TEST_F(ProductionEditor, AMaterialsPriceIsProposedAndTheCatalogueMovesOnToIt)
{
    openNew();
    StockLineArea *materials = window->materials();
    QTest::mouseClick(materials->btnNewLine(), Qt::LeftButton);
    chooseGoods(materials, 1);
    materials->edtPrice()->setFocus();
    // The last price for the new document's counterparty, 1 (yesterday's delivery).
    EXPECT_EQ(lines(materials).value(f("TRANZ_RED_CENA")).toDouble(), 2);
    typeInto(materials->edtPrice(), QStringLiteral("3"));
    materials->edtQuantity()->setFocus();
    materials->edtPrice()->setFocus();
    EXPECT_EQ(lines(materials).value(f("TRANZ_RED_CENA")).toDouble(), 3);

    materials->chooseGoodsFromCatalogue = [] { return 1; };
    materials->cbGoodsName()->setFocus();
    QTest::keyClick(materials->cbGoodsName(), Qt::Key_Insert);
    EXPECT_EQ(lines(materials).value(f("TRANZ_RED_NOM_ID")).toInt(), 1);
    EXPECT_EQ(QApplication::focusWidget(), materials->edtPrice());
    storeLine(materials);

    StockLineArea *products = window->products();
    products->chooseGoodsFromCatalogue = [] { return 3; };
    QTest::mouseClick(products->btnNewLine(), Qt::LeftButton);
    QTest::mouseClick(products->btnGoodsCatalogue(), Qt::LeftButton);
    EXPECT_EQ(lines(products).value(f("TRANZ_RED_NOM_ID")).toInt(), 3);
    EXPECT_EQ(QApplication::focusWidget(), products->edtQuantity());
}

TEST_F(ProductionEditor, EachAreasCategoryNarrowsOnlyItsOwnGoods)
{
    dm->ExecSQL(QStringLiteral("insert into CATEGORY (ID, CODE, NAME) values (3, 3, 'Хлебни')"));
    dm->ExecSQL(f("update NOM set NOM_CATEGORY_ID = 3 where NOM_ID = 3"));
    dm->qCategory().reopen();
    openNew();
    StockLineArea *materials = window->materials();
    StockLineArea *products = window->products();
    QTest::mouseClick(products->btnNewLine(), Qt::LeftButton);
    QTest::keyClick(products->cbCategoryCode(), Qt::Key_Down);
    EXPECT_EQ(lines(products).value(f("TRANZ_RED_CAT_ID")).toInt(), 3);
    ASSERT_EQ(products->cbGoodsName()->count(), 1);
    EXPECT_EQ(products->cbGoodsName()->itemText(0), QStringLiteral("Хляб"));
    EXPECT_EQ(materials->cbGoodsName()->count(), 3);
    EXPECT_EQ(dm->qNom().recordCount(), 3);
}

TEST_F(ProductionEditor, MovingIntoTheDateFieldMakesItTheMomentOfEntry)
{
    const QDateTime lastWeek = QDateTime::currentDateTime().addDays(-7);
    addDocument(*dm, 5, 10, -1, lastWeek);
    addLine(*dm, 51, 5, 1, -1, 2, 2, 1.5);
    addLine(*dm, 52, 5, 3, 1, 1, 1);
    dm->ExecSQL(f("update TRANZ set TRANZ_DOCNO = 7, TRANZ_SUM = 3 where TRANZ_ID = 5"));
    openExisting(5);
    EXPECT_EQ(lines(window->materials()).recordCount(), 1);
    EXPECT_EQ(lines(window->products()).recordCount(), 1);
    EXPECT_LT(header().value(f("TRANZ_TIME")).toDateTime(), QDateTime::currentDateTime().addDays(-6));

    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    window->edtNote()->setFocus();
    QTest::keyClick(window->edtNote(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window->edtDate());
    const QDateTime entered = header().value(f("TRANZ_TIME")).toDateTime();
    EXPECT_GE(entered, before);
    EXPECT_LE(entered, QDateTime::currentDateTime());

    // A date typed by hand survives the window being activated again.
    header().setValue(f("TRANZ_TIME"), lastWeek);
    QFocusEvent comeBack(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(window->edtDate(), &comeBack);
    EXPECT_EQ(header().value(f("TRANZ_TIME")).toDateTime().date(), lastWeek.date());

    QTest::keyClick(window->edtDate(), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(window->edtNote(), Qt::Key_Tab);
    EXPECT_GE(header().value(f("TRANZ_TIME")).toDateTime(), before);
    QTest::mouseClick(window->btnSave(), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    const auto stored = storedHeader();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_GE(stored[0][5].toDateTime(), before);
    EXPECT_EQ(stored[0][0].toInt(), -1);
}

TEST_F(ProductionEditor, DestroyingANewDocumentRemovesItsStoredLinesAndAsksNothingMore)
{
    openNew();
    enterMaterial(0, QStringLiteral("1"), QStringLiteral("4"));
    storeLine(window->materials());
    enterProduct(2, QStringLiteral("1"));
    ASSERT_EQ(count("select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID"), 1);

    dialogs.answers = {mrNo};
    QTest::mouseClick(window->btnDestroy(), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral(" Наистина ли желаете да УНИЩОЖИТЕ този документ? "));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(count("select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID"), 1);

    dialogs.answers = {mrYes};
    QTest::mouseClick(window->btnDestroy(), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_NE(window->result(), mrOk);
    EXPECT_EQ(dialogs.shown.size(), 2u) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(count("select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID"), 0);
    EXPECT_TRUE(storedHeader().empty());
    // The documents stored before are untouched.
    EXPECT_EQ(dm->QueryValue(f("select count(*) from TRANZ_RED")).toInt(), 2);
}

} // namespace
