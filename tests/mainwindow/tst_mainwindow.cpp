#include "backup/BackupFiles.h"
#include "backup/TfrmSelectBackupToRestore.h"
#include "mainwindow/TfrmAbout.h"
#include "mainwindow/TfrmMain.h"
#include "mainwindow/TfrmNetworkSettings.h"
#include "ui/PrivateFonts.h"
#include "db/Dataset.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"
#include "ui/DataGrid.h"
#include "ui/DateField.h"
#include "ui/TfrmList.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QComboBox>
#include <QTabBar>
#include <QTimer>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class MainWindow : public GuiDatabaseTest
{
protected:
    MainWindow()
    {
        settings.WriteString(QStringLiteral("clientinfo\\company"), QStringLiteral("Фирма „Д'Артанян“ ООД"));
        settings.WriteString(QStringLiteral("clientinfo\\city"), QStringLiteral("Русе"));
        dm->ExecSQL(QStringLiteral("insert into KONTR (KONTR_ID, KONTR_NAME) values (2, 'Доставчик')"));
        addDocument(*dm, 1, 12, 2, QDateTime(QDate(2026, 11, 30), QTime(23, 59)));
        addDocument(*dm, 2, 12, 2, QDateTime(QDate(2026, 12, 1), QTime(0, 0)));
        addDocument(*dm, 3, 10, -1, QDateTime(QDate(2026, 12, 15), QTime(12, 0)));
        addDocument(*dm, 4, 11, 2, QDateTime(QDate(2026, 12, 31), QTime(23, 59)));
        addDocument(*dm, 5, 13, -1, QDateTime(QDate(2027, 1, 1), QTime(0, 0)));
        window = std::make_unique<TfrmMain>(*dm);
        window->today = [] { return QDate(2026, 12, 9); };
        window->edtFrom()->setDate(QDate(2026, 12, 1));
        window->edtTo()->setDate(QDate(2026, 12, 31));
        window->show();
    }
    QList<int> shownIds()
    {
        QList<int> ids;
        for (int row = 0; row < window->qJournal().recordCount(); ++row)
            ids << window->qJournal().value(row, window->qJournal().fieldIndex(QStringLiteral("TRANZ_ID"))).toInt();
        return ids;
    }

    std::unique_ptr<TfrmMain> window;
};

TEST_F(MainWindow, ShowingWritesTheOwnCompanyAndOpensTheWholePeriod)
{
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select KONTR_NAME from KONTR where KONTR_ID = 1")).toString(),
              QStringLiteral("Фирма „Д'Артанян“ ООД"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select KONTR_CITY from KONTR where KONTR_ID = 1")).toString(), QStringLiteral("Русе"));
    EXPECT_EQ(shownIds(), (QList<int>{2, 3, 4})); // the last day's 23:59 counts, the day before and after do not
    EXPECT_EQ(window->heading()->text(), QStringLiteral("  Документи от дата 01.12.2026 до дата 31.12.2026 "));
    EXPECT_EQ(window->statusLine()->text(), QStringLiteral(" Запис № 1 от общо 3"));
    ASSERT_TRUE(window->qJournal().locate({QStringLiteral("TRANZ_ID")}, {3}));
    EXPECT_EQ(window->qJournal().displayText(QStringLiteral("KONTR_NAME")), QString()); // production: no counterparty
    EXPECT_EQ(window->qJournal().displayText(QStringLiteral("TRANZ_TYPES_NAME")), QStringLiteral("Производство"));
    EXPECT_EQ(window->qJournal().displayText(QStringLiteral("TRANZ_DOCNO")), QStringLiteral("000003"));
    EXPECT_EQ(window->statusLine()->text(), QStringLiteral(" Запис № 2 от общо 3"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Система за складова отчетност \"ТОРЕМ\" версия 2.0"));
}

TEST_F(MainWindow, ACompanyNameLongerThanItsColumnIsToldOnceAndTheJournalOpensAllTheSame)
{
    settings.WriteString(QStringLiteral("clientinfo\\company"), QString(81, QLatin1Char('N')));
    TfrmMain second(*dm);
    second.edtFrom()->setDate(QDate(2026, 12, 1));
    second.edtTo()->setDate(QDate(2026, 12, 31));
    second.show();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_TRUE(dialogs.errors[0].contains(QStringLiteral("„Фирма“ (clientinfo\\company) е 81 знака, а се побират най-много 80.")))
        << dialogs.errors[0].toStdString();
    EXPECT_EQ(second.qJournal().recordCount(), 3);
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select KONTR_NAME from KONTR where KONTR_ID = 1")).toString(),
              QStringLiteral("Фирма „Д'Артанян“ ООД"));
    second.hide();
    second.show();
    EXPECT_EQ(dialogs.errors.size(), 1u) << "told once a session";
}

