#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmStockDocument.h"
#include "support/GuiTest.h"
#include "support/StockData.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/DatasetModel.h"

#include <QApplication>
#include <QPushButton>
#include <QLocale>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace documents;
using namespace testing_support;

namespace {

const bool kDotDecimals = (QLocale::setDefault(QLocale::c()), true);

QString f(const char *name)
{
    return QString::fromLatin1(name);
}

// A document window with the line editors deliveries and sales have: the
// price and discount proposals, the taken quantity and the paid amount.
class frmPricedDocument : public TfrmStockDocument
{
public:
    frmPricedDocument()
        : TfrmStockDocument(kind(), QStringLiteral(" Доставка "))
    {
        addNumberField(QStringLiteral("Документ №"));
        paid = addPaidField(QStringLiteral("Изплатена сума"), QString());
        lines = addLineArea(0, QStringLiteral(" Съдържание "));
        lines->addGoodsFields(QStringLiteral("Артикул (код/наим.)"), QStringLiteral("Изберете артикул"),
                              QStringLiteral("Редактиране на Стоките"));
        lines->addPriceField(QStringLiteral("Цена/ед.мярка"), QString(), true);
        lines->addDiscountField(QStringLiteral("% Отстъпка"), QString());
        lines->addQuantityField(QStringLiteral("Количество"), QString());
        lines->addTakenField(QStringLiteral("Взето"), QString());
        lines->setNewLineShortcut();
        lines->setColumns({StockLineArea::column(LineColumn::Goods), StockLineArea::column(LineColumn::Sum),
                           StockLineArea::column(LineColumn::Discount)});
    }
    static DocumentKind kind()
    {
        LineAreaKind area;
        area.name = f("Lines");
        area.selectSql = f("select * from TRANZ_RED where TRANZ_RED_TRANZ_ID = :TRANZ_ID");
        area.sign = kIntoStock;
        area.newGoods = 1;
        area.takenWithinQuantity = true;
        DocumentKind kind;
        kind.type = Delivery;
        kind.areas = {area};
        kind.paidWithinTotal = true;
        return kind;
    }

    DBNumberEdit *paid;
    StockLineArea *lines;
};

class LineEditors : public GuiDatabaseTest
{
protected:
    LineEditors()
    {
        addGoods(*dm, 1, 1, QStringLiteral("Брашно"), 1.2);
        addGoods(*dm, 2, 2, QStringLiteral("Захар"), 2.5);
        dm->qNom().reopen();
        window.NewDocument();
        window.show();
        QApplication::setActiveWindow(&window);
        lines = &window.lines->area().lines();
    }
    static void typeInto(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        typeText(box, text);
    }
    QVariant value(const char *name) { return lines->value(f(name)); }

    frmPricedDocument window;
    db::Dataset *lines = nullptr;
};

TEST_F(LineEditors, TheDiscountBoxStoresOnlyWhatDiffersByHalfATenthOfAPercent)
{
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(lines->isEditing());
    typeInto(window.lines->edtPrice(), QStringLiteral("10.00"));
    typeInto(window.lines->edtQuantity(), QStringLiteral("2.5"));
    typeInto(window.lines->edtDiscount(), QStringLiteral("10"));
    EXPECT_DOUBLE_EQ(value("TRANZ_RED_OTSTUPKA").toDouble(), 0.1);
    window.lines->btnSaveLine()->click();
    ASSERT_FALSE(lines->isEditing());
    const DatasetModel *grid = window.lines->grid()->datasetModel();
    EXPECT_EQ(grid->data(grid->index(0, 1)).toString(), QStringLiteral("22.5000"));
    EXPECT_EQ(grid->data(grid->index(0, 2)).toString(), QStringLiteral("10 %"));
    EXPECT_DOUBLE_EQ(window.model().total(), 22.5);

    typeInto(window.lines->edtDiscount(), QStringLiteral("10.04"));
    EXPECT_DOUBLE_EQ(value("TRANZ_RED_OTSTUPKA").toDouble(), 0.1);
    window.lines->edtPrice()->setFocus(); // leaving the box writes nothing either
    EXPECT_EQ(window.lines->edtDiscount()->text(), QStringLiteral("10"));
    EXPECT_DOUBLE_EQ(value("TRANZ_RED_OTSTUPKA").toDouble(), 0.1);

    typeInto(window.lines->edtDiscount(), QStringLiteral("10.06"));
    EXPECT_DOUBLE_EQ(value("TRANZ_RED_OTSTUPKA").toDouble(), 0.1006);
    window.lines->btnSaveLine()->click();
    EXPECT_DOUBLE_EQ(dm->QueryValue(f("select TRANZ_RED_OTSTUPKA from TRANZ_RED")).toDouble(), 0.1006);
    EXPECT_EQ(window.lines->edtDiscount()->text(), QStringLiteral("10.06"));
}

TEST_F(LineEditors, ACancelledLineShowsItsStoredDiscountAgain)
{
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    typeInto(window.lines->edtDiscount(), QStringLiteral("5"));
    window.lines->btnSaveLine()->click();
    ASSERT_FALSE(lines->isEditing());
    typeInto(window.lines->edtDiscount(), QStringLiteral("7.5"));
    EXPECT_TRUE(lines->isEditing());
    EXPECT_DOUBLE_EQ(value("TRANZ_RED_OTSTUPKA").toDouble(), 0.075);
    dialogs.answers = {mrYes};
    window.lines->btnCancelLine()->click();
    EXPECT_DOUBLE_EQ(value("TRANZ_RED_OTSTUPKA").toDouble(), 0.05);
    EXPECT_EQ(window.lines->edtDiscount()->text(), QStringLiteral("5"));
}

TEST_F(LineEditors, ANonNumericDiscountIsRefusedOnLeaving)
{
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    typeInto(window.lines->edtDiscount(), QStringLiteral("5"));
    typeInto(window.lines->edtDiscount(), QStringLiteral("пет"));
    window.lines->edtPrice()->setFocus();
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral("\"пет\" не е валидно число."));
    EXPECT_DOUBLE_EQ(value("TRANZ_RED_OTSTUPKA").toDouble(), 0.05);
    EXPECT_EQ(window.lines->edtDiscount()->text(), QStringLiteral("5"));
}

