#include "backup/ArchiveCommands.h"
#include "backup/BackupFiles.h"
#include "backup/TfrmRemarks.h"
#include "backup/TfrmSelectBackupToRestore.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Answers the window of type T once it is the modal one; the service's
// progress lets events run before it opens.
template<class T>
void whenShown(const std::function<void(T *)> &answer)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(window);
        }
    });
    timer->start();
}

class RestoreWindow : public GuiTest
{
protected:
    QString folder(const QString &name) const
    {
        const QString path = dir.path(name);
        QDir().mkpath(path);
        return path;
    }
    static void touch(const QString &path) { QFile(path).open(QIODevice::WriteOnly); }

    TfrmSelectBackupToRestore window;
};

TEST_F(RestoreWindow, AFolderWithoutBackupsOffersNothing)
{
    window.setFolders({folder(QStringLiteral("empty"))}, folder(QStringLiteral("empty")));
    EXPECT_FALSE(window.cbBackups()->isEnabled());
    EXPECT_EQ(window.cbBackups()->currentText(), QStringLiteral("Не са намерени архиви!"));
    EXPECT_FALSE(window.btnOK()->isEnabled());
    EXPECT_FALSE(window.btnDelete()->isEnabled());
    EXPECT_EQ(window.chosenFile(), QString());
}

TEST_F(RestoreWindow, ListsBackupsByTheirNamesAndShowsTheirNotes)
{
    const QString backups = folder(QStringLiteral("Backup"));
    touch(QDir(backups).filePath(QStringLiteral("20240305_1407.DBbackup")));
    touch(QDir(backups).filePath(QStringLiteral("2024ab05_14x7.DBbackup")));
    backup::writeNotes(QDir(backups).filePath(QStringLiteral("20240305_1407.DBbackup")), QStringLiteral("преди\nотчета"));
    window.setFolders({backups}, backups);
    ASSERT_TRUE(window.cbBackups()->isEnabled());
    EXPECT_EQ(window.cbBackups()->count(), 2);
    EXPECT_EQ(window.cbBackups()->currentIndex(), -1);
    EXPECT_FALSE(window.btnOK()->isEnabled());
    EXPECT_EQ(window.cbBackups()->itemText(0), QStringLiteral("05.03.2024г. 14:07"));
    EXPECT_EQ(window.cbBackups()->itemText(1), QStringLiteral("05.ab.2024г. 14:x7"));

    window.cbBackups()->setCurrentIndex(0);
    EXPECT_EQ(window.edtFile()->text(), QStringLiteral("20240305_1407.DBbackup"));
    EXPECT_EQ(window.memNotes()->toPlainText(), QStringLiteral("преди\nотчета"));
    EXPECT_TRUE(window.btnOK()->isEnabled());
    EXPECT_TRUE(window.btnDelete()->isEnabled());
    EXPECT_EQ(window.chosenFile(), QDir(backups).filePath(QStringLiteral("20240305_1407.DBbackup")));
    window.cbBackups()->setCurrentIndex(1);
    EXPECT_EQ(window.memNotes()->toPlainText(), QStringLiteral("Няма записани бележки."));
}

TEST_F(RestoreWindow, DeletingRemovesOnlyTheBackupAndAskedFirst)
{
    const QString backups = folder(QStringLiteral("Backup"));
    const QString file = QDir(backups).filePath(QStringLiteral("20240305_1407.DBbackup"));
    touch(file);
    backup::writeNotes(file, QStringLiteral("бележка"));
    window.setFolders({backups}, backups);
    window.cbBackups()->setCurrentIndex(0);

    dialogs.answers = {mrCancel};
    window.btnDelete()->click();
    EXPECT_TRUE(QFile::exists(file));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Потвърдете изтриване?\n\r\n\rбележка"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtWarning);

    dialogs.answers = {mrYes};
    window.btnDelete()->click();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(backup::hasNotes(file));
    EXPECT_FALSE(window.cbBackups()->isEnabled());
    EXPECT_FALSE(window.btnOK()->isEnabled());
}

TEST_F(RestoreWindow, BrowsedFoldersGoOnTopAndAtMostFifteenAreKept)
{
    QStringList folders;
    for (int i = 0; i < 15; ++i)
        folders << folder(QStringLiteral("f%1").arg(i));
    window.setFolders(folders, folders.first());
    const QString fresh = folder(QStringLiteral("fresh"));
    touch(QDir(fresh).filePath(QStringLiteral("20240305_1407.DBbackup")));
    window.browseForFolder = [&](const QString &title) {
        EXPECT_EQ(title, QStringLiteral("Избор на директория"));
        return fresh;
    };
    window.btnBrowse()->click();
    EXPECT_EQ(window.folders().size(), TfrmSelectBackupToRestore::kMostFolders);
    EXPECT_EQ(window.folders().first(), fresh);
    EXPECT_FALSE(window.folders().contains(folders.last()));
    EXPECT_EQ(window.currentFolder(), fresh);
    EXPECT_TRUE(window.cbBackups()->isEnabled());

    // A folder already listed is only selected.
    window.browseForFolder = [&](const QString &) { return folders.at(3); };
    window.btnBrowse()->click();
    EXPECT_EQ(window.folders().first(), fresh);
    EXPECT_EQ(window.currentFolder(), folders.at(3));
    window.browseForFolder = [](const QString &) { return QString(); };
    window.btnBrowse()->click();
    EXPECT_EQ(window.currentFolder(), folders.at(3));
}

