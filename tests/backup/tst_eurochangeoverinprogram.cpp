#include "backup/ArchiveCommands.h"
#include "backup/BackupFiles.h"
#include "db/Dataset.h"
#include "mainwindow/TfrmMain.h"
#include "payments/TfrmPlashtaniya.h"
#include "ui/DataGrid.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The program on a database still kept in leva.
class EuroChangeoverInProgram : public GuiDatabaseTest
{
protected:
    EuroChangeoverInProgram()
    {
        dm->ExecSQL(QStringLiteral("delete from APP_CONFIG where KEY_ID = 402"));
        addGoods(*dm, 1, 1, QStringLiteral("Олио"), 3.91166);
        addDocument(*dm, 1, 12, 1, QDateTime(QDate(2025, 10, 1), QTime(9, 0)));
        addLine(*dm, 1, 1, 1, 1, 10, 10, 3.91166);
        dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_SUM = 39.1166"));
        dm->qNom().reopen();
        dm->backupDirectory = dir.path(QStringLiteral("Backup"));
    }

    double documentSum() { return dm->QueryValue(QStringLiteral("select TRANZ_SUM from TRANZ")).toDouble(); }

    double listedSellPrice()
    {
        db::Dataset &goods = dm->qNom();
        EXPECT_TRUE(goods.locate({QStringLiteral("NOM_ID")}, {1}));
        return goods.value(QStringLiteral("SELL_PRICE")).toDouble();
    }

    // The heading of the sum column of money due on sales.
    static QString dueSumHeading()
    {
        TfrmPlashtaniya window;
        QAbstractItemModel *model = window.grid(TfrmPlashtaniya::DueMoney)->model();
        for (int column = 0; column < model->columnCount(); ++column) {
            const QString heading = model->headerData(column, Qt::Horizontal).toString();
            if (heading.startsWith(QStringLiteral("Сума")))
                return heading;
        }
        return QString();
    }

    QStringList backups() const { return backup::listBackups(dm->backupDirectory); }
};

TEST_F(EuroChangeoverInProgram, BacksUpAsksWithTheSummaryAndConvertsOnYes)
{
    dialogs.answers = {mrNo};
    ChangeOverToEuro(*dm, nullptr);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const QString question = dialogs.shown[0].text;
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_TRUE(question.contains(QStringLiteral("1 документа: суми 39.12"))) << question.toStdString();
    EXPECT_TRUE(question.endsWith(QStringLiteral("Да бъде ли превалутирана базата данни?")));
    ASSERT_EQ(backups().size(), 1);
    EXPECT_TRUE(question.contains(backups().front()));
    EXPECT_TRUE(backup::readNotes(QDir(dm->backupDirectory).filePath(backups().front()))
                    .contains(QStringLiteral("преди преминаване към евро")));
    EXPECT_TRUE(dm->IsConnected());
    EXPECT_DOUBLE_EQ(documentSum(), 39.1166);

    dialogs.answers = {mrYes};
    ChangeOverToEuro(*dm, nullptr);
    EXPECT_DOUBLE_EQ(documentSum(), 20.0);
    ASSERT_EQ(dialogs.systemMessages.size(), 1u);
    EXPECT_EQ(dialogs.systemMessages[0],
              QStringLiteral("Базата данни е превалутирана в евро: 1 продажни цени, 1 документа, 1 реда."));
    // The shared goods list offers the euro price at once.
    EXPECT_DOUBLE_EQ(listedSellPrice(), 2.0);
}

TEST_F(EuroChangeoverInProgram, AnotherWorkstationConnectedStopsItAfterTheQuestion)
{
    std::unique_ptr<Tdm> other = database.connect();
    dialogs.answers = {mrYes};
    try {
        ChangeOverToEuro(*dm, nullptr);
        ADD_FAILURE() << "converted under another workstation";
    } catch (const varnex::Error &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Базата данни се използва от още 1 връзка")))
            << error.message().toStdString();
    }
    EXPECT_DOUBLE_EQ(documentSum(), 39.1166);
    EXPECT_TRUE(dm->GetConfigByName(QStringLiteral("EURO_CHANGEOVER")).isEmpty());
    other.reset();
    dialogs.answers = {mrYes};
    ChangeOverToEuro(*dm, nullptr);
    EXPECT_DOUBLE_EQ(documentSum(), 20.0);
}

TEST_F(EuroChangeoverInProgram, ThePaymentsWindowShowsTheCurrencyTheDatabaseKeeps)
{
    EXPECT_EQ(dueSumHeading(), QStringLiteral("Сума лв."));
    dialogs.answers = {mrYes};
    ChangeOverToEuro(*dm, nullptr);
    EXPECT_EQ(dueSumHeading(), QStringLiteral("Сума EUR"));
}

TEST_F(EuroChangeoverInProgram, ADatabaseInEuroIsRefusedWithoutABackup)
{
    dialogs.answers = {mrYes};
    ChangeOverToEuro(*dm, nullptr);
    dialogs.shown.clear();
    EXPECT_THROW(ChangeOverToEuro(*dm, nullptr), varnex::Error);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_LE(backups().size(), 1);
    EXPECT_DOUBLE_EQ(documentSum(), 20.0);
}

TEST_F(EuroChangeoverInProgram, TheArchivesMenuOffersItOnlyWithTheRightToBackUp)
{
    TfrmMain window(*dm);
    QAction *action = window.findChild<QAction *>(QStringLiteral("actnEuroChangeover"));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(window.archivesMenu()->actions().contains(action));
    EXPECT_EQ(action->text(), QStringLiteral("Преминаване към евро"));

    dm->loginRequired = true; // a user without the right
    action->trigger();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(backups().isEmpty());

    dm->loginRequired = false;
    dialogs.answers = {mrYes};
    action->trigger();
    EXPECT_DOUBLE_EQ(documentSum(), 20.0);
    EXPECT_EQ(backups().size(), 1);
}

} // namespace
