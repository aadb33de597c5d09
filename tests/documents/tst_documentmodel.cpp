#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/ScrapDocument.h"
#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"
#include "support/UncommittedChange.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace documents;
using namespace testing_support;

namespace {

const bool kDotDecimals = (QLocale::setDefault(QLocale::c()), true);

QString f(const char *name)
{
    return QString::fromLatin1(name);
}

// A document with a supplier and a paid amount, configured as deliveries
// are, for the rules scrap does not have.
DocumentKind deliveryLikeKind()
{
    LineAreaKind lines;
    lines.name = f("Lines");
    lines.selectSql = f("select * from TRANZ_RED where TRANZ_RED_TRANZ_ID = :TRANZ_ID");
    lines.sign = kIntoStock;
    lines.newGoods = 1;
    lines.takenWithinQuantity = true;
    lines.checks = {{f("TRANZ_RED_NOM_ID"), QStringLiteral("Моля, изберете артикул!")},
                    {f("TRANZ_RED_CENA"), QStringLiteral("Моля, попълнете цена/ед.мярка!")},
                    {f("TRANZ_RED_KOL1"), QStringLiteral("Моля, попълнете количество!")}};
    lines.emptyMessage = QStringLiteral("Документът е празен! Въведете стоки!");
    DocumentKind kind;
    kind.type = Delivery;
    kind.areas = {lines};
    kind.headerChecks = {documentNumberCheck(), entryDateCheck(),
                         {f("TRANZ_KONT_ID"), QStringLiteral("Моля, попълнете Доставчик (код/име)!")},
                         {f("TRANZ_PADEJ"), QStringLiteral("Моля, попълнете Дата на плащане!")},
                         {f("TRANZ_PLATENO"), QStringLiteral("Моля, попълнете Изплатена сума!")}};
    kind.paidWithinTotal = true;
    return kind;
}

class DocumentModelTest : public DatabaseTest
{
protected:
    DocumentModelTest()
    {
        addGoods(*dm, 1, 1, QStringLiteral("Брашно"), 1.2);
        addGoods(*dm, 2, 2, QStringLiteral("Захар"), 2.5);
        dm->ExecSQL(QStringLiteral("insert into CATEGORY (ID, CODE, NAME) values (3, 3, 'Сладки')"));
        dm->ExecSQL(f("update NOM set NOM_CATEGORY_ID = 3 where NOM_ID = 2"));
        dm->qNom().reopen();
        dm->qCategory().reopen();
    }

    QVariant stored(const QString &sql) { return dm->QueryValue(sql); }
    int lineCount(int document)
    {
        return dm->QueryValue(f("select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID"), QString(),
                              {{f("ID"), document}})
            .toInt();
    }

