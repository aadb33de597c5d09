#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmBrak.h"
#include "support/GuiTest.h"
#include "support/StockData.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const bool kDotDecimals = (QLocale::setDefault(QLocale::c()), true);

QString f(const char *name)
{
    return QString::fromLatin1(name);
}

class ScrapEditor : public GuiDatabaseTest
{
protected:
    ScrapEditor()
    {
        addGoods(*dm, 1, 1, QStringLiteral("Брашно"), 1.2);
        addGoods(*dm, 2, 2, QStringLiteral("Захар"), 2.5);
        // Ten of each came in yesterday.
        addDocument(*dm, 90, 12, 1, QDateTime::currentDateTime().addDays(-1));
        addLine(*dm, 901, 90, 1, 1, 10, 10);
        addLine(*dm, 902, 90, 2, 1, 10, 10);
        dm->ExecSQL(f("update TRANZ set TRANZ_DOCNO = 41"));
        dm->qNom().reopen();
    }

    void openNew()
    {
        window = std::make_unique<TfrmBrak>();
        window->NewDocument();
        show();
    }
    void openExisting(int id)
    {
        window = std::make_unique<TfrmBrak>();
        window->OpenDocument(id);
        show();
    }
    void show()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        area = window->lineArea();
    }
    documents::DocumentModel &model() { return window->model(); }
    db::Dataset &lines() { return area->area().lines(); }

    // Types into a box as the user does: focus, select what is there, type.
    static void typeInto(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        typeText(box, text);
    }
    // A new line with the n-th goods of the list, a price and a quantity.
    void enterLine(int goodsRow, const QString &price, const QString &quantity)
    {
        QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
        area->cbGoodsName()->setFocus();
        for (int i = 0; i <= goodsRow; ++i)
            QTest::keyClick(area->cbGoodsName(), Qt::Key_Down);
        typeInto(area->edtPrice(), price);
        typeInto(area->edtQuantity(), quantity);
    }
    void storeLine() { QTest::mouseClick(area->btnSaveLine(), Qt::LeftButton); }
    int storedLines()
    {
        return dm->QueryValue(f("select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID"), QString(),
                              {{f("ID"), model().documentId()}})
            .toInt();
    }
    QStringList shownTexts()
    {
        QStringList texts;
        for (const auto &shown : dialogs.shown)
            texts << shown.text;
        return texts;
    }

    std::unique_ptr<TfrmBrak> window;
    StockLineArea *area = nullptr;
};

TEST_F(ScrapEditor, TheNumberIsProposedOnEntryIntoTheField)
{
    openNew();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Бракуване"));
    EXPECT_FALSE(window->btnDestroy()->isEnabled());
    window->edtNumber()->setFocus();
    EXPECT_EQ(window->edtNumber()->text(), QStringLiteral("000042"));
    window->edtNote()->setFocus();
    EXPECT_EQ(model().header().value(f("TRANZ_DOCNO")).toInt(), 42);
    EXPECT_EQ(window->edtNumber()->text(), QStringLiteral("000042"));
}

TEST_F(ScrapEditor, TheNumberAfter999999HasSevenDigitsAndAnEmptyDatabaseStartsAt000001)
{
    dm->ExecSQL(f("update TRANZ set TRANZ_DOCNO = 999999"));
    openNew();
    window->edtNumber()->setFocus();
    EXPECT_EQ(window->edtNumber()->text(), QStringLiteral("1000000"));
    window->edtNote()->setFocus();
    EXPECT_EQ(model().header().value(f("TRANZ_DOCNO")).toInt(), 1000000);

    dm->ExecSQL(f("delete from TRANZ_RED"));
    dm->ExecSQL(f("delete from TRANZ"));
    openNew();
    window->edtNumber()->setFocus();
    EXPECT_EQ(window->edtNumber()->text(), QStringLiteral("000001"));
}

