#include "catalogues/BarcodeRules.h"
#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/EditorDriving.h"
#include "documents/SaleDocument.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmAmbalaj.h"
#include "documents/TfrmProdajbi.h"
#include "invoicing/TdmInvoice.h"
#include "support/GuiTest.h"
#include "support/StockData.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/DatasetModel.h"
#include "ui/TDictionary.h"

#include <QAction>
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

class SaleEditor : public GuiDatabaseTest
{
protected:
    SaleEditor()
    {
        addGoods(*dm, 1, 1, QStringLiteral("Брашно"), 1.2);
        addGoods(*dm, 2, 2, QStringLiteral("Захар"), 2.5);
        addPackaging(*dm, 3, 3, QStringLiteral("Каса"));
        addPackaging(*dm, 4, 4, QStringLiteral("Бидон"));
        addCounterparty(*dm, 2, 2, QStringLiteral("Мелница АД"), 1);
        addCounterparty(*dm, 3, 3, QStringLiteral("Фурна ЕТ"), 0, QStringLiteral("Смолян"), QStringLiteral("ул. Родопи 1"));
        addCounterparty(*dm, 4, 4, QStringLiteral("Търговец ООД"), 2);
        // A hundred of each came in yesterday.
        addDocument(*dm, 90, 12, 2, QDateTime::currentDateTime().addDays(-1));
        addLine(*dm, 901, 90, 1, 1, 100, 100, 1);
        addLine(*dm, 902, 90, 2, 1, 100, 100, 2);
        dm->qNom().reopen();
        dm->qAmbalaj().reopen();
        window = std::make_unique<TfrmProdajbi>();
        window->printReceipt = [this](int id) {
            printed.push_back(id);
            module.PrepareReceipt(id);
        };
        window->NewDocument();
        window->show();
        QApplication::setActiveWindow(window.get());
        area = window->lineArea();
    }
    ~SaleEditor() override { ParamBoard().clear(); }

