#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmBrak.h"
#include "documents/TfrmDostavki.h"
#include "documents/TfrmProdajbi.h"
#include "mainwindow/TfrmMain.h"
#include "support/GuiTest.h"
#include "support/StockData.h"
#include "ui/DataGrid.h"
#include "ui/DateField.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace testing_support;

namespace {

QString f(const char *name)
{
    return QString::fromLatin1(name);
}

class JournalDocuments : public GuiDatabaseTest
{
protected:
    JournalDocuments()
    {
        addGoods(*dm, 1, 1, QStringLiteral("Брашно"), 1.2);
        dm->qNom().reopen();
        const QDateTime now = QDateTime::currentDateTime();
        addDocument(*dm, 1, 12, 1, now.addSecs(-300));
        addLine(*dm, 11, 1, 1, 1, 10, 10, 1);
        addDocument(*dm, 2, 13, -1, now.addSecs(-200));
        addLine(*dm, 21, 2, 1, -1, 2, 2, 1);
        addDocument(*dm, 3, 12, 1, now.addSecs(-100));
        // As at the next connection: new documents and lines get fresh ids.
        dm->AdjustCounters(data::CounterAdjustment::RaiseOnly);
        window = std::make_unique<TfrmMain>(*dm);
        window->edtFrom()->clear();
        window->edtTo()->clear();
        window->show();
        QApplication::setActiveWindow(window.get());
    }

    // Runs `inside` on the editor the command opens, then lets it close.
    void whileOpen(const std::function<void()> &command, const std::function<void(TfrmBrak &)> &inside)
    {
        opened = nullptr;
        QTimer::singleShot(0, window.get(), [this, inside] {
            opened = qobject_cast<TfrmBrak *>(QApplication::activeModalWidget());
            if (!opened)
                return;
            // Never left waiting, whatever the test did.
            QTimer::singleShot(5000, opened, [editor = opened] { editor->done(mrCancel); });
            journalRowWhenOpened = window->qJournal().value(f("TRANZ_ID")).toInt();
            inside(*opened);
            if (opened->isVisible()) {
                dialogs.answers.push_back(mrYes);
                opened->reject();
            }
        });
        command();
    }
    int currentDocument() { return window->qJournal().value(f("TRANZ_ID")).toInt(); }

