#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmProizvodstvo.h"
#include "mainwindow/TfrmMain.h"
#include "support/GuiTest.h"
#include "support/StockData.h"
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

class JournalProduction : public GuiDatabaseTest
{
protected:
    JournalProduction()
    {
        addGoods(*dm, 1, 1, QStringLiteral("Брашно"), 1.2);
        addGoods(*dm, 2, 2, QStringLiteral("Хляб"), 3);
        dm->qNom().reopen();
        const QDateTime now = QDateTime::currentDateTime();
        addDocument(*dm, 1, 12, 1, now.addSecs(-300));
        addLine(*dm, 11, 1, 1, 1, 10, 10, 1);
        addDocument(*dm, 2, 10, -1, now.addSecs(-200));
        addLine(*dm, 21, 2, 1, -1, 4, 4, 1);
        addLine(*dm, 22, 2, 2, 1, 2, 2);
        dm->AdjustCounters(data::CounterAdjustment::RaiseOnly);
        window = std::make_unique<TfrmMain>(*dm);
        window->edtFrom()->clear();
        window->edtTo()->clear();
        window->show();
        QApplication::setActiveWindow(window.get());
    }

    // Runs `inside` on the production editor the command opens, then lets it close.
    void whileOpen(const std::function<void()> &command, const std::function<void(TfrmProizvodstvo &)> &inside)
    {
        opened = nullptr;
        QTimer::singleShot(0, window.get(), [this, inside] {
            opened = qobject_cast<TfrmProizvodstvo *>(QApplication::activeModalWidget());
            if (!opened)
                return;
            QTimer::singleShot(5000, opened, [editor = opened] { editor->done(mrCancel); });
            inside(*opened);
            if (opened->isVisible()) {
                dialogs.answers.push_back(mrYes);
                opened->reject();
            }
        });
        command();
    }

    std::unique_ptr<TfrmMain> window;
    TfrmProizvodstvo *opened = nullptr;
};

TEST_F(JournalProduction, F4StartsAProductionDocumentThatTheJournalShowsOnceStored)
{
    ASSERT_EQ(window->qJournal().recordCount(), 2);
    int created = 0;
    whileOpen([this] { QTest::keyClick(window.get(), Qt::Key_F4); },
              [&](TfrmProizvodstvo &editor) {
                  documents::DocumentModel &document = editor.model();
                  EXPECT_TRUE(document.isNew());
                  EXPECT_TRUE(editor.btnDestroy()->isEnabled());
                  created = document.documentId();
                  documents::LineArea &materials = document.area(0);
                  materials.newLine();
                  materials.lines().setValue(f("TRANZ_RED_CENA"), 1.0);
                  materials.lines().setValue(f("TRANZ_RED_KOL1"), 2.0);
                  materials.storeLine();
                  documents::LineArea &products = document.area(1);
                  products.newLine();
                  products.lines().setValue(f("TRANZ_RED_NOM_ID"), 2);
                  products.lines().setValue(f("TRANZ_RED_KOL1"), 1.0);
                  document.header().setValue(f("TRANZ_DOCNO"), 3);
                  editor.SaveClick();
                  EXPECT_FALSE(editor.isVisible());
                  EXPECT_TRUE(dialogs.shown.empty());
              });
    ASSERT_TRUE(opened);
    EXPECT_EQ(window->qJournal().recordCount(), 3);
    EXPECT_EQ(window->qJournal().value(f("TRANZ_ID")).toInt(), created);
    EXPECT_EQ(dm->StockOnHand(1), 4);
    EXPECT_EQ(dm->StockOnHand(2), 3);
}

TEST_F(JournalProduction, EditingAProductionRowOpensItInTheProductionEditor)
{
    ASSERT_TRUE(window->qJournal().locate({f("TRANZ_ID")}, {2}));
    whileOpen([this] { window->actnEditDoc->trigger(); },
              [](TfrmProizvodstvo &editor) {
                  EXPECT_FALSE(editor.model().isNew());
                  EXPECT_EQ(editor.model().documentId(), 2);
                  EXPECT_EQ(editor.materials()->area().lines().recordCount(), 1);
                  EXPECT_EQ(editor.products()->area().lines().recordCount(), 1);
              });
    EXPECT_TRUE(opened);
    EXPECT_EQ(window->qJournal().value(f("TRANZ_ID")).toInt(), 2);
}

} // namespace
