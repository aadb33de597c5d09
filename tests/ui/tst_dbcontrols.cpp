#include "db/Dataset.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/DateKeys.h"

#include <QCalendarWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class DataAwareEditors : public GuiDatabaseTest
{
protected:
    DataAwareEditors()
    {
        dm->ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_CODE, NOM_NAME, NOM_MERKI_ID1, NOM_INREPORT, SELL_PRICE) "
                                   "values (1, 1, 'Олио', 3, 1, 2.5)"));
        dm->ExecSQL(QStringLiteral("insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_PADEJ) values (1, 12, '2026-12-09')"));
        dm->ExecSQL(QStringLiteral("insert into TRANZ_RED (TRANZ_RED_ID, TRANZ_RED_TRANZ_ID, TRANZ_RED_TYPE_ID, "
                                   "TRANZ_RED_NOM_ID, TRANZ_RED_OTSTUPKA) values (1, 1, 1, 1, 0.05)"));
        goods = dm->createDataset(QStringLiteral("select NOM_ID, NOM_NAME, NOM_MERKI_ID1, NOM_INREPORT, SELL_PRICE from NOM where NOM_ID = 1"));
        goods->setUpdateSql(QStringLiteral("update NOM set NOM_NAME = :NOM_NAME, NOM_MERKI_ID1 = :NOM_MERKI_ID1, "
                                           "NOM_INREPORT = :NOM_INREPORT, SELL_PRICE = :SELL_PRICE where NOM_ID = :OLD_NOM_ID"));
        goods->setDisplayFormat(QStringLiteral("SELL_PRICE"), QStringLiteral("0.0000"));
        goods->open();
    }
    std::unique_ptr<db::Dataset> goods;
};

TEST_F(DataAwareEditors, TheFirstKeystrokeStartsEditingAndWritesTheBuffer)
{
    DBEdit name;
    name.bind(*goods, QStringLiteral("NOM_NAME"));
    EXPECT_EQ(name.text(), QStringLiteral("Олио"));
    EXPECT_EQ(name.property("dataField").toString(), QStringLiteral("NOM_NAME"));
    name.end(false);
    typeText(&name, QStringLiteral(" слънчогледово"));
    EXPECT_EQ(goods->state(), db::Dataset::State::Edit);
    EXPECT_EQ(goods->value(QStringLiteral("NOM_NAME")).toString(), QStringLiteral("Олио слънчогледово"));
    goods->cancel();
    EXPECT_EQ(name.text(), QStringLiteral("Олио"));
}

TEST_F(DataAwareEditors, TextEditorsTakeNoMoreThanTheColumnHolds)
{
    auto later = dm->createDataset(QStringLiteral("select TRANZ_ID, TRANZ_NOTE from TRANZ"));
    DBEdit bound;
    bound.bind(*later, QStringLiteral("TRANZ_NOTE"));
    later->open(); // bound before the statement was opened
    EXPECT_EQ(bound.maxLength(), 80);

    DBEdit name;
    name.bind(*goods, QStringLiteral("NOM_NAME"));
    EXPECT_EQ(name.maxLength(), 40);
    name.end(false);
    typeText(&name, QString(50, QLatin1Char('x')));
    EXPECT_EQ(goods->value(QStringLiteral("NOM_NAME")).toString().size(), 40);
    goods->post();

    DBMemo note;
    note.bind(*later, QStringLiteral("TRANZ_NOTE"));
    note.setFocus();
    typeText(&note, QString(85, QLatin1Char('y')));
    EXPECT_EQ(note.toPlainText(), QString(80, QLatin1Char('y')));
    EXPECT_EQ(later->value(QStringLiteral("TRANZ_NOTE")).toString(), QString(80, QLatin1Char('y')));
    later->cancel();

    // A grid's cell editor as well; a number field takes no letters at all.
    DataGrid grid;
    grid.bind(*goods, {{QStringLiteral("NOM_NAME"), QStringLiteral("Име")}});
    grid.setEditable(true);
    grid.show();
    grid.edit(grid.model()->index(0, 0));
    auto *cell = grid.viewport()->findChild<QLineEdit *>();
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->maxLength(), 40);
    DBNumberEdit price;
    price.bind(*goods, QStringLiteral("SELL_PRICE"));
    price.clear();
    typeText(&price, QStringLiteral("1a2,5"));
    EXPECT_EQ(price.text(), QStringLiteral("12,5"));
}

