#include "catalogues/LookupLists.h"
#include "db/Dataset.h"
#include "support/GuiTest.h"
#include "ui/DataGrid.h"
#include "ui/TfrmList.h"

#include <QAction>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class LookupLists : public GuiDatabaseTest
{
protected:
    LookupLists()
    {
        dm->ExecSQL(QStringLiteral("insert into CATEGORY (ID, CODE, NAME) values (3, 3, 'Храни')"));
        dm->ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_CODE, NOM_NAME, NOM_CATEGORY_ID) values (1, 1, 'Олио', 3)"));
        dm->ExecSQL(QStringLiteral("insert into CITIES (ID, COUNTRY_ID, NAME) values (4, 1, 'Русе')"));
        dm->ExecSQL(QStringLiteral("insert into CITIES (ID, COUNTRY_ID, NAME) values (5, 1, 'Бяла')"));
        dm->ExecSQL(QStringLiteral("insert into KONTR (KONTR_ID, KONTR_NAME, KONTR_CITY) values (2, 'Доставчик', 'Русе')"));
        dm->RefreshDataSet(dm->qCategory(), QStringLiteral("ID"));
        dm->RefreshDataSet(dm->qCities(), QStringLiteral("ID"));
    }
    // The list window as the main window opens it, shown.
    std::unique_ptr<TfrmList> open(void (*showList)(TfrmList &))
    {
        auto window = std::make_unique<TfrmList>();
        showList(*window);
        window->show();
        return window;
    }
    // Types a value into a cell of the current row, as the grid's editor does.
    static void type(TfrmList &window, int column, const QString &text)
    {
        QAbstractItemModel *model = window.Grid()->model();
        ASSERT_TRUE(model->setData(model->index(window.dataset()->recNo(), column), text));
    }
    static void select(db::Dataset &list, int id) { ASSERT_TRUE(list.locate({QStringLiteral("ID")}, {id})); }
    QVariant stored(const QString &sql) { return dm->QueryValue(sql); }
};

TEST_F(LookupLists, ACategoryAddedInTheWindowIsOfferedAtOnceAndCategoryZeroNever)
{
    // A look-up as the goods window has it, over the shared list.
    auto goods = dm->createDataset(QStringLiteral("select NOM_ID, NOM_CATEGORY_ID from NOM"));
    goods->addLookupField(QStringLiteral("CATEGORY_NAME"), QStringLiteral("NOM_CATEGORY_ID"), &dm->qCategory(),
                          QStringLiteral("ID"), QStringLiteral("NAME"));
    goods->open();

    auto window = open(showCategoriesIn);
    EXPECT_EQ(window->Grid()->model()->rowCount(), 1); // "(без категория)" stays out
    EXPECT_EQ(window->Grid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Код"));
    EXPECT_EQ(window->Grid()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Наименование"));
    window->actnNew->trigger();
    type(*window, 0, QStringLiteral("12"));
    type(*window, 1, QStringLiteral("Напитки"));
    window->actnClose->trigger();
    EXPECT_TRUE(dialogs.errors.empty());

    const int id = stored(QStringLiteral("select ID from CATEGORY where NAME = 'Напитки'")).toInt();
    EXPECT_EQ(id, stored(QStringLiteral("select VAL from COUNTERS where ID = 31")).toInt());
    EXPECT_EQ(stored(QStringLiteral("select CODE from CATEGORY where ID = %1").arg(id)).toInt(), 12);
    EXPECT_EQ(dm->qCategory().lookupValue(QStringLiteral("ID"), id, QStringLiteral("NAME")).toString(), QStringLiteral("Напитки"));
    dm->ExecSQL(QStringLiteral("update NOM set NOM_CATEGORY_ID = %1").arg(id));
    goods->reopen();
    EXPECT_EQ(goods->value(QStringLiteral("CATEGORY_NAME")).toString(), QStringLiteral("Напитки"));
    EXPECT_FALSE(dm->qCategory().locate({QStringLiteral("ID")}, {0}));
}

TEST_F(LookupLists, ASettlementSavedWithoutKeysTakesCounterNineAndCountryOne)
{
    auto window = open(showSettlementsIn);
    ASSERT_EQ(window->Grid()->model()->columnCount(), 1);
    EXPECT_EQ(window->Grid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Населено място"));
    window->actnNew->trigger();
    type(*window, 0, QStringLiteral("Две могили"));
    window->actnClose->trigger();
    EXPECT_TRUE(dialogs.errors.empty());
    const auto rows = dm->QueryRows(QStringLiteral("select ID, COUNTRY_ID from CITIES where NAME = 'Две могили'"));
    ASSERT_EQ(rows.size(), 1u);
    const QVariantList &row = rows.front();
    EXPECT_EQ(row[0].toInt(), stored(QStringLiteral("select VAL from COUNTERS where ID = 9")).toInt());
    EXPECT_EQ(row[1].toInt(), 1);
    EXPECT_EQ(dm->AddCity(1, QStringLiteral("Ценово")), row[0].toInt() + 1);
}

TEST_F(LookupLists, DeletingARowStillInUseIsRefusedWithoutAsking)
{
    auto categories = open(showCategoriesIn);
    select(dm->qCategory(), 3);
    categories->actnDelete->trigger();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Категорията не може да се изтрие: използва се в номенклатурата (1 запис)."));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CATEGORY where ID = 3")).toInt(), 1);
    EXPECT_EQ(dm->qCategory().value(QStringLiteral("ID")).toInt(), 3);
    categories->close();

    auto settlements = open(showSettlementsIn);
    select(dm->qCities(), 4);
    settlements->actnDelete->trigger();
    ASSERT_EQ(dialogs.errors.size(), 2u);
    EXPECT_EQ(dialogs.errors[1], QStringLiteral("Населеното място не може да се изтрие: използва се в контрагентите (1 запис)."));
    EXPECT_EQ(dm->qCities().recordCount(), 2);

    select(dm->qCities(), 5); // unused: asked, then deleted
    dialogs.answers = {mrYes};
    settlements->actnDelete->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Моля, потвърдете изтриване!"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CITIES")).toInt(), 1);
    EXPECT_EQ(dm->qCities().recordCount(), 1);
}

