#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/DocumentKind.h"
#include "documents/DocumentModel.h"
#include "documents/EditorDriving.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmBrak.h"
#include "documents/TfrmProdajbi.h"
#include "documents/TfrmProizvodstvo.h"
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

// Ten of "Брашно" on hand; a line that takes more asks before it is stored.
class StockShortage : public GuiDatabaseTest
{
protected:
    StockShortage()
    {
        addGoods(*dm, 1, 1, QStringLiteral("Брашно"), 1.2);
        addCounterparty(*dm, 3, 3, QStringLiteral("Фурна ЕТ"), 0);
        addDocument(*dm, 90, 12, 2, QDateTime::currentDateTime().addDays(-1));
        addLine(*dm, 901, 90, 1, 1, 10, 10, 1);
        // New documents are numbered after the stored ones, as in use.
        dm->ExecSQL(f("update COUNTERS set VAL = 100 where ID = 24"));
        dm->qNom().reopen();
    }

public: // the cases name the window to open
    template <class Window>
    void open()
    {
        window = std::make_unique<Window>();
        window->NewDocument();
        window->show();
        QApplication::setActiveWindow(window.get());
        area = window->lineArea();
    }

protected:
    void enterSaleLine(const QString &quantity, const QString &taken)
    {
        QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
        pickDownTo(area->cbGoodsName(), 0);
        typeInto(area->edtPrice(), QStringLiteral("1"));
        typeInto(area->edtQuantity(), quantity);
        typeInto(area->edtTaken(), taken);
    }
    void storeLine() { QTest::mouseClick(area->btnSaveLine(), Qt::LeftButton); }
    db::Dataset &lines() { return area->area().lines(); }
    int storedLines()
    {
        return dm->QueryValue(f("select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID"), QString(),
                              {{f("ID"), window->model().documentId()}})
            .toInt();
    }

    std::unique_ptr<TfrmStockDocument> window;
    StockLineArea *area = nullptr;
};

TEST_F(StockShortage, TakingMoreThanIsOnHandAsksAndNoKeepsTheLineInEditing)
{
    open<TfrmProdajbi>();
    enterSaleLine(QStringLiteral("12"), QStringLiteral("12"));
    dialogs.answers = {mrNo};
    storeLine();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("В склада има 10 кг от Брашно, а взетото количество е 12 кг. Желаете ли да продължите?"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(dialogs.shown[0].buttons, mbYes | mbNo);
    EXPECT_TRUE(lines().isEditing());
    EXPECT_EQ(storedLines(), 0);
    EXPECT_EQ(QApplication::focusWidget(), area->edtTaken());

    dialogs.answers = {mrYes};
    storeLine();
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_FALSE(lines().isEditing());
    EXPECT_EQ(storedLines(), 1);
    EXPECT_EQ(QApplication::focusWidget(), area->grid());
}

TEST_F(StockShortage, TheDocumentsOtherLinesCountAndTheLinesOwnStoredQuantityDoesNot)
{
    open<TfrmProdajbi>();
    enterSaleLine(QStringLiteral("8"), QStringLiteral("8"));
    storeLine();
    EXPECT_TRUE(dialogs.shown.empty());
    // The line itself, taken up to 9, still finds the ten.
    lines().edit();
    typeInto(area->edtTaken(), QStringLiteral("9"));
    typeInto(area->edtQuantity(), QStringLiteral("9"));
    storeLine();
    EXPECT_TRUE(dialogs.shown.empty());
    // A second line of the same goods has one left, in the box as in the question.
    enterSaleLine(QStringLiteral("2"), QStringLiteral("2"));
    EXPECT_EQ(area->edtStockOnHand()->text(), QStringLiteral("1"));
    dialogs.answers = {mrNo};
    storeLine();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("В склада има 1 кг от Брашно, а взетото количество е 2 кг. Желаете ли да продължите?"));
    // Nothing taken yet asks nothing.
    typeInto(area->edtTaken(), QStringLiteral("0"));
    storeLine();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(storedLines(), 2);
}

TEST_F(StockShortage, ScrapAsksTooAndTheDatabaseConfigurationTurnsTheQuestionOff)
{
    open<TfrmBrak>();
    QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
    pickDownTo(area->cbGoodsName(), 0);
    typeInto(area->edtPrice(), QStringLiteral("1"));
    typeInto(area->edtQuantity(), QStringLiteral("11"));
    dialogs.answers = {mrNo};
    storeLine();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("В склада има 10 кг от Брашно")));

    dm->SetConfigByName(documents::shortageQuestionKey(), QStringLiteral("0"));
    storeLine();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(storedLines(), 1);

    dm->SetConfigByName(documents::shortageQuestionKey(), QStringLiteral("1"));
    QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
    pickDownTo(area->cbGoodsName(), 0);
    typeInto(area->edtQuantity(), QStringLiteral("1"));
    storeLine();
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(StockShortage, TheQuestionNamesWhatEachKindTakesAndNoFocusesItsBox)
{
    dm->ExecSQL(f("update NOM set NOM_MERKI_ID1 = 1 where NOM_ID = 1")); // counted in "бр."
    struct Case
    {
        void (StockShortage::*open)();
        QString taken;
    };
    const Case cases[] = {{&StockShortage::open<TfrmProdajbi>, QStringLiteral("взетото количество")},
                          {&StockShortage::open<TfrmBrak>, QStringLiteral("бракуваното количество")},
                          {&StockShortage::open<TfrmProizvodstvo>, QStringLiteral("вложеното количество")}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.taken.toStdString());
        (this->*c.open)();
        QTest::mouseClick(area->btnNewLine(), Qt::LeftButton);
        pickDownTo(area->cbGoodsName(), 0);
        typeInto(area->edtPrice(), QStringLiteral("1"));
        typeInto(area->edtQuantity(), QStringLiteral("12"));
        DBNumberEdit *takenBox = area->edtTaken() ? area->edtTaken() : area->edtQuantity();
        typeInto(takenBox, QStringLiteral("12"));
        dialogs.shown.clear();
        dialogs.answers = {mrNo};
        storeLine();
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].text,
                  QStringLiteral("В склада има 10 бр. от Брашно, а %1 е 12 бр. Желаете ли да продължите?").arg(c.taken));
        EXPECT_EQ(QApplication::focusWidget(), takenBox);
    }
}

} // namespace