TEST_F(MainWindow, ARestoreShowsTheDocumentsOfTheRestoredDatabase)
{
    dm->backupDirectory = dir.path(QStringLiteral("Backup"));
    QDir().mkpath(dm->backupDirectory);
    dm->RunBackup(backup::backupFileName(dm->backupDirectory, QDateTime::currentDateTime()));
    addDocument(*dm, 6, 11, 2, QDateTime(QDate(2026, 12, 2), QTime(8, 0)));
    window->actnRefresh->trigger();
    ASSERT_EQ(shownIds(), (QList<int>{2, 6, 3, 4}));
    QTimer::singleShot(200, [] {
        auto *restore = qobject_cast<TfrmSelectBackupToRestore *>(QApplication::activeModalWidget());
        ASSERT_NE(restore, nullptr);
        restore->cbBackups()->setCurrentIndex(0);
        restore->btnOK()->click();
    });
    window->actnRestore->trigger();
    EXPECT_EQ(shownIds(), (QList<int>{2, 3, 4}));
}

TEST_F(MainWindow, TabsFilterByTypeAndNameTheHeading)
{
    window->tabs()->setCurrentIndex(1);
    EXPECT_EQ(shownIds(), (QList<int>{2}));
    EXPECT_EQ(window->heading()->text(), QStringLiteral("  Доставки от дата 01.12.2026 до дата 31.12.2026 "));
    window->edtFrom()->clear();
    window->edtTo()->clear();
    window->actnRefresh->trigger();
    EXPECT_EQ(window->heading()->text(), QStringLiteral("  Доставки "));
    EXPECT_EQ(shownIds(), (QList<int>{1, 2}));
    window->tabs()->setCurrentIndex(0);
    window->edtFrom()->setDate(QDate(2026, 12, 31));
    window->actnRefresh->trigger();
    EXPECT_EQ(window->heading()->text(), QStringLiteral("  Издадени документи за периода от дата 31.12.2026 "));
    EXPECT_EQ(shownIds(), (QList<int>{4, 5}));
    window->tabs()->setCurrentIndex(4);
    window->edtFrom()->setDate(QDate(2027, 2, 1));
    window->actnRefresh->trigger();
    EXPECT_EQ(window->statusLine()->text(), QStringLiteral(" Няма намерени записи."));
}

TEST_F(MainWindow, AnInvalidDateStopsTheRefresh)
{
    const QString heading = window->heading()->text();
    window->edtTo()->setText(QStringLiteral("31.02.2026"));
    window->actnRefresh->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Невалидна дата!"));
    EXPECT_EQ(window->heading()->text(), heading);
}

TEST_F(MainWindow, TheWeekRunsMondayToSundayAndOnSundaysTheNextOne)
{
    // 7–13 December 2026 is Monday to Sunday.
    for (int day = 7; day <= 12; ++day) {
        window->today = [day] { return QDate(2026, 12, day); };
        window->actnThisWeek->trigger();
        EXPECT_EQ(window->edtFrom()->date(), QDate(2026, 12, 7)) << day;
        EXPECT_EQ(window->edtTo()->date(), QDate(2026, 12, 13)) << day;
    }
    window->today = [] { return QDate(2026, 12, 13); };
    window->actnThisWeek->trigger();
    EXPECT_EQ(window->edtFrom()->date(), QDate(2026, 12, 14));
    EXPECT_EQ(window->edtTo()->date(), QDate(2026, 12, 20));

    window->today = [] { return QDate(2026, 12, 9); };
    window->actnToday->trigger();
    EXPECT_EQ(window->edtFrom()->date(), QDate(2026, 12, 9));
    window->actnYesterday->trigger();
    EXPECT_EQ(window->edtTo()->date(), QDate(2026, 12, 8));
    window->actnThisMonth->trigger();
    EXPECT_EQ(window->edtFrom()->date(), QDate(2026, 12, 1));
    EXPECT_EQ(window->edtTo()->date(), QDate(2026, 12, 31));
    EXPECT_EQ(shownIds(), (QList<int>{2, 3, 4}));
}

TEST_F(MainWindow, RefreshKeepsTheDocumentOrEndsOnTheLastRow)
{
    ASSERT_TRUE(window->qJournal().locate({QStringLiteral("TRANZ_ID")}, {3}));
    addDocument(*dm, 6, 11, 2, QDateTime(QDate(2026, 12, 2), QTime(8, 0)));
    window->actnRefresh->trigger();
    EXPECT_EQ(window->qJournal().value(QStringLiteral("TRANZ_ID")).toInt(), 3);
    dm->DeleteDocument(3);
    window->actnRefresh->trigger();
    EXPECT_EQ(window->qJournal().recNo(), window->qJournal().recordCount() - 1);
}