TEST_F(LookupLists, RenamingASettlementLeavesTheCounterpartiesNamesAsStored)
{
    auto window = open(showSettlementsIn);
    select(dm->qCities(), 4);
    type(*window, 0, QStringLiteral("Русе-град"));
    window->actnClose->trigger();
    EXPECT_EQ(stored(QStringLiteral("select NAME from CITIES where ID = 4")).toString(), QStringLiteral("Русе-град"));
    EXPECT_EQ(stored(QStringLiteral("select KONTR_CITY from KONTR where KONTR_ID = 2")).toString(), QStringLiteral("Русе"));
}

TEST_F(LookupLists, NamesOfBlanksOnlyAreRefusedLikeEmptyOnes)
{
    const QVariant counter = stored(QStringLiteral("select VAL from COUNTERS where ID = 31"));
    auto categories = open(showCategoriesIn);
    categories->actnNew->trigger();
    type(*categories, 0, QStringLiteral("7"));
    type(*categories, 1, QStringLiteral("   "));
    categories->actnClose->trigger();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Полето \"Наименование\" трябва да бъде попълнено"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CATEGORY")).toInt(), 2);
    EXPECT_EQ(stored(QStringLiteral("select VAL from COUNTERS where ID = 31")), counter); // no key spent on it

    db::Dataset &cities = dm->qCities();
    for (const QString &name : {QString(), QStringLiteral("  \t ")}) {
        select(cities, 5);
        cities.edit();
        cities.setValue(QStringLiteral("NAME"), name.isNull() ? QVariant() : QVariant(name));
        try {
            cities.post();
            ADD_FAILURE() << "a blank name was stored";
        } catch (const db::FieldError &error) {
            EXPECT_EQ(error.message(), QStringLiteral("Полето \"Населено място\" трябва да бъде попълнено"));
            EXPECT_EQ(error.field(), QStringLiteral("NAME"));
        }
        cities.cancel();
    }
    EXPECT_THROW(dm->AddCity(1, QStringLiteral(" ")), db::FieldError);
    cities.cancel();
    EXPECT_EQ(stored(QStringLiteral("select NAME from CITIES where ID = 5")).toString(), QStringLiteral("Бяла"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CITIES")).toInt(), 2);
}

TEST_F(LookupLists, NamesAreStoredAsTyped)
{
    const QString quoted = QStringLiteral("Д'Артанян");
    const QString injected = QStringLiteral("'); DELETE FROM NOM; --");
    auto categories = open(showCategoriesIn);
    categories->actnNew->trigger();
    type(*categories, 1, injected);
    select(dm->qCategory(), 3); // moving on stores the new row
    type(*categories, 1, quoted);
    categories->actnClose->trigger();
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(stored(QStringLiteral("select NAME from CATEGORY where ID = 3")).toString(), quoted);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CATEGORY where NAME = '''); DELETE FROM NOM; --'")).toInt(), 1);

    auto settlements = open(showSettlementsIn);
    settlements->actnNew->trigger();
    type(*settlements, 0, injected);
    settlements->actnClose->trigger();
    const int id = dm->AddCity(1, quoted + QStringLiteral(" (село)"));
    EXPECT_EQ(stored(QStringLiteral("select NAME from CITIES where ID = %1").arg(id)).toString(), quoted + QStringLiteral(" (село)"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from CITIES where NAME = '''); DELETE FROM NOM; --'")).toInt(), 1);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from NOM where NOM_ID = 1")).toInt(), 1);
}

} // namespace
