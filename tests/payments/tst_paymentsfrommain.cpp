#include "db/Dataset.h"
#include "mainwindow/TfrmMain.h"
#include "payments/TfrmPlashtaniya.h"
#include "support/GuiTest.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TEST_F(GuiDatabaseTest, PaymentsFromTheMainWindowHoldTheJournalClosedWhileOpen)
{
    TfrmMain window(*dm);
    window.show();
    ASSERT_TRUE(window.qJournal().isOpen());
    EXPECT_TRUE(window.actnPayments->isEnabled());
    EXPECT_EQ(window.actnPayments->shortcut(), QKeySequence(Qt::Key_F8));
    bool shown = false;
    bool journalOpen = true;
    QTimer::singleShot(0, &window, [&] {
        auto *payments = qobject_cast<TfrmPlashtaniya *>(QApplication::activeModalWidget());
        if (!payments)
            return;
        shown = true;
        journalOpen = window.qJournal().isOpen();
        payments->btnClose()->click();
    });
    QTimer::singleShot(5000, &window, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    window.actnPayments->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(journalOpen);
    EXPECT_TRUE(window.qJournal().isOpen());
}

} // namespace