TEST_F(ScrapEditor, AStoredLineLowersTheStockAtOnceAndAPriceOf0IsAccepted)
{
    openNew();
    EXPECT_TRUE(area->btnNewLine()->isVisible());
    EXPECT_FALSE(area->btnSaveLine()->isVisible());
    EXPECT_FALSE(area->btnDeleteLine()->isEnabled());

    enterLine(1, QStringLiteral("0"), QStringLiteral("4"));
    EXPECT_EQ(lines().value(f("TRANZ_RED_NOM_ID")).toInt(), 2);
    EXPECT_FALSE(area->grid()->isEnabled());
    EXPECT_FALSE(area->btnNewLine()->isVisible());
    EXPECT_FALSE(area->btnDeleteLine()->isVisible());
    EXPECT_TRUE(area->btnSaveLine()->isVisible());
    EXPECT_TRUE(area->btnCancelLine()->isVisible());
    EXPECT_EQ(area->edtStockOnHand()->text(), QStringLiteral("10"));

    storeLine();
    EXPECT_TRUE(dialogs.shown.empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(storedLines(), 1);
    // Other workstations count the line once its document is stored; the
    // editor counts it at once.
    EXPECT_EQ(dm->StockOnHand(2), 10);
    EXPECT_EQ(area->edtStockOnHand()->text(), QStringLiteral("6"));
    EXPECT_TRUE(area->grid()->isEnabled());
    EXPECT_TRUE(area->btnNewLine()->isVisible());
    EXPECT_TRUE(area->btnDeleteLine()->isEnabled());

    window->edtNumber()->setFocus();
    window->edtNote()->setFocus();
    QTest::keyClick(window->edtNote(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), mrOk);
    const auto header = dm->QueryRows(f("select TRANZ_KONT_ID, TRANZ_SUM, TRANZ_TYPE_ID, TRANZ_DOCNO from TRANZ "
                                        "where TRANZ_ID = :ID"),
                                      {{f("ID"), model().documentId()}});
    ASSERT_EQ(header.size(), 1u);
    EXPECT_EQ(header[0][0].toInt(), -1);
    EXPECT_EQ(header[0][1].toDouble(), 0); // a price of 0 adds nothing
    EXPECT_EQ(header[0][2].toInt(), 13);
    EXPECT_EQ(header[0][3].toInt(), 42);
}

TEST_F(ScrapEditor, ClosingANewDocumentAsksAndYesRemovesItsStoredLines)
{
    openNew();
    enterLine(0, QStringLiteral("1.5"), QStringLiteral("2"));
    storeLine();
    ASSERT_EQ(storedLines(), 1);

    dialogs.answers = {mrNo};
    QTest::keyClick(window.get(), Qt::Key_Escape);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Отказвате ли се от направените промени?"));
    EXPECT_EQ(dialogs.shown[0].buttons, mbYes | mbNo);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(storedLines(), 1);
    EXPECT_EQ(lines().recordCount(), 1);

    dialogs.answers = {mrYes};
    QTest::mouseClick(window->btnCancel(), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(storedLines(), 0);
    EXPECT_EQ(dm->QueryValue(f("select count(*) from TRANZ where TRANZ_TYPE_ID = 13")).toInt(), 0);
    EXPECT_EQ(dm->StockOnHand(1), 10);
}

TEST_F(ScrapEditor, ALineWithoutQuantityIsDeletedWithoutAQuestionAnotherAfterOne)
{
    openNew();
    enterLine(0, QStringLiteral("1"), QStringLiteral("0"));
    storeLine();
    enterLine(1, QStringLiteral("1"), QStringLiteral("3"));
    storeLine();
    ASSERT_EQ(storedLines(), 2);

    lines().first();
    QTest::mouseClick(area->btnDeleteLine(), Qt::LeftButton);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(storedLines(), 1);

    dialogs.answers = {mrNo};
    QTest::mouseClick(area->btnDeleteLine(), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Отказвате ли 3.0000 кг от Захар?"));
    EXPECT_EQ(storedLines(), 1);
    dialogs.answers = {mrYes};
    QTest::mouseClick(area->btnDeleteLine(), Qt::LeftButton);
    EXPECT_EQ(storedLines(), 0);
    EXPECT_FALSE(area->btnDeleteLine()->isEnabled());
}

TEST_F(ScrapEditor, AnEmptyDocumentStartsALineAndAPendingLineThatCannotBeStoredStopsTheSave)
{
    openNew();
    window->edtNumber()->setFocus();
    window->edtNote()->setFocus();
    QTest::mouseClick(window->btnSave(), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u); // the line just started is not refused at once
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Документът е празен! Въведете стоки!"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(dialogs.shown[0].buttons, TMsgDlgButtons(mbOK));
    EXPECT_TRUE(lines().isEditing());
    EXPECT_EQ(QApplication::focusWidget(), area->cbCategoryCode());

    // A line without goods would be lost if the save went on.
    typeInto(area->edtQuantity(), QStringLiteral("2"));
    QTest::mouseClick(window->btnSave(), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Моля, изберете артикул!"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(lines().isEditing());
    EXPECT_EQ(lines().value(f("TRANZ_RED_KOL1")).toDouble(), 2);
    EXPECT_EQ(dm->QueryValue(f("select count(*) from TRANZ where TRANZ_TYPE_ID = 13")).toInt(), 0);
    EXPECT_EQ(QApplication::focusWidget(), area->cbGoodsCode());
}

TEST_F(ScrapEditor, ACheckOfTheHeaderStillStoresTheLineBeingEdited)
{
    openNew();
    enterLine(0, QStringLiteral("2"), QStringLiteral("1"));
    QTest::mouseClick(window->btnSave(), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Моля, попълнете № на документа!"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(storedLines(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), window->edtNumber());
}

TEST_F(ScrapEditor, CancellingALineAsks)
{
    openNew();
    enterLine(0, QStringLiteral("2"), QStringLiteral("1"));
    dialogs.answers = {mrNo};
    QTest::mouseClick(area->btnCancelLine(), Qt::LeftButton);
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral("Желаете ли да се откажете от текущия запис?"));
    EXPECT_TRUE(lines().isEditing());
    dialogs.answers = {mrYes};
    QTest::mouseClick(area->btnCancelLine(), Qt::LeftButton);
    EXPECT_FALSE(lines().isEditing());
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(storedLines(), 0);
}

TEST_F(ScrapEditor, DestroyingAStoredDocumentAsksThenRemovesItWhole)
{
    addDocument(*dm, 5, 13, -1, QDateTime::currentDateTime());
    addLine(*dm, 51, 5, 1, -1, 2, 2, 1.5);
    openExisting(5);
    EXPECT_TRUE(window->btnDestroy()->isEnabled());
    EXPECT_EQ(lines().recordCount(), 1);
    EXPECT_EQ(area->edtStockOnHand()->text(), QStringLiteral("8"));

    dialogs.answers = {mrNo};
    QTest::mouseClick(window->btnDestroy(), Qt::LeftButton);
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral(" Наистина ли желаете да УНИЩОЖИТЕ този документ? "));
    EXPECT_TRUE(window->isVisible());
    dialogs.answers = {mrYes};
    QTest::mouseClick(window->btnDestroy(), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs.shown.size(), 2u); // nothing asked about unsaved changes
    EXPECT_EQ(dm->QueryValue(f("select count(*) from TRANZ where TRANZ_ID = 5")).toInt(), 0);
    EXPECT_EQ(dm->QueryValue(f("select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = 5")).toInt(), 0);
}

TEST_F(ScrapEditor, TheDateKeysMoveTheEntryDateKeepingItsTime)
{
    openNew();
    const QDateTime created = model().header().value(f("TRANZ_TIME")).toDateTime();
    window->edtDate()->setFocus();
    QTest::keyClick(window->edtDate(), Qt::Key_PageDown);
    QTest::keyClick(window->edtDate(), Qt::Key_Up);
    const QDateTime moved = model().header().value(f("TRANZ_TIME")).toDateTime();
    EXPECT_EQ(moved.date(), created.date().addMonths(1).addDays(-1));
    EXPECT_EQ(moved.time(), created.time());
}

TEST_F(ScrapEditor, ACategoryNarrowsTheGoodsDropDown)
{
    dm->ExecSQL(QStringLiteral("insert into CATEGORY (ID, CODE, NAME) values (3, 3, 'Сладки')"));
    dm->ExecSQL(f("update NOM set NOM_CATEGORY_ID = 3 where NOM_ID = 2"));
    dm->qCategory().reopen();
    openNew();
    EXPECT_EQ(area->cbGoodsName()->count(), 2);
    QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
    QTest::keyClick(area->cbCategoryCode(), Qt::Key_Down);
    EXPECT_EQ(lines().value(f("TRANZ_RED_CAT_ID")).toInt(), 3);
    EXPECT_EQ(area->cbCategoryName()->currentText(), QStringLiteral("Сладки"));
    ASSERT_EQ(area->cbGoodsName()->count(), 1);
    EXPECT_EQ(area->cbGoodsName()->itemText(0), QStringLiteral("Захар"));
    dialogs.answers = {mrYes};
    window->reject();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dm->qNom().recordCount(), 2); // the shared list is whole again for other windows
}

} // namespace