    db::Dataset &lines() { return area->area().lines(); }
    db::Dataset &packaging() { return window->model().area(documents::SalePackaging).lines(); }
    db::Dataset &header() { return window->model().header(); }
    int id() { return window->model().documentId(); }
    void storeLine() { QTest::mouseClick(area->btnSaveLine(), Qt::LeftButton); }
    // A goods line: the n-th goods, price, quantity and taken as typed.
    void enterLine(int goodsRow, const QString &price, const QString &quantity, const QString &taken)
    {
        QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
        pickDownTo(area->cbGoodsName(), goodsRow);
        typeInto(area->edtPrice(), price);
        typeInto(area->edtQuantity(), quantity);
        typeInto(area->edtTaken(), taken);
    }
    // Number and buyer, as the document check wants them.
    void fillHeader(int buyerRow = 0)
    {
        window->edtNumber()->setFocus();
        window->edtNote()->setFocus();
        pickFromEmpty(window->cbCounterpartyCode(), buyerRow);
    }
    int storedLines(int sign)
    {
        return dm->QueryValue(f("select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID and TRANZ_RED_TYPE_ID = :S"),
                              QString(), {{f("ID"), id()}, {f("S"), sign}})
            .toInt();
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
    std::unique_ptr<TfrmProdajbi> window;
    StockLineArea *area = nullptr;
};

TEST_F(SaleEditor, OffersClientsOnlyAndNeverTheCompany)
{
    QComboBox *names = window->cbCounterpartyName();
    ASSERT_EQ(names->count(), 2);
    EXPECT_EQ(names->itemText(0), QStringLiteral("Фурна ЕТ"));
    EXPECT_EQ(names->itemText(1), QStringLiteral("Търговец ООД"));
    EXPECT_EQ(window->cbCounterpartyCode()->itemText(0), QStringLiteral("000003"));
}

TEST_F(SaleEditor, TenSoldWithFourTakenTakeFourOutAndLeaveSixOutstanding)
{
    fillHeader();
    enterLine(0, QStringLiteral("1.5"), QStringLiteral("10"), QStringLiteral("4"));
    EXPECT_EQ(area->edtStockOnHand()->text(), QStringLiteral("100"));
    storeLine();
    QTest::keyClick(window->edtNote(), Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(dialogs.shown.empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(window->result(), mrOk);
    EXPECT_EQ(dm->StockOnHand(1), 96);
    const auto line = dm->QueryRows(f("select TRANZ_RED_KOL1 - TRANZ_RED_IZNESENO, TRANZ_RED_TYPE_ID, TRANZ_RED_KOL2 "
                                      "from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID"),
                                    {{f("ID"), id()}});
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0][0].toDouble(), 6);
    EXPECT_EQ(line[0][1].toInt(), -1);
    EXPECT_EQ(line[0][2].toDouble(), 0);
    EXPECT_DOUBLE_EQ(dm->QueryValue(f("select TRANZ_SUM from TRANZ where TRANZ_ID = :ID"), QString(), {{f("ID"), id()}})
                         .toDouble(),
                     15);
}

TEST_F(SaleEditor, ThePackagingWindowOffersPackagingOnlyAndStartsALineOnAnEmptySale)
{
    std::unique_ptr<TfrmAmbalaj> returns = window->OpenPackaging();
    returns->show();
    StockLineArea *back = returns->lineArea();
    EXPECT_EQ(returns->windowTitle(), QStringLiteral("Амбалаж"));
    EXPECT_TRUE(packaging().isEditing());
    EXPECT_EQ(packaging().state(), db::Dataset::State::Insert);
    EXPECT_FALSE(packaging().value(f("TRANZ_RED_ID")).isNull()); // drawn as the line is made
    ASSERT_EQ(back->cbGoodsName()->count(), 2);
    EXPECT_EQ(back->cbGoodsName()->itemText(0), QStringLiteral("Бидон"));
    EXPECT_EQ(back->cbGoodsName()->itemText(1), QStringLiteral("Каса"));
    EXPECT_FALSE(back->grid()->isEnabled());
}

TEST_F(SaleEditor, PackagingTakesOnlyPackagingFromTheCatalogueAndDropsAnUntouchedLineOnClose)
{
    std::unique_ptr<TfrmAmbalaj> returns = window->OpenPackaging();
    returns->show();
    StockLineArea *back = returns->lineArea();
    back->chooseGoodsFromCatalogue = [] { return 1; }; // flour is no packaging
    back->ChooseGoods();
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_TRUE(packaging().value(f("TRANZ_RED_NOM_ID")).isNull());
    QTest::mouseClick(returns->btnClose(), Qt::LeftButton);
    EXPECT_FALSE(returns->isVisible());
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(storedLines(1), 0);

    returns = window->OpenPackaging();
    returns->show();
    returns->lineArea()->chooseGoodsFromCatalogue = [] { return 3; };
    returns->lineArea()->ChooseGoods();
    QTest::mouseClick(returns->btnClose(), Qt::LeftButton);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(storedLines(1), 1);
}

TEST_F(SaleEditor, TheDiscountLinesUpRightWithTheNumbers)
{
    enterLine(0, QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("1"));
    storeLine();
    const DatasetModel *model = area->grid()->datasetModel();
    for (int column = 0; column < model->columnCount(); ++column) {
        const QString name = model->columns().at(size_t(column)).field;
        const auto align = model->data(model->index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>();
        const bool right = name == f("DISCOUNT_TEXT") || name == f("LINE_SUM");
        if (right || name == f("NOM_NAME"))
            EXPECT_EQ(align.testFlag(Qt::AlignRight), right) << name.toStdString();
    }
}

TEST_F(SaleEditor, PackagingTakesBackMoreThanItsQuantityAndCarriesNoValue)
{
    fillHeader();
    enterLine(1, QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("3"));
    storeLine();

    std::unique_ptr<TfrmAmbalaj> returns = window->OpenPackaging();
    returns->show();
    StockLineArea *back = returns->lineArea();
    pickDownTo(back->cbGoodsName(), 1);
    typeInto(back->edtQuantity(), QStringLiteral("5"));
    typeInto(back->edtTaken(), QStringLiteral("8"));
    QTest::mouseClick(back->btnSaveLine(), Qt::LeftButton);
    ASSERT_TRUE(dialogs.shown.empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(storedLines(1), 1);
    QTest::mouseClick(returns->btnClose(), Qt::LeftButton);
    EXPECT_FALSE(returns->isVisible());

    QTest::keyClick(window->edtNote(), Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(dialogs.shown.empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(dm->StockOnHand(3), 8);
    EXPECT_EQ(dm->StockOnHand(2), 97);
    EXPECT_DOUBLE_EQ(dm->QueryValue(f("select TRANZ_SUM from TRANZ where TRANZ_ID = :ID"), QString(), {{f("ID"), id()}})
                         .toDouble(),
                     6);
}

TEST_F(SaleEditor, PackagingLinesHaveTheirOwnChecksAndCloseStoresWithoutThem)
{
    std::unique_ptr<TfrmAmbalaj> returns = window->OpenPackaging();
    returns->show();
    QApplication::setActiveWindow(returns.get());
    StockLineArea *back = returns->lineArea();
    QTest::mouseClick(back->btnSaveLine(), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Моля, изберете Артикул!"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(QApplication::focusWidget(), back->cbGoodsCode());

    pickDownTo(back->cbGoodsName(), 0);
    packaging().setValue(f("TRANZ_RED_IZNESENO"), QVariant());
    QTest::mouseClick(back->btnSaveLine(), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Моля, въведете каква част е Взето!"));

    // "Затвори" stores the line as it stands.
    QTest::mouseClick(returns->btnClose(), Qt::LeftButton);
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_FALSE(returns->isVisible());
    EXPECT_EQ(storedLines(1), 1);

    // Opened again, the first line is in editing; leaving it unchanged asks nothing.
    returns = window->OpenPackaging();
    returns->show();
    EXPECT_EQ(packaging().state(), db::Dataset::State::Edit);
    EXPECT_EQ(packaging().value(f("TRANZ_RED_NOM_ID")).toInt(), 4);
    returns->reject();
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_FALSE(packaging().isEditing());
}

TEST_F(SaleEditor, AbandoningANewSaleWithOnlyPackagingLinesRemovesThem)
{
    std::unique_ptr<TfrmAmbalaj> returns = window->OpenPackaging();
    returns->show();
    StockLineArea *back = returns->lineArea();
    pickDownTo(back->cbGoodsName(), 0);
    typeInto(back->edtQuantity(), QStringLiteral("2"));
    typeInto(back->edtTaken(), QStringLiteral("2"));
    QTest::mouseClick(back->btnSaveLine(), Qt::LeftButton);
    returns->accept();
    ASSERT_EQ(storedLines(1), 1);
    EXPECT_TRUE(lines().isEmpty());

    dialogs.answers = {mrYes};
    QTest::mouseClick(window->btnCancel(), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral("Отказвате ли се от направените промени?"));
    EXPECT_EQ(storedLines(1), 0);
    EXPECT_EQ(dm->QueryValue(f("select count(*) from TRANZ where TRANZ_TYPE_ID = 11")).toInt(), 0);
}

TEST_F(SaleEditor, TheSellPriceButtonWritesTheGoodsPriceIntoTheLineBeingEdited)
{
    window->btnPrint(); // the print menu is there with its two commands
    EXPECT_EQ(window->actnReceipt()->text(), QStringLiteral("Разписка"));
    EXPECT_EQ(window->actnInvoice()->text(), QStringLiteral("Фактура"));
    enterLine(1, QStringLiteral("9"), QStringLiteral("1"), QStringLiteral("1"));
    QTest::mouseClick(area->btnSellPrice(), Qt::LeftButton);
    EXPECT_EQ(lines().value(f("TRANZ_RED_CENA")).toDouble(), 2.5);
    EXPECT_EQ(area->edtPrice()->text(), QStringLiteral("2.5000"));
    storeLine();

    // Without a line in editing the data layer refuses, and nothing changes.
    QTest::mouseClick(area->btnSellPrice(), Qt::LeftButton);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dm->QueryValue(f("select TRANZ_RED_CENA from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID"), QString(),
                             {{f("ID"), id()}})
                  .toDouble(),
              2.5);
}

TEST_F(SaleEditor, TheReceiptHasTheGoodsLinesOnlyAndTheCurrencyOfTheSalesDate)
{
    // A database still kept in leva: a sale of 2025 prints in leva.
    dm->ExecSQL(QStringLiteral("delete from APP_CONFIG where KEY_ID = 402"));
    fillHeader();
    header().setValue(f("TRANZ_TIME"), QDateTime(QDate(2025, 6, 30), QTime(10, 0)));
    enterLine(0, QStringLiteral("2"), QStringLiteral("2.5"), QStringLiteral("2.5"));
    typeInto(area->edtDiscount(), QStringLiteral("10"));
    storeLine();
    std::unique_ptr<TfrmAmbalaj> returns = window->OpenPackaging();
    pickDownTo(returns->lineArea()->cbGoodsName(), 0);
    returns->accept();
    ASSERT_EQ(storedLines(1), 1);

    window->actnReceipt()->trigger();
    ASSERT_TRUE(dialogs.shown.empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(printed, std::vector<int>{id()});
    // The company hands the goods over to the buyer.
    EXPECT_EQ(module.Value(f("SEND_COMPANY")), QStringLiteral("Собствена фирма"));
    EXPECT_EQ(module.Value(f("RECV_COMPANY")), QStringLiteral("Фурна ЕТ"));
    EXPECT_EQ(module.Value(f("RECV_ADDRESS")), QStringLiteral("Смолян, ул. Родопи 1"));
    EXPECT_EQ(module.Value(f("RECV_MOL")), QStringLiteral("МОЛ 3"));
    EXPECT_EQ(module.Value(f("CURRENCY")), QStringLiteral("лв."));
    EXPECT_EQ(module.Value(f("SUM_TOTAL")), QStringLiteral("4.50"));
    ASSERT_EQ(module.receiptRows().size(), 1u);
    EXPECT_EQ(module.receiptRows()[0].goods, QStringLiteral("Брашно"));
    EXPECT_DOUBLE_EQ(module.receiptRows()[0].price, 1.8);
    EXPECT_EQ(module.receiptRows()[0].quantity, 2.5);
}

TEST_F(SaleEditor, AnInvoiceFromTheSaleStoresItAndGathersTheBuyerAndTheGoodsLines)
{
    // A check that fails stores nothing and gives nothing.
    enterLine(1, QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("3"));
    storeLine();
    EXPECT_FALSE(window->startInvoiceFromSale().has_value());
    EXPECT_EQ(dm->QueryValue(f("select count(*) from TRANZ where TRANZ_TYPE_ID = 11")).toInt(), 0);
    dialogs.shown.clear();

    fillHeader(0);
    enterLine(0, QStringLiteral("4"), QStringLiteral("1.5"), QStringLiteral("0"));
    typeInto(area->edtDiscount(), QStringLiteral("25"));
    std::unique_ptr<TfrmAmbalaj> returns = window->OpenPackaging();
    pickDownTo(returns->lineArea()->cbGoodsName(), 1);
    returns->accept();

    std::vector<documents::SaleInvoice> started;
    window->invoiceFromSale = [&started](const documents::SaleInvoice &invoice) { started.push_back(invoice); };
    window->actnInvoice()->trigger();
    ASSERT_TRUE(dialogs.shown.empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), mrOk);
    EXPECT_EQ(dm->QueryValue(f("select count(*) from TRANZ where TRANZ_ID = :ID"), QString(), {{f("ID"), id()}}).toInt(), 1);
    EXPECT_EQ(storedLines(-1), 2); // the line being edited was stored too

    ASSERT_EQ(started.size(), 1u);
    const documents::SaleInvoice &invoice = started[0];
    EXPECT_EQ(invoice.saleId, id());
    EXPECT_EQ(invoice.buyerId.toInt(), 3);
    EXPECT_TRUE(invoice.buyerFound);
    EXPECT_EQ(invoice.name, QStringLiteral("Фурна ЕТ"));
    EXPECT_EQ(invoice.city, QStringLiteral("Смолян"));
    EXPECT_EQ(invoice.address, QStringLiteral("ул. Родопи 1"));
    EXPECT_EQ(invoice.taxNumber, QStringLiteral("DN3"));
    EXPECT_EQ(invoice.bulstat, QStringLiteral("BS3"));
    EXPECT_EQ(invoice.mol, QStringLiteral("МОЛ 3"));
    ASSERT_EQ(invoice.lines.size(), 2u); // the packaging is not invoiced
    EXPECT_EQ(invoice.lines[0].text, QStringLiteral("Захар"));
    EXPECT_EQ(invoice.lines[0].unit, QStringLiteral("кг"));
    EXPECT_EQ(invoice.lines[0].quantity, 3);
    EXPECT_DOUBLE_EQ(invoice.lines[0].price, 2);
    EXPECT_EQ(invoice.lines[1].text, QStringLiteral("Брашно"));
    EXPECT_EQ(invoice.lines[1].quantity, 1.5);
    EXPECT_DOUBLE_EQ(invoice.lines[1].price, 3);
}

TEST_F(SaleEditor, ScanningFindsTheItemAndTheSameItemAgainAddsOne)
{
    addBarcode(*dm, 1, QStringLiteral("4006381333931"));
    addBarcode(*dm, 2, QStringLiteral("96385074"));
    fillHeader();
    const auto scan = [this](const char *code) {
        area->cbGoodsName()->setFocus();
        QTest::keyClicks(area->cbGoodsName(), QString::fromLatin1(code));
        QTest::keyClick(area->cbGoodsName(), Qt::Key_Return);
    };
    const auto quantity = [this](int goods) {
        return dm->QueryValue(f("select sum(TRANZ_RED_KOL1) from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID and "
                                "TRANZ_RED_NOM_ID = :G"),
                              QString(), {{f("ID"), id()}, {f("G"), goods}})
            .toDouble();
    };
    QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
    scan("4006381333931");
    EXPECT_EQ(lines().value(f("TRANZ_RED_NOM_ID")).toInt(), 1);
    EXPECT_EQ(lines().value(f("TRANZ_RED_KOL1")).toDouble(), 1);
    scan("4006381333931"); // the line being edited grows
    typeInto(area->edtPrice(), QStringLiteral("1.5"));
    storeLine();
    QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
    scan("96385074");
    storeLine();
    QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
    scan("4006381333931"); // a stored line grows, no new line
    ASSERT_TRUE(dialogs.shown.empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(storedLines(-1), 2);
    EXPECT_EQ(quantity(1), 3);
    EXPECT_FALSE(lines().isEditing());

    QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
    scan("4006381333932");
    EXPECT_EQ(dialogs.errorTexts(), QStringList{QStringLiteral("Няма артикул с баркод или код \"4006381333932\".")});
    EXPECT_TRUE(lines().value(f("TRANZ_RED_NOM_ID")).isNull()); // the line as it was
    dm->SetConfigByName(scanAddsToLineKey(), QStringLiteral("0"));
    scan("2"); // a goods code as the code box shows it; switched off, a line of its own
    EXPECT_EQ(lines().value(f("TRANZ_RED_NOM_ID")).toInt(), 2);
    EXPECT_EQ(lines().value(f("TRANZ_RED_KOL1")).toDouble(), 0);
    typeInto(area->edtPrice(), QStringLiteral("2"));
    typeInto(area->edtQuantity(), QStringLiteral("1"));
    storeLine();
    QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
    scan("96385074");
    EXPECT_EQ(lines().state(), db::Dataset::State::Insert);
    EXPECT_EQ(lines().value(f("TRANZ_RED_NOM_ID")).toInt(), 2);
    EXPECT_EQ(storedLines(-1), 3);
}

} // namespace
