#include "core/Tdm.h"
#include "data/StockLookups.h"
#include "documents/TfrmRevizia.h"
#include "support/GuiTest.h"
#include "support/StockData.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const bool kDotDecimals = (QLocale::setDefault(QLocale::c()), true);

class CountWindow : public GuiDatabaseTest
{
protected:
    CountWindow()
    {
        addGoods(*dm, 1, 101, QStringLiteral("Брашно"));
        addGoods(*dm, 2, 102, QStringLiteral("Захар"));
        dm->ExecSQL(QStringLiteral("insert into NOM_BARCODES (BARCODE, NOM_ID) values ('3800000000014', 2)"));
        addDocument(*dm, 10, 12, 1, QDateTime::currentDateTime().addDays(-1));
        addLine(*dm, 100, 10, 2, 1, 5, 5, 4.0);
        window.NewDocument();
        window.show();
        QApplication::setActiveWindow(&window);
    }

    void scan(const QString &code)
    {
        // A scanner types into whatever has the focus.
        QTest::keyClicks(QApplication::focusWidget(), code);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QString cell(int row, int column) const { return window.lines()->item(row, column)->text(); }

    TfrmRevizia window;
};

TEST_F(CountWindow, ScansAddOneATypedQuantityReplacesAndAnUnknownCodeChangesNothing)
{
    for (const char *code : {"3800000000014", "3800000000014", "101", "3800000000014"})
        scan(QString::fromLatin1(code));
    ASSERT_EQ(window.lines()->rowCount(), 2);
    EXPECT_EQ(QApplication::focusWidget(), window.edtCode()) << "the next scan goes to the code box too";
    EXPECT_EQ(cell(0, 4), QStringLiteral("3.000"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("5.000")) << "the book quantity when it was first counted";
    EXPECT_EQ(window.lblTotal()->text(), QStringLiteral("Преброени: 4.000 за 2 артикула"));

    scan(QStringLiteral("999"));
    EXPECT_EQ(dialogs.errors, std::vector<QString>{QStringLiteral("Няма артикул с код 999!")});
    EXPECT_TRUE(window.edtCode()->text().isEmpty());
    EXPECT_EQ(window.lines()->rowCount(), 2);

    window.lines()->item(1, 4)->setText(QStringLiteral("7.5"));
    EXPECT_EQ(cell(1, 5), QStringLiteral("7.500"));
    window.lines()->item(1, 4)->setText(QStringLiteral("много"));
    EXPECT_EQ(cell(1, 4), QStringLiteral("7.500")) << "a quantity that is no number is refused";

    dialogs.answers = {mrYes};
    window.PostClick();
    EXPECT_DOUBLE_EQ(data::stockOnHand(*dm, 2), 3.0);
    EXPECT_DOUBLE_EQ(data::stockOnHand(*dm, 1), 7.5);
    EXPECT_FALSE(window.edtCode()->isEnabled());
}

} // namespace