TEST_F(MainWindow, MaintenanceShowsOnlyWithShiftAndControlHeld)
{
    QMenu *menu = window->systemMenu();
    window->modifiersNow = [] { return Qt::KeyboardModifiers(Qt::ShiftModifier); };
    Q_EMIT menu->aboutToShow();
    EXPECT_FALSE(window->maintenanceMenu()->menuAction()->isVisible());
    window->modifiersNow = [] { return Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier); };
    Q_EMIT menu->aboutToShow();
    EXPECT_TRUE(window->maintenanceMenu()->menuAction()->isVisible());
    EXPECT_FALSE(window->actnLeaveZone->isEnabled());
    EXPECT_FALSE(window->actnNetworkSettings->isEnabled()); // the test database is embedded
    EXPECT_TRUE(window->archivesMenu()->isEnabled()); // the embedded engine has its services too
    Q_EMIT window->documentationMenu()->aboutToShow();
    EXPECT_FALSE(window->actnNewVersion->isVisible());
}

TEST_F(MainWindow, TheExitIsConfirmed)
{
    dialogs.answers = {mrCancel};
    window->close();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Желаете ли да приключите работа с програмата?"));
    EXPECT_EQ(dialogs.shown[0].buttons, mbYes | mbCancel);
    dialogs.answers = {mrYes};
    window->close();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, TheUnitsOpenAsAChildWindowWhileTheMainWindowWaits)
{
    QTimer::singleShot(200, [] {
        QWidget *units = QApplication::activeModalWidget();
        ASSERT_NE(units, nullptr);
        EXPECT_EQ(units->objectName(), QStringLiteral("frmMerki"));
        units->move(33, 44);
        units->close();
    });
    window->actnUnits->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(settings.ReadInteger(QStringLiteral("frmMerki\\posLeft"), -1), 33);
}

TEST_F(MainWindow, AfterTheUnitsTheJournalKeepsItsTabAndDocument)
{
    window->tabs()->setCurrentIndex(3);
    window->edtFrom()->clear();
    window->actnRefresh->trigger();
    addDocument(*dm, 6, 11, 2, QDateTime(QDate(2026, 12, 2), QTime(8, 0)));
    window->actnRefresh->trigger();
    ASSERT_TRUE(window->qJournal().locate({QStringLiteral("TRANZ_ID")}, {4}));
    QTimer::singleShot(200, [] { QApplication::activeModalWidget()->close(); });
    window->actnUnits->trigger();
    EXPECT_EQ(window->tabs()->currentIndex(), 3);
    EXPECT_EQ(shownIds(), (QList<int>{6, 4}));
    EXPECT_EQ(window->qJournal().value(QStringLiteral("TRANZ_ID")).toInt(), 4);
}

// What a list window opened by the main window showed, read while it ran.
struct OpenedList
{
    QString title;
    QStringList columns;
    bool mainWindowShown = true;
    bool printing = false;
    bool filtering = true;
    int firstWidth = 0;
};