TEST_F(RestoreWindow, OpensCentredOverItsOwnerUntilItHasAPlaceOfItsOwn)
{
    QWidget owner;
    owner.setGeometry(200, 150, 900, 700);
    owner.show();
    {
        TfrmSelectBackupToRestore centred(&owner);
        centred.show();
        EXPECT_LE((centred.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 4);
        centred.move(40, 60);
        centred.done(QDialog::Rejected);
    }
    TfrmSelectBackupToRestore again(&owner);
    again.show();
    EXPECT_EQ(again.pos(), QPoint(40, 60));
}

// Whatever the user types goes into the notes, Enter included, and is kept on OK.
TEST_F(RestoreWindow, TheNotesWindowTakesTheTypingFromTheStart)
{
    whenShown<TfrmRemarks>([](TfrmRemarks *notes) {
        ASSERT_EQ(notes->focusWidget(), notes->memText());
        typeText(notes->focusWidget(), QStringLiteral("преди ревизията"));
        QTest::keyClick(notes->focusWidget(), Qt::Key_Return);
        typeText(notes->focusWidget(), QStringLiteral("склад 2"));
        EXPECT_TRUE(notes->isVisible()) << "Enter closed the notes";
        notes->btnOK()->click();
    });
    QString text = QStringLiteral("Архив база данни");
    ASSERT_TRUE(EditNotes(QStringLiteral("Бележки към архив"), text));
    EXPECT_EQ(text, QStringLiteral("Архив база даннипреди ревизията\nсклад 2"));
}

// The window as the restore command opens it: the backup directory always
// offered, the folders remembered only on OK, and a cancelled window
// restores nothing.
class RestoreCommand : public GuiDatabaseTest
{
protected:
    // A window nobody answered ends the test instead of holding it.
    RestoreCommand()
    {
        QTimer::singleShot(20000, [] {
            if (auto *window = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                window->done(QDialog::Rejected);
        });
    }
};

TEST_F(RestoreCommand, TheFolderListIsStoredOnlyOnOk)
{
    dm->backupDirectory = dir.path(QStringLiteral("Backup"));
    QDir().mkpath(dm->backupDirectory);
    settings.WriteString(QStringLiteral("SelectBackupToRestore\\Recent"), dir.path(QStringLiteral("elsewhere")));
    QTimer::singleShot(0, [] {
        auto *window = qobject_cast<TfrmSelectBackupToRestore *>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->folders().first(), window->currentFolder());
        window->reject();
    });
    RestoreFromBackup(*dm, nullptr);
    EXPECT_EQ(settings.ReadString(QStringLiteral("SelectBackupToRestore\\Recent"), QString()),
              dir.path(QStringLiteral("elsewhere")));
    EXPECT_TRUE(dm->IsConnected());
}

TEST_F(RestoreCommand, TheNotesDialogFollowsAFinishedBackupAndCancelWritesNoNotes)
{
    dm->backupDirectory = dir.path(QStringLiteral("Backup"));
    QString caption;
    whenShown<TfrmRemarks>([&](TfrmRemarks *notes) {
        caption = notes->windowTitle();
        EXPECT_TRUE(notes->memText()->toPlainText().startsWith(QStringLiteral("Архив база данни на ")));
        notes->reject();
    });
    BackupToDefaultDir(*dm, nullptr);
    EXPECT_EQ(caption, QStringLiteral("Бележки към архив"));
    const QStringList made = backup::listBackups(dm->backupDirectory);
    ASSERT_EQ(made.size(), 1);
    EXPECT_FALSE(backup::hasNotes(QDir(dm->backupDirectory).filePath(made.first())));
    EXPECT_TRUE(dm->IsConnected());

    // The chosen restore then brings back that backup, connected again.
    dm->ExecSQL(QStringLiteral("insert into CITIES (ID, COUNTRY_ID, NAME) values (40, 1, 'Троян')"));
    whenShown<TfrmSelectBackupToRestore>([](TfrmSelectBackupToRestore *window) {
        EXPECT_FALSE(window->chosenFile().isEmpty()) << "the newest backup is chosen";
        window->btnOK()->click();
    });
    RestoreFromBackup(*dm, nullptr, dm->backupDirectory, true);
    ASSERT_TRUE(dm->IsConnected());
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from CITIES where ID = 40")).toInt(), 0);
    EXPECT_EQ(settings.ReadString(QStringLiteral("SelectBackupToRestore\\Recent"), QString()), dm->backupDirectory);
}

} // namespace
