#include "db/Dataset.h"
#include "mainwindow/TfrmMain.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"
#include "ui/DataGrid.h"
#include "ui/DatasetModel.h"
#include "ui/DateField.h"
#include "ui/GridPrint.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const int kDocuments = 3000;

// The main window over a few thousand documents, its period open on both
// sides, so the journal shows every one of them.
class Journal : public GuiDatabaseTest
{
protected:
    Journal()
    {
        settings.WriteString(QStringLiteral("clientinfo\\company"), QStringLiteral("Фирма ООД"));
        dm->ExecSQL(QStringLiteral("insert into KONTR (KONTR_ID, KONTR_NAME) values (2, 'Доставчик')"));
        addDocuments(*dm, 1, kDocuments, QDateTime(QDate(2026, 12, 1), QTime(8, 0)));
        window = std::make_unique<TfrmMain>(*dm);
        window->today = [] { return QDate(2026, 12, 9); };
        window->edtFrom()->clear();
        window->edtTo()->clear();
        tester = std::make_unique<QAbstractItemModelTester>(window->grid()->model(),
                                                            QAbstractItemModelTester::FailureReportingMode::Warning);
        window->show();
    }

    db::Dataset &journal() const { return window->qJournal(); }
    int currentId() const { return journal().value(QStringLiteral("TRANZ_ID")).toInt(); }
    // Lets the window idle until the journal is read to its end.
    bool readToTheEnd()
    {
        return QTest::qWaitFor([this] { return journal().fetchedAll(); }, 60000);
    }

    std::unique_ptr<TfrmMain> window;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(Journal, TheFirstScreenShowsAtOnceAndTheTotalOnceEveryRowIsRead)
{
    ASSERT_TRUE(journal().isOpen());
    ASSERT_FALSE(journal().fetchedAll());
    const int first = journal().fetchedCount();
    EXPECT_LT(first, kDocuments);
    EXPECT_EQ(window->grid()->model()->rowCount(), first);
    EXPECT_EQ(window->statusLine()->text(), QStringLiteral(" Запис № 1 от общо %1").arg(first));

    ASSERT_TRUE(readToTheEnd());
    EXPECT_EQ(window->statusLine()->text(), QStringLiteral(" Запис № 1 от общо 3000"));
    EXPECT_EQ(window->grid()->model()->rowCount(), kDocuments);
    EXPECT_EQ(currentId(), 1);
    EXPECT_EQ(window->grid()->currentIndex().row(), 0);
}

TEST_F(Journal, MovingToTheLastRowReadsTheRest)
{
    journal().last(); // as the new-document commands do first
    EXPECT_TRUE(journal().fetchedAll());
    EXPECT_EQ(currentId(), kDocuments);
    EXPECT_EQ(window->statusLine()->text(), QStringLiteral(" Запис № 3000 от общо 3000"));
    EXPECT_EQ(window->grid()->currentIndex().row(), kDocuments - 1);
    EXPECT_EQ(window->grid()->model()->rowCount(), kDocuments);
}

TEST_F(Journal, RefreshKeepsADocumentBeyondTheFirstScreen)
{
    ASSERT_TRUE(journal().locate({QStringLiteral("TRANZ_ID")}, {2500}));
    window->actnRefresh->trigger();
    EXPECT_EQ(currentId(), 2500);
    EXPECT_EQ(window->grid()->currentIndex().row(), 2499);
    EXPECT_EQ(window->heading()->text(), QStringLiteral("  Издадени документи "));
    ASSERT_TRUE(readToTheEnd());
    EXPECT_EQ(window->statusLine()->text(), QStringLiteral(" Запис № 2500 от общо 3000"));

    dm->DeleteDocument(2500);
    window->actnRefresh->trigger();
    EXPECT_EQ(window->statusLine()->text(), QStringLiteral(" Запис № 2999 от общо 2999")); // gone: the last row
}

TEST_F(Journal, ATabShowsItsTypeReadOnDemandToo)
{
    window->tabs()->setCurrentIndex(3); // sales, every fourth document
    EXPECT_EQ(window->heading()->text(), QStringLiteral("  Продажби "));
    EXPECT_EQ(journal().recordCount(), kDocuments / 4);
    for (int row = 0; row < journal().recordCount(); row += 97)
        ASSERT_EQ(journal().displayText(row, journal().fieldIndex(QStringLiteral("TRANZ_TYPES_NAME"))),
                  QStringLiteral("Продажба"));
    EXPECT_EQ(window->statusLine()->text(), QStringLiteral(" Запис № 1 от общо 750"));
    window->tabs()->setCurrentIndex(0);
    EXPECT_FALSE(journal().fetchedAll());
    EXPECT_EQ(journal().recordCount(), kDocuments);
}

TEST_F(Journal, APrintedListHoldsEveryRow)
{
    ASSERT_FALSE(journal().fetchedAll());
    const GridPrintContent printed = gridPrintContent(*window->grid(), QStringLiteral("Документи"));
    ASSERT_EQ(printed.rows.size(), size_t(kDocuments));
    EXPECT_EQ(printed.rows.back().first(), QStringLiteral("003000"));
    EXPECT_EQ(printed.rows[2].at(3), QString()); // no note on the third
    EXPECT_EQ(printed.rows[3].at(3), QStringLiteral("бележка 3"));
}

TEST_F(Journal, AViewScrolledToTheEndAsksForMore)
{
    QAbstractItemModel *model = window->grid()->model();
    const int before = model->rowCount();
    ASSERT_TRUE(model->canFetchMore(QModelIndex()));
    model->fetchMore(QModelIndex());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount() > before; }));
    EXPECT_EQ(model->rowCount(), journal().fetchedCount());
    EXPECT_EQ(model->data(model->index(before, 0)).toString(), QStringLiteral("%1").arg(before + 1, 6, 10, QLatin1Char('0')));
    journal().recordCount();
    EXPECT_FALSE(model->canFetchMore(QModelIndex()));
    EXPECT_EQ(model->rowCount(), kDocuments);
}

} // namespace