// Triggers the action and, once its list window runs, reads it, sets the
// width of its first column and closes it (or the fail-safe does).
OpenedList runList(TfrmMain &window, QAction *action, int newWidth = 0)
{
    OpenedList seen;
    QTimer::singleShot(200, &window, [&] {
        auto *list = qobject_cast<TfrmList *>(QApplication::activeModalWidget());
        if (!list)
            return;
        seen.title = list->windowTitle();
        QAbstractItemModel *model = list->Grid()->model();
        for (int column = 0; column < model->columnCount(); ++column)
            seen.columns << model->headerData(column, Qt::Horizontal).toString();
        seen.mainWindowShown = window.isVisible();
        seen.printing = list->actnPrint->isEnabled();
        seen.filtering = list->actnFilter->isEnabled();
        seen.firstWidth = list->Grid()->columnWidth(0);
        if (newWidth > 0)
            list->Grid()->setColumnWidth(0, newWidth);
        list->move(33, 44);
        list->close();
    });
    QTimer::singleShot(5000, &window, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    action->trigger();
    return seen;
}

TEST_F(MainWindow, CategoriesAndSettlementsOpenInTheListWindowWhileTheMainWindowWaits)
{
    const OpenedList categories = runList(*window, window->actnCategories);
    EXPECT_EQ(categories.title, QStringLiteral("Категории стоки"));
    EXPECT_EQ(categories.columns, (QStringList{QStringLiteral("Код"), QStringLiteral("Наименование")}));
    EXPECT_FALSE(categories.mainWindowShown);
    EXPECT_TRUE(categories.printing);
    EXPECT_FALSE(categories.filtering);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(settings.ReadInteger(QStringLiteral("categories\\posLeft"), -1), 33);

    const OpenedList settlements = runList(*window, window->actnSettlements);
    EXPECT_EQ(settlements.title, QStringLiteral("Населени места"));
    EXPECT_EQ(settlements.columns, (QStringList{QStringLiteral("Населено място")}));
    EXPECT_FALSE(settlements.mainWindowShown);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(settings.ReadInteger(QStringLiteral("cities\\posTop"), -1), 44);
}

TEST_F(MainWindow, TheCategoriesKeepTheirColumnWidths)
{
    const int designed = runList(*window, window->actnCategories, 55).firstWidth;
    EXPECT_NE(designed, 55);
    EXPECT_EQ(runList(*window, window->actnCategories).firstWidth, 55);
}

TEST_F(MainWindow, DocumentsWithoutADateShowWhenThePeriodIsOpen)
{
    dm->ExecSQL(QStringLiteral("insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_KONT_ID) values (6, 12, 6, 2)"));
    window->edtFrom()->clear();
    window->edtTo()->clear();
    window->actnRefresh->trigger();
    EXPECT_EQ(shownIds(), (QList<int>{6, 1, 2, 3, 4, 5})); // no date sorts first
    window->edtTo()->setDate(QDate(2026, 12, 31));
    window->actnRefresh->trigger();
    EXPECT_EQ(shownIds(), (QList<int>{1, 2, 3, 4})); // a bound excludes them, as the date compare does
}

TEST_F(MainWindow, CommandsAreEnabledWithTheirKeys)
{
    EXPECT_TRUE(window->actnReports->isEnabled());
    EXPECT_EQ(window->actnReports->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_TRUE(window->actnInvoices->isEnabled());
    EXPECT_TRUE(window->actnNewInvoice->isEnabled());
    EXPECT_TRUE(window->actnNewDelivery->isEnabled());
    EXPECT_EQ(window->actnNewDelivery->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_TRUE(window->actnNewSale->isEnabled());
    EXPECT_EQ(window->actnNewSale->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_TRUE(window->actnUnits->isEnabled());
    EXPECT_EQ(window->actnUnits->shortcut(), QKeySequence(Qt::Key_F11));
    EXPECT_TRUE(window->actnCategories->isEnabled());
    EXPECT_TRUE(window->actnSettlements->isEnabled());
    EXPECT_TRUE(window->actnGoods->isEnabled());
    EXPECT_EQ(window->actnGoods->shortcut(), QKeySequence(Qt::Key_F10));
    EXPECT_TRUE(window->actnCounterparties->isEnabled());
    EXPECT_EQ(window->actnCounterparties->shortcut(), QKeySequence(Qt::Key_F9));
}

} // namespace

namespace {

using SmallWindows = testing_support::GuiTest;

TEST_F(SmallWindows, NetworkSettingsShowTheSettingsAndAboutTheVersion)
{
    settings.WriteString(QStringLiteral("db_server\\host"), QStringLiteral("sklad"));
    settings.WriteString(QStringLiteral("clientinfo\\company"), QStringLiteral("Торем ООД"));
    TfrmNetworkSettings network;
    EXPECT_EQ(network.windowTitle(), QStringLiteral("Network Settings"));
    EXPECT_EQ(network.edtServer()->text(), QStringLiteral("sklad"));
    EXPECT_EQ(network.edtUser()->text(), QStringLiteral("SYSDBA"));
    EXPECT_EQ(network.edtPassword()->echoMode(), QLineEdit::Password);
    network.edtServer()->setText(QStringLiteral("other"));
    network.accept();
    EXPECT_EQ(settings.ReadString(QStringLiteral("db_server\\host"), QString()), QStringLiteral("sklad"));

    TfrmAbout about;
    QStringList lines;
    for (QLabel *label : about.findChildren<QLabel *>())
        lines << label->text();
    EXPECT_TRUE(lines.contains(QStringLiteral("версия 2.0.0.0")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Торем ООД")));
}

TEST_F(SmallWindows, PrivateFontsComeAndGoWithTheProgram)
{
    const QString font = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    if (!QFile::exists(font))
        GTEST_SKIP() << "no font to add";
    QDir(dir.path(QString())).mkdir(QStringLiteral("fonts"));
    QFile::copy(font, dir.path(QStringLiteral("fonts/Private.ttf")));
    dir.writeFile(QStringLiteral("fonts/not-a-font.ttf"), "junk");
    PrivateFonts fonts(dir.path(QStringLiteral("fonts")));
    EXPECT_EQ(fonts.count(), 1);
}

} // namespace