TEST_F(LineEditors, PriceDiscountTakenAndPaidAreProposedOnEntry)
{
    // The counterparty's newest document had goods 2 at 3.00 less 5 %.
    dm->ExecSQL(QStringLiteral("insert into KONTR (KONTR_ID, KONTR_NAME, KONTR_IS_CLIENT) values (2, 'Доставчик', 1)"));
    addDocument(*dm, 90, 12, 2, QDateTime::currentDateTime().addDays(-1));
    addLine(*dm, 901, 90, 2, 1, 1, 1, 3.0, 0.05);
    window.model().header().setValue(f("TRANZ_KONT_ID"), 2);

    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    window.lines->edtPrice()->setFocus();
    EXPECT_DOUBLE_EQ(value("TRANZ_RED_CENA").toDouble(), 1.2); // goods 1 was not on it: its sell price
    lines->setValue(f("TRANZ_RED_NOM_ID"), 2);
    lines->setValue(f("TRANZ_RED_CENA"), 0.0);
    window.lines->edtQuantity()->setFocus();
    window.lines->edtPrice()->setFocus();
    EXPECT_DOUBLE_EQ(value("TRANZ_RED_CENA").toDouble(), 3.0);
    window.lines->edtDiscount()->setFocus();
    EXPECT_DOUBLE_EQ(value("TRANZ_RED_OTSTUPKA").toDouble(), 0.05);
    EXPECT_EQ(window.lines->edtDiscount()->text(), QStringLiteral("5"));
    typeInto(window.lines->edtQuantity(), QStringLiteral("4"));
    window.lines->edtTaken()->setFocus();
    EXPECT_EQ(value("TRANZ_RED_IZNESENO").toDouble(), 4);
    window.lines->btnSaveLine()->click();
    ASSERT_FALSE(lines->isEditing());

    window.paid->setFocus();
    EXPECT_DOUBLE_EQ(window.model().header().value(f("TRANZ_PLATENO")).toDouble(), 4 * 3.0 * 0.95);
}

TEST_F(LineEditors, TheLastDiscountButtonWorksOnlyWhileALineIsEdited)
{
    EXPECT_FALSE(window.lines->btnLastDiscount()->isEnabled());
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(window.lines->btnLastDiscount()->isEnabled());
    lines->setValue(f("TRANZ_RED_OTSTUPKA"), 0.2);
    window.lines->btnLastDiscount()->click();
    EXPECT_EQ(value("TRANZ_RED_OTSTUPKA").toDouble(), 0); // nothing was sold to anyone before
    EXPECT_EQ(window.lines->edtDiscount()->text(), QStringLiteral("0"));
}

TEST_F(LineEditors, InsertInTheGoodsChoosesFromTheCatalogueAndMovesOnToThePrice)
{
    int asked = 0;
    window.lines->chooseGoodsFromCatalogue = [&] {
        ++asked;
        return 2;
    };
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    window.lines->cbGoodsName()->setFocus();
    QTest::keyClick(window.lines->cbGoodsName(), Qt::Key_Insert);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(value("TRANZ_RED_NOM_ID").toInt(), 2);
    EXPECT_EQ(window.lines->cbGoodsName()->currentText(), QStringLiteral("Захар"));
    EXPECT_EQ(QApplication::focusWidget(), window.lines->edtPrice());

    // Nothing chosen leaves the line as it was.
    window.lines->chooseGoodsFromCatalogue = [&] { return -1; };
    window.lines->btnGoodsCatalogue()->click();
    EXPECT_EQ(value("TRANZ_RED_NOM_ID").toInt(), 2);
}

} // namespace