    std::unique_ptr<TfrmMain> window;
    TfrmBrak *opened = nullptr;
    int journalRowWhenOpened = 0;
};

TEST_F(JournalDocuments, F6StartsAScrapDocumentFromTheLastRowAndTheJournalShowsItAfterwards)
{
    ASSERT_EQ(window->qJournal().recordCount(), 3);
    window->qJournal().first();
    int created = 0;
    whileOpen([this] { QTest::keyClick(window.get(), Qt::Key_F6); },
              [&](TfrmBrak &editor) {
                  EXPECT_EQ(editor.windowTitle(), QStringLiteral("Бракуване"));
                  documents::DocumentModel &document = editor.model();
                  EXPECT_TRUE(document.isNew());
                  created = document.documentId();
                  documents::LineArea &lines = document.area(0);
                  lines.newLine();
                  lines.lines().setValue(f("TRANZ_RED_NOM_ID"), 1);
                  lines.lines().setValue(f("TRANZ_RED_KOL1"), 3.0);
                  lines.storeLine();
                  document.header().setValue(f("TRANZ_DOCNO"), 4);
                  editor.SaveClick();
                  EXPECT_FALSE(editor.isVisible());
                  EXPECT_TRUE(dialogs.errors.empty());
              });
    ASSERT_TRUE(opened);
    EXPECT_EQ(journalRowWhenOpened, 3);
    EXPECT_EQ(window->qJournal().recordCount(), 4);
    EXPECT_EQ(currentDocument(), created);
    EXPECT_EQ(dm->StockOnHand(1), 5);
}

TEST_F(JournalDocuments, AnAbandonedNewDocumentLeavesTheJournalWhereItWas)
{
    whileOpen([this] { window->actnNewScrap->trigger(); }, [](TfrmBrak &) {});
    ASSERT_TRUE(opened);
    EXPECT_EQ(window->qJournal().recordCount(), 3);
    EXPECT_EQ(currentDocument(), 3);
}

TEST_F(JournalDocuments, EnterOnARowOpensItsDocumentAndTheJournalKeepsIt)
{
    ASSERT_TRUE(window->qJournal().locate({f("TRANZ_ID")}, {2}));
    window->grid()->setFocus();
    whileOpen([this] { QTest::keyClick(window->grid(), Qt::Key_Return); },
              [](TfrmBrak &editor) {
                  EXPECT_FALSE(editor.model().isNew());
                  EXPECT_EQ(editor.model().documentId(), 2);
                  EXPECT_TRUE(editor.btnDestroy()->isEnabled());
                  EXPECT_EQ(editor.model().area(0).lines().recordCount(), 1);
                  editor.model().header().setValue(f("TRANZ_NOTE"), QStringLiteral("мухъл"));
                  editor.SaveClick();
              });
    ASSERT_TRUE(opened);
    EXPECT_EQ(currentDocument(), 2);
    EXPECT_EQ(window->qJournal().value(f("TRANZ_NOTE")).toString(), QStringLiteral("мухъл"));
}

TEST_F(JournalDocuments, F7AndADoubleClickOpenTheCurrentDocumentToo)
{
    ASSERT_TRUE(window->qJournal().locate({f("TRANZ_ID")}, {2}));
    EXPECT_EQ(window->actnEditDoc->shortcut(), QKeySequence(Qt::Key_F7));
    whileOpen([this] { QTest::keyClick(window.get(), Qt::Key_F7); }, [](TfrmBrak &) {});
    EXPECT_TRUE(opened);
    whileOpen([this] { Q_EMIT window->grid()->doubleClicked(window->grid()->currentIndex()); }, [](TfrmBrak &) {});
    EXPECT_TRUE(opened);
    EXPECT_EQ(currentDocument(), 2);
}

TEST_F(JournalDocuments, ADestroyedDocumentLeavesTheJournal)
{
    ASSERT_TRUE(window->qJournal().locate({f("TRANZ_ID")}, {2}));
    whileOpen([this] { window->actnEditDoc->trigger(); },
              [this](TfrmBrak &editor) {
                  dialogs.answers = {mrYes};
                  QTest::mouseClick(editor.btnDestroy(), Qt::LeftButton);
              });
    ASSERT_TRUE(opened);
    EXPECT_EQ(window->qJournal().recordCount(), 2);
    EXPECT_EQ(dm->QueryValue(f("select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = 2")).toInt(), 0);
}

TEST_F(JournalDocuments, ARowOfATypeWithoutEditorOpensNothing)
{
    // A type this program has no editor for, as another program may write.
    addDocument(*dm, 4, 99, 1, QDateTime::currentDateTime());
    window->actnRefresh->trigger();
    ASSERT_TRUE(window->qJournal().locate({f("TRANZ_ID")}, {4}));
    whileOpen([this] { window->actnEditDoc->trigger(); }, [](TfrmBrak &) {});
    EXPECT_FALSE(opened);
    EXPECT_EQ(currentDocument(), 4);
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(JournalDocuments, EditingIsEnabledOnlyWhileTheJournalHasRows)
{
    EXPECT_TRUE(window->actnEditDoc->isEnabled());
    window->tabs()->setCurrentIndex(3); // sales: none
    EXPECT_EQ(window->qJournal().recordCount(), 0);
    EXPECT_FALSE(window->actnEditDoc->isEnabled());
    whileOpen([this] { QTest::keyClick(window.get(), Qt::Key_F7); }, [](TfrmBrak &) {});
    EXPECT_FALSE(opened);
    window->tabs()->setCurrentIndex(4);
    EXPECT_TRUE(window->actnEditDoc->isEnabled());
}

TEST_F(JournalDocuments, F3AndF5OpenANewDeliveryAndANewSaleFromTheLastRow)
{
    window->qJournal().first();
    for (const Qt::Key key : {Qt::Key_F3, Qt::Key_F5}) {
        QApplication::setActiveWindow(window.get());
        QString title;
        bool isNew = false;
        int rowWhenOpened = 0;
        QTimer::singleShot(0, window.get(), [&] {
            auto *editor = qobject_cast<TfrmStockDocument *>(QApplication::activeModalWidget());
            if (!editor)
                return;
            QTimer::singleShot(5000, editor, [editor] { editor->done(mrCancel); });
            title = editor->windowTitle();
            isNew = editor->model().isNew();
            rowWhenOpened = currentDocument();
            dialogs.answers.push_back(mrYes);
            editor->reject();
        });
        QTest::keyClick(window.get(), key);
        EXPECT_EQ(title, key == Qt::Key_F3 ? QStringLiteral("Доставка") : QStringLiteral("Продажба"));
        EXPECT_TRUE(isNew);
        EXPECT_EQ(rowWhenOpened, 3);
        EXPECT_EQ(window->qJournal().recordCount(), 3);
    }
}

} // namespace