    // Appends a line and fills it in.
    static void enterLine(LineArea &area, const QVariant &goods, const QVariant &price, const QVariant &quantity)
    {
        area.newLine();
        db::Dataset &lines = area.lines();
        lines.setValue(f("TRANZ_RED_NOM_ID"), goods);
        lines.setValue(f("TRANZ_RED_CENA"), price);
        lines.setValue(f("TRANZ_RED_KOL1"), quantity);
    }
    static QString refusal(const std::function<void()> &action)
    {
        try {
            action();
        } catch (const db::FieldError &error) {
            return error.field() + QLatin1Char(' ') + error.message();
        }
        return QString();
    }
};

TEST_F(DocumentModelTest, ANewDocumentReservesItsIdAndStoresNothingUntilSaved)
{
    DocumentModel scrap(*dm, scrapKind());
    scrap.createNew();
    EXPECT_EQ(scrap.documentId(), 1);
    EXPECT_TRUE(scrap.isNew());
    EXPECT_FALSE(scrap.headerStored());
    EXPECT_TRUE(scrap.hasUnsavedChanges()); // its defaults are set
    db::Dataset &header = scrap.header();
    EXPECT_EQ(header.state(), db::Dataset::State::Insert);
    EXPECT_TRUE(header.value(f("TRANZ_ID")).isNull());
    EXPECT_EQ(header.value(f("TRANZ_TYPE_ID")).toInt(), 13);
    EXPECT_EQ(header.value(f("TRANZ_KONT_ID")).toInt(), 1);
    EXPECT_EQ(header.value(f("TRANZ_PLATENO")).toDouble(), 0);
    EXPECT_EQ(header.value(f("TRANZ_SUM")).toDouble(), 0);
    EXPECT_FALSE(header.value(f("TRANZ_TIME")).isNull());
    EXPECT_FALSE(header.value(f("TRANZ_PADEJ")).isNull());
    EXPECT_EQ(stored(f("select count(*) from TRANZ")).toInt(), 0);

    // Another document gets the next id though the first was never stored.
    DocumentModel other(*dm, scrapKind());
    other.createNew();
    EXPECT_EQ(other.documentId(), 2);
}

TEST_F(DocumentModelTest, TheNumberProposalReadsEveryTypeTogether)
{
    DocumentModel scrap(*dm, scrapKind());
    scrap.createNew();
    EXPECT_EQ(scrap.proposedNumber(), QStringLiteral("000001"));
    addDocument(*dm, 50, 12, 1, QDateTime::currentDateTime()); // a delivery numbered 50
    EXPECT_EQ(scrap.proposedNumber(), QStringLiteral("000051"));
    dm->ExecSQL(f("update TRANZ set TRANZ_DOCNO = 999999"));
    EXPECT_EQ(scrap.proposedNumber(), QStringLiteral("1000000"));
}

TEST_F(DocumentModelTest, ScrapLinesAreCheckedInOrderAndLeaveStockByTheirWholeQuantity)
{
    addDocument(*dm, 90, 12, 1, QDateTime::currentDateTime().addDays(-1));
    addLine(*dm, 900, 90, 1, 1, 10, 10);
    DocumentModel scrap(*dm, scrapKind());
    scrap.createNew();
    LineArea &lines = scrap.area(0);

    lines.newLine();
    EXPECT_EQ(lines.lines().value(f("TRANZ_RED_TYPE_ID")).toInt(), -1);
    EXPECT_EQ(lines.lines().value(f("TRANZ_RED_TRANZ_ID")).toInt(), scrap.documentId());
    EXPECT_TRUE(lines.lines().value(f("TRANZ_RED_NOM_ID")).isNull()); // a fresh line has no goods
    EXPECT_EQ(refusal([&] { lines.storeLine(); }), QStringLiteral("TRANZ_RED_NOM_ID Моля, изберете артикул!"));
    lines.lines().setValue(f("TRANZ_RED_NOM_ID"), 1);
    lines.lines().setValue(f("TRANZ_RED_CENA"), QVariant());
    EXPECT_EQ(refusal([&] { lines.storeLine(); }), QStringLiteral("TRANZ_RED_CENA Моля, попълнете цена/ед.мярка!"));
    lines.lines().setValue(f("TRANZ_RED_CENA"), 0.0);
    lines.lines().setValue(f("TRANZ_RED_KOL1"), QVariant());
    EXPECT_EQ(refusal([&] { lines.storeLine(); }), QStringLiteral("TRANZ_RED_KOL1 Моля, попълнете количество!"));
    EXPECT_EQ(lineCount(scrap.documentId()), 0);

    // Price 0 is a price; the whole quantity leaves stock at once.
    lines.lines().setValue(f("TRANZ_RED_KOL1"), 4.0);
    lines.storeLine();
    EXPECT_EQ(lineCount(scrap.documentId()), 1);
    EXPECT_EQ(stored(f("select TRANZ_RED_IZNESENO from TRANZ_RED where TRANZ_RED_NOM_ID = 1 and TRANZ_RED_TYPE_ID = -1"))
                  .toDouble(),
              4);
    // Elsewhere the lines count once the header is stored; here at once.
    EXPECT_EQ(dm->StockOnHand(1), 10);
    EXPECT_EQ(lines.stockOnHand(), 6);
    EXPECT_EQ(scrap.total(), 0);
}

TEST_F(DocumentModelTest, LineIdsComeFromTheLineCounterEachTimeEditingStarts)
{
    DocumentModel scrap(*dm, scrapKind());
    scrap.createNew();
    LineArea &lines = scrap.area(0);
    enterLine(lines, 1, 2.0, 1.0);
    lines.storeLine();
    const int first = lines.lines().value(f("TRANZ_RED_ID")).toInt();
    EXPECT_EQ(first, 1);

    // Editing the stored line spends a value and keeps its own id.
    lines.lines().edit();
    lines.lines().setValue(f("TRANZ_RED_KOL1"), 3.0);
    lines.storeLine();
    EXPECT_EQ(lines.lines().value(f("TRANZ_RED_ID")).toInt(), first);

    enterLine(lines, 2, 1.0, 1.0);
    lines.storeLine();
    EXPECT_EQ(lines.lines().value(f("TRANZ_RED_ID")).toInt(), 3);
}

TEST_F(DocumentModelTest, SavingScrapStoresTheValueAndNoCounterparty)
{
    DocumentModel scrap(*dm, scrapKind());
    scrap.createNew();
    EXPECT_EQ(scrap.check()->emptyArea, 0);
    EXPECT_EQ(scrap.check()->message, QStringLiteral("Документът е празен! Въведете стоки!"));
    enterLine(scrap.area(0), 1, 2.5, 4.0);
    EXPECT_EQ(scrap.check()->field, QStringLiteral("TRANZ_DOCNO")); // a line being edited counts
    scrap.header().setValue(f("TRANZ_DOCNO"), 7);
    scrap.header().setValue(f("TRANZ_TIME"), QVariant());
    EXPECT_EQ(scrap.check()->message, QStringLiteral("Моля, попълнете Дата на въвеждане!"));
    scrap.header().setValue(f("TRANZ_TIME"), QDateTime::currentDateTime());
    EXPECT_FALSE(scrap.check().has_value());

    scrap.save();
    EXPECT_TRUE(scrap.headerStored());
    EXPECT_FALSE(scrap.hasUnsavedChanges());
    const auto header = dm->QueryRows(f("select TRANZ_ID, TRANZ_DOCNO, TRANZ_TYPE_ID, TRANZ_KONT_ID, TRANZ_SUM, "
                                        "TRANZ_PLATENO from TRANZ"));
    ASSERT_EQ(header.size(), 1u);
    EXPECT_EQ(header[0][0].toInt(), scrap.documentId());
    EXPECT_EQ(header[0][1].toInt(), 7);
    EXPECT_EQ(header[0][2].toInt(), 13);
    EXPECT_EQ(header[0][3].toInt(), -1);
    EXPECT_DOUBLE_EQ(header[0][4].toDouble(), 10);
    EXPECT_EQ(header[0][5].toDouble(), 0);
    EXPECT_EQ(lineCount(scrap.documentId()), 1);
}

TEST_F(DocumentModelTest, ThePaidAmountWithinTheToleranceBecomesTheTotalBeyondItIsRefused)
{
    DocumentModel delivery(*dm, deliveryLikeKind());
    delivery.createNew();
    LineArea &lines = delivery.area(0);
    EXPECT_EQ(lines.lines().isEmpty(), true);
    lines.newLine();
    EXPECT_EQ(lines.lines().value(f("TRANZ_RED_NOM_ID")).toInt(), 1); // deliveries start on goods 1
    lines.lines().setValue(f("TRANZ_RED_CENA"), 10.0);
    lines.lines().setValue(f("TRANZ_RED_KOL1"), 2.5);
    lines.lines().setValue(f("TRANZ_RED_OTSTUPKA"), 0.1);
    lines.storeLine();
    EXPECT_DOUBLE_EQ(delivery.total(), 22.5);

    db::Dataset &header = delivery.header();
    header.setValue(f("TRANZ_DOCNO"), 1);
    header.setValue(f("TRANZ_KONT_ID"), 1);
    header.setValue(f("TRANZ_PLATENO"), 22.5002);
    EXPECT_EQ(refusal([&] { delivery.save(); }),
              QStringLiteral("TRANZ_PLATENO Платената сума надвишава тази по документа"));
    EXPECT_DOUBLE_EQ(header.value(f("TRANZ_PLATENO")).toDouble(), 22.5); // the box holds the total
    EXPECT_EQ(stored(f("select count(*) from TRANZ")).toInt(), 0);
    EXPECT_FALSE(delivery.headerStored());

    header.setValue(f("TRANZ_PLATENO"), 22.50005);
    delivery.save();
    EXPECT_EQ(stored(f("select TRANZ_PLATENO from TRANZ")).toDouble(), 22.5);
    EXPECT_EQ(stored(f("select TRANZ_SUM from TRANZ")).toDouble(), 22.5);
}

TEST_F(DocumentModelTest, ATakenQuantityAboveTheQuantityIsRefusedAndLowered)
{
    DocumentModel delivery(*dm, deliveryLikeKind());
    delivery.createNew();
    LineArea &lines = delivery.area(0);
    enterLine(lines, 1, 1.0, 5.0);
    lines.lines().setValue(f("TRANZ_RED_IZNESENO"), 7.0);
    EXPECT_EQ(refusal([&] { lines.storeLine(); }),
              QStringLiteral("TRANZ_RED_IZNESENO Взетото количество надвишава това по документа"));
    EXPECT_EQ(lines.lines().value(f("TRANZ_RED_IZNESENO")).toDouble(), 5);
    lines.storeLine();
    EXPECT_EQ(lineCount(delivery.documentId()), 1);
}

TEST_F(DocumentModelTest, AbandoningANewDocumentRemovesItsStoredLines)
{
    DocumentModel scrap(*dm, scrapKind());
    scrap.createNew();
    enterLine(scrap.area(0), 1, 1.0, 1.0);
    scrap.area(0).storeLine();
    enterLine(scrap.area(0), 2, 1.0, 2.0);
    EXPECT_EQ(lineCount(scrap.documentId()), 1);
    scrap.abandon();
    EXPECT_EQ(lineCount(scrap.documentId()), 0);
    EXPECT_FALSE(scrap.area(0).isEditing());
    EXPECT_EQ(stored(f("select count(*) from TRANZ")).toInt(), 0);
}

TEST_F(DocumentModelTest, ARefusedFirstSaveStillCountsAsNeverStored)
{
    DocumentModel delivery(*dm, deliveryLikeKind());
    delivery.createNew();
    enterLine(delivery.area(0), 1, 1.0, 1.0);
    delivery.area(0).storeLine();
    delivery.header().setValue(f("TRANZ_DOCNO"), 1);
    delivery.header().setValue(f("TRANZ_PLATENO"), 5.0);
    EXPECT_FALSE(refusal([&] { delivery.save(); }).isEmpty());
    // The id went into the header row, but the row is not in the database:
    // leaving must not keep the line without its header.
    EXPECT_FALSE(delivery.header().value(f("TRANZ_ID")).isNull());
    delivery.abandon();
    EXPECT_EQ(lineCount(delivery.documentId()), 0);
}

TEST_F(DocumentModelTest, AbandoningAnExistingDocumentKeepsItsLineChanges)
{
    addDocument(*dm, 5, 13, -1, QDateTime::currentDateTime());
    addLine(*dm, 51, 5, 1, -1, 2, 2, 1.5);
    addLine(*dm, 52, 5, 2, -1, 3, 3, 1.0);
    dm->ExecSQL(f("update TRANZ set TRANZ_SUM = 6 where TRANZ_ID = 5"));
    DocumentModel scrap(*dm, scrapKind());
    scrap.openExisting(5);
    EXPECT_FALSE(scrap.isNew());
    EXPECT_EQ(scrap.header().state(), db::Dataset::State::Edit);
    EXPECT_FALSE(scrap.hasUnsavedChanges());
    ASSERT_EQ(scrap.area(0).lines().recordCount(), 2);
    scrap.area(0).deleteLine();
    scrap.header().setValue(f("TRANZ_NOTE"), QStringLiteral("счупени"));
    EXPECT_TRUE(scrap.hasUnsavedChanges());
    scrap.abandon();
    EXPECT_EQ(lineCount(5), 1);
    EXPECT_EQ(stored(f("select TRANZ_SUM from TRANZ where TRANZ_ID = 5")).toDouble(), 3); // follows the lines
    EXPECT_TRUE(stored(f("select TRANZ_NOTE from TRANZ where TRANZ_ID = 5")).isNull());
}

TEST_F(DocumentModelTest, DestroyingRemovesTheLinesBeforeTheHeader)
{
    // A header deleted while a line of it remains is recorded.
    ASSERT_TRUE(dm->RunScriptStatement(f("create table HEADER_GONE (LINES_LEFT integer)")));
    dm->ExecSQL(f("create trigger TRANZ_GONE for TRANZ after delete as begin insert into HEADER_GONE "
                  "select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = old.TRANZ_ID; end"));
    addDocument(*dm, 5, 13, -1, QDateTime::currentDateTime());
    addLine(*dm, 51, 5, 1, -1, 2, 2);
    addLine(*dm, 52, 5, 2, -1, 3, 3);
    DocumentModel scrap(*dm, scrapKind());
    scrap.openExisting(5);
    scrap.destroy();
    EXPECT_TRUE(scrap.destroyed());
    EXPECT_FALSE(scrap.hasUnsavedChanges());
    EXPECT_EQ(stored(f("select LINES_LEFT from HEADER_GONE")).toInt(), 0);
    EXPECT_EQ(stored(f("select count(*) from TRANZ")).toInt(), 0);
    EXPECT_EQ(lineCount(5), 0);
}

TEST_F(DocumentModelTest, DeletingALineAsksOnlyWhenItHasAQuantity)
{
    DocumentModel scrap(*dm, scrapKind());
    scrap.createNew();
    LineArea &lines = scrap.area(0);
    enterLine(lines, 2, 1.0, 0.0);
    lines.storeLine();
    EXPECT_TRUE(lines.deleteQuestion().isEmpty());
    lines.deleteLine();
    EXPECT_EQ(lineCount(scrap.documentId()), 0);

    enterLine(lines, 2, 1.0, 2.5);
    lines.storeLine();
    EXPECT_EQ(lines.deleteQuestion(), QStringLiteral("Отказвате ли 2.5000 кг от Захар?"));
}

TEST_F(DocumentModelTest, ACategoryNarrowsTheGoodsListAndClearsTheGoods)
{
    DocumentModel scrap(*dm, scrapKind());
    scrap.createNew();
    LineArea &lines = scrap.area(0);
    ASSERT_EQ(lines.goods().recordCount(), 2);
    enterLine(lines, 1, 1.0, 1.0);
    lines.lines().setValue(f("TRANZ_RED_CAT_ID"), 3);
    EXPECT_TRUE(lines.goodsNarrowed());
    ASSERT_EQ(lines.goods().recordCount(), 1);
    EXPECT_EQ(lines.goods().value(f("NOM_NAME")).toString(), QStringLiteral("Захар"));
    EXPECT_TRUE(lines.lines().value(f("TRANZ_RED_NOM_ID")).isNull());
    // Another value in the same line leaves the list as it is.
    lines.lines().setValue(f("TRANZ_RED_NOM_ID"), 2);
    EXPECT_EQ(lines.lines().value(f("TRANZ_RED_NOM_ID")).toInt(), 2);

    lines.lines().setValue(f("TRANZ_RED_CAT_ID"), QVariant());
    EXPECT_EQ(lines.goods().recordCount(), 2);
    lines.showAllGoods();
    EXPECT_FALSE(lines.goodsNarrowed());
}

TEST_F(DocumentModelTest, AreasWithGoodsListsOfTheirOwnNarrowOnlyThose)
{
    DocumentKind kind = scrapKind();
    kind.areas[0].goods = GoodsList::Private;
    kind.areas[0].ids = LineIds::OnCreation;
    kind.areas[0].selectSql =
        f("select * from TRANZ_RED where (TRANZ_RED_TRANZ_ID = :TRANZ_ID)  and (TRANZ_RED_TYPE_ID= -1)");
    LineAreaKind products = kind.areas[0];
    products.selectSql = f("select * from TRANZ_RED where (TRANZ_RED_TRANZ_ID = :TRANZ_ID) and (TRANZ_RED_TYPE_ID= 1)");
    products.name = f("Products");
    products.sign = kIntoStock;
    products.carriesValue = false;
    products.ids = LineIds::BeforeStoring;
    kind.areas.push_back(products);
    DocumentModel document(*dm, kind);
    document.createNew();
    LineArea &materials = document.area(0);
    LineArea &made = document.area(1);

    materials.newLine();
    EXPECT_EQ(materials.lines().value(f("TRANZ_RED_ID")).toInt(), 1); // drawn as the line is created
    materials.lines().setValue(f("TRANZ_RED_CAT_ID"), 3);
    EXPECT_EQ(materials.goods().recordCount(), 1);
    EXPECT_EQ(made.goods().recordCount(), 2);
    EXPECT_EQ(dm->qNom().recordCount(), 2);
    materials.lines().setValue(f("TRANZ_RED_NOM_ID"), 2);
    materials.lines().setValue(f("TRANZ_RED_CENA"), 2.0);
    materials.lines().setValue(f("TRANZ_RED_KOL1"), 1.5);
    materials.storeLine();

    enterLine(made, 1, 0.0, 3.0);
    EXPECT_TRUE(made.lines().value(f("TRANZ_RED_ID")).isNull()); // drawn only when stored
    made.storeLine();
    EXPECT_EQ(made.lines().value(f("TRANZ_RED_ID")).toInt(), 2);
    EXPECT_EQ(made.lines().value(f("TRANZ_RED_TYPE_ID")).toInt(), 1);
    EXPECT_EQ(made.lines().value(f("TRANZ_RED_IZNESENO")).toDouble(), 3);
    // Only the materials carry the document's value.
    made.lines().edit();
    made.lines().setValue(f("TRANZ_RED_CENA"), 100.0);
    made.storeLine();
    EXPECT_DOUBLE_EQ(document.total(), 3);
    document.header().setValue(f("TRANZ_DOCNO"), 1);
    document.save();
    EXPECT_EQ(stored(f("select TRANZ_SUM from TRANZ")).toDouble(), 3);
    EXPECT_EQ(materials.lines().recordCount(), 1);
    EXPECT_EQ(made.lines().recordCount(), 1);
}

TEST_F(DocumentModelTest, TheTotalCountsLinesAnotherWorkstationStoredMeanwhile)
{
    addDocument(*dm, 5, 13, -1, QDateTime::currentDateTime());
    addLine(*dm, 51, 5, 1, -1, 2, 2, 1.5);
    DocumentModel scrap(*dm, scrapKind());
    scrap.openExisting(5);
    auto other = database.connect();
    addLine(*other, 52, 5, 2, -1, 3, 3, 1.0);
    scrap.save();
    EXPECT_EQ(stored(f("select TRANZ_SUM from TRANZ where TRANZ_ID = 5")).toDouble(), 6);
    EXPECT_EQ(scrap.area(0).lines().recordCount(), 2);
}

TEST_F(DocumentModelTest, TheLinesShowNamesUnitsSumsAndDiscounts)
{
    DocumentModel delivery(*dm, deliveryLikeKind());
    delivery.createNew();
    LineArea &lines = delivery.area(0);
    enterLine(lines, 2, 10.0, 2.5);
    lines.lines().setValue(f("TRANZ_RED_OTSTUPKA"), 0.1);
    lines.lines().setValue(f("TRANZ_RED_CAT_ID"), 3);
    lines.lines().setValue(f("TRANZ_RED_NOM_ID"), 2);
    lines.storeLine();
    const db::Dataset &rows = lines.lines();
    EXPECT_EQ(rows.displayText(f("TRANZ_TYPES_NAME")), QStringLiteral("Вход"));
    EXPECT_EQ(rows.displayText(f("CATEGORY_NAME")), QStringLiteral("Сладки"));
    EXPECT_EQ(rows.displayText(f("NOM_NAME")), QStringLiteral("Захар"));
    EXPECT_EQ(rows.displayText(f("PMYARKA")), QStringLiteral("кг"));
    EXPECT_EQ(rows.displayText(f("LINE_SUM")), QStringLiteral("22.5000"));
    EXPECT_EQ(rows.displayText(f("DISCOUNT_TEXT")), QStringLiteral("10 %"));
    EXPECT_EQ(rows.displayText(f("TRANZ_RED_CENA")), QStringLiteral("10.0000"));
}

TEST_F(DocumentModelTest, ALineOfADocumentDeletedElsewhereIsNotStoredAndLeavingRemovesItsLines)
{
    const QString deleted = QStringLiteral("Документът е изтрит от друг потребител.");
    addDocument(*dm, 5, 13, -1, QDateTime::currentDateTime());
    addLine(*dm, 51, 5, 1, -1, 2, 2, 1.5);
    DocumentModel scrap(*dm, scrapKind());
    scrap.openExisting(5);
    LineArea &area = scrap.area(0);
    {
        // Deleted while the line is written: the line waits for nothing and
        // is not stored under a header about to go.
        UncommittedChange deleting(database.path(), f("delete from TRANZ where TRANZ_ID = 5"));
        enterLine(area, 1, 2.5, 4.0);
        EXPECT_THROW(area.storeLine(), varnex::Error);
        EXPECT_EQ(lineCount(5), 1);
        deleting.commit();
    }
    const std::function<void()> stores[] = {[&] { area.storeLine(); }, [&] { area.storeLineUnchecked(); }};
    for (const auto &store : stores) {
        try {
            store();
            ADD_FAILURE() << "a line was stored without its document";
        } catch (const varnex::Error &error) {
            EXPECT_EQ(error.message(), deleted);
        }
        EXPECT_EQ(lineCount(5), 1);
    }
    EXPECT_EQ(scrap.abandon(), deleted);
    EXPECT_EQ(lineCount(5), 0);
}

TEST_F(DocumentModelTest, ALineBegunWhileAnotherWorkstationHeldTheCounterTakesAKeyOfItsOwn)
{
    addDocument(*dm, 5, 13, -1, QDateTime::currentDateTime());
    DocumentModel scrap(*dm, scrapKind());
    scrap.openExisting(5);
    LineArea &area = scrap.area(0);
    enterLine(area, 1, 2.5, 4.0);
    area.storeLine();
    {
        UncommittedChange drawing(database.path(), f("update COUNTERS set VAL = VAL + 1 where ID = 25"));
        enterLine(area, 2, 1.5, 1.0);
    }
    area.storeLine();
    EXPECT_EQ(lineCount(5), 2);
}

TEST_F(DocumentModelTest, AProposedNumberStoredElsewhereMeanwhileIsReplacedATypedOneIsKept)
{
    auto other = database.connect();
    DocumentModel here(*dm, scrapKind());
    DocumentModel there(*other, scrapKind());
    DocumentModel typed(*dm, scrapKind());
    for (DocumentModel *document : {&here, &there, &typed}) {
        document->createNew();
        document->proposeNumber();
    }
    typed.header().setValue(f("TRANZ_DOCNO"), 2);
    EXPECT_EQ(here.save(), QString());
    EXPECT_EQ(there.save(), QStringLiteral("Номер 000001 междувременно е записан от друга работна станция. "
                                           "Документът се записва с № 000002."));
    EXPECT_EQ(typed.save(), QString());
    const auto numbers = dm->QueryRows(f("select TRANZ_DOCNO from TRANZ order by TRANZ_ID"));
    ASSERT_EQ(numbers.size(), 3u);
    EXPECT_EQ(numbers[0][0].toInt(), 1);
    EXPECT_EQ(numbers[1][0].toInt(), 2);
    EXPECT_EQ(numbers[2][0].toInt(), 2);
}

// Another workstation is storing the same proposed number at this instant:
// its header is written and not yet committed when this one saves.
TEST_F(DocumentModelTest, TwoWorkstationsSavingOneProposedNumberAtOnceStoreTwoNumbers)
{
    DocumentModel here(*dm, scrapKind());
    here.createNew();
    here.proposeNumber();
    UncommittedChange there(database.path(),
                            f("execute block as begin "
                              "update COUNTERS set VAL = VAL where ID = 40; "
                              "insert into TRANZ (TRANZ_ID, TRANZ_DOCNO, TRANZ_TYPE_ID, TRANZ_KONT_ID, TRANZ_TIME) "
                              "values (900, 1, 13, -1, current_timestamp); end"));
    std::thread committing([&there] {
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        there.commit();
    });
    const QString notice = here.save();
    committing.join();
    EXPECT_EQ(notice, QStringLiteral("Номер 000001 междувременно е записан от друга работна станция. "
                                     "Документът се записва с № 000002."));
    EXPECT_EQ(dm->QueryValue(f("select list(TRANZ_DOCNO) from (select TRANZ_DOCNO from TRANZ order by 1)")).toString(),
              QStringLiteral("1,2"));
}

} // namespace