TEST_F(DataAwareEditors, NumbersShowTheirFormatAndPercentagesAreTypedAsSuch)
{
    DBNumberEdit price;
    price.bind(*goods, QStringLiteral("SELL_PRICE"));
    EXPECT_EQ(price.text(), QStringLiteral("2.5000"));
    price.selectAll();
    typeText(&price, QStringLiteral("3,25"));
    EXPECT_DOUBLE_EQ(goods->value(QStringLiteral("SELL_PRICE")).toDouble(), 3.25);

    auto lines = dm->createDataset(QStringLiteral("select TRANZ_RED_ID, TRANZ_RED_OTSTUPKA from TRANZ_RED"));
    lines->setDisplayRule(QStringLiteral("TRANZ_RED_OTSTUPKA"), db::DisplayRule::Percent);
    lines->open();
    DBNumberEdit discount;
    discount.bind(*lines, QStringLiteral("TRANZ_RED_OTSTUPKA"));
    EXPECT_EQ(discount.text(), QStringLiteral("5"));
    discount.selectAll();
    typeText(&discount, QStringLiteral("12"));
    EXPECT_DOUBLE_EQ(lines->value(QStringLiteral("TRANZ_RED_OTSTUPKA")).toDouble(), 0.12);
}

TEST_F(DataAwareEditors, ChecksAndLookUpCombosWriteTheStoredValue)
{
    DBCheckBox followed(QStringLiteral("Следене наличност"));
    followed.bind(*goods, QStringLiteral("NOM_INREPORT"));
    EXPECT_TRUE(followed.isChecked());
    followed.click();
    EXPECT_EQ(goods->value(QStringLiteral("NOM_INREPORT")).toInt(), 0);

    DBLookupCombo sign;
    DBLookupCombo name;
    sign.bind(*goods, QStringLiteral("NOM_MERKI_ID1"), dm->qMerki(), QStringLiteral("MERKI_ID"), QStringLiteral("MERKI_ZNAK"));
    name.bind(*goods, QStringLiteral("NOM_MERKI_ID1"), dm->qMerki(), QStringLiteral("MERKI_ID"), QStringLiteral("MERKI_NAME"));
    EXPECT_EQ(name.currentText(), QStringLiteral("литър"));
    EXPECT_EQ(sign.currentText(), QStringLiteral("л"));
    const int kilogram = name.findText(QStringLiteral("килограм"));
    name.setCurrentIndex(kilogram);
    Q_EMIT name.activated(kilogram);
    EXPECT_EQ(goods->value(QStringLiteral("NOM_MERKI_ID1")).toInt(), 2);
    EXPECT_EQ(sign.currentText(), QStringLiteral("кг"));
    goods->post();
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select NOM_MERKI_ID1 from NOM where NOM_ID = 1")).toInt(), 2);
}

TEST_F(DataAwareEditors, DateKeysMoveByDaysAndMonths)
{
    auto documents = dm->createDataset(QStringLiteral("select TRANZ_ID, TRANZ_PADEJ from TRANZ"));
    documents->setUpdateSql(QStringLiteral("update TRANZ set TRANZ_PADEJ = :TRANZ_PADEJ where TRANZ_ID = :OLD_TRANZ_ID"));
    documents->open();
    DBDateEdit due;
    due.bind(*documents, QStringLiteral("TRANZ_PADEJ"));
    EXPECT_EQ(due.date(), QDate(2026, 12, 9));
    QTest::keyClick(&due, Qt::Key_PageDown);
    EXPECT_EQ(due.date(), QDate(2027, 1, 9));
    QTest::keyClick(&due, Qt::Key_Up);
    QTest::keyClick(&due, Qt::Key_Up);
    EXPECT_EQ(due.date(), QDate(2027, 1, 7));
    QTest::keyClick(&due, Qt::Key_PageUp);
    QTest::keyClick(&due, Qt::Key_Down);
    EXPECT_EQ(documents->value(QStringLiteral("TRANZ_PADEJ")).toDate(), QDate(2026, 12, 8));
    documents->post();
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select TRANZ_PADEJ from TRANZ")).toDate(), QDate(2026, 12, 8));

    // A blank date's calendar opens on this month.
    documents->edit();
    documents->setValue(QStringLiteral("TRANZ_PADEJ"), QVariant());
    due.show();
    QTest::mouseClick(&due, Qt::LeftButton, {}, QPoint(due.width() - 6, due.height() / 2)); // the arrow
    EXPECT_EQ(due.calendarWidget()->monthShown(), QDate::currentDate().month());
    EXPECT_EQ(due.calendarWidget()->yearShown(), QDate::currentDate().year());
    documents->cancel();
}

} // namespace
