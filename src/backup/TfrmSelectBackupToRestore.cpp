#include "backup/TfrmSelectBackupToRestore.h"

#include "backup/BackupFiles.h"
#include "core/TSettings.h"
#include "ui/Dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

const char *const kNoBackups = "Не са намерени архиви!";
const char *const kNoNotes = "Няма записани бележки.";

} // namespace

TfrmSelectBackupToRestore::TfrmSelectBackupToRestore(QWidget *owner)
    : TfrmBaseForm(owner)
{
    setObjectName(QStringLiteral("SelectBackupToRestore"));
    setWindowTitle(QStringLiteral("Възстановяване на данни от архив"));
    RememberSize = false;

    m_folders = new QComboBox(this);
    m_folders->setEditable(false);
    m_folders->setMinimumWidth(360);
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setAutoDefault(false);
    m_browse->setFixedWidth(32);
    m_backups = new QComboBox(this);
    m_backups->setEditable(false);
    m_file = new QLineEdit(this);
    m_file->setReadOnly(true);
    m_notes = new QPlainTextEdit(this);
    m_notes->setReadOnly(true);
    m_notes->setFixedHeight(120);
    m_delete = new QPushButton(QStringLiteral("Изтриване"), this);
    m_delete->setAutoDefault(false);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_cancel = new QPushButton(QStringLiteral("Отказ"), this);
    m_cancel->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Директория"), this));
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folders, 1);
    folderRow->addWidget(m_browse);
    layout->addLayout(folderRow);
    layout->addWidget(new QLabel(QStringLiteral("Избор на архив"), this));
    layout->addWidget(m_backups);
    auto *information = new QGroupBox(QStringLiteral("Информация за архив"), this);
    auto *form = new QFormLayout(information);
    form->addRow(QStringLiteral("Файл"), m_file);
    form->addRow(QStringLiteral("Забележка"), m_notes);
    layout->addWidget(information);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    browseForFolder = [this](const QString &title) {
        return QFileDialog::getExistingDirectory(this, title, QString(), QFileDialog::ShowDirsOnly);
    };

    connect(m_folders, &QComboBox::currentIndexChanged, this, [this] {
        m_folder = m_folders->currentText();
        listFolder();
    });
    connect(m_backups, &QComboBox::currentIndexChanged, this, [this] {
        showBackup();
        updateButtons();
    });
    connect(m_browse, &QPushButton::clicked, this, &TfrmSelectBackupToRestore::browse);
    connect(m_delete, &QPushButton::clicked, this, &TfrmSelectBackupToRestore::deleteBackup);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    updateButtons();
}

void TfrmSelectBackupToRestore::showEvent(QShowEvent *event)
{
    // A place of its own once it has one; until then centred over the window
    // that opened it, or on the screen at a start.
    const bool placed = !Settings().ReadString(QStringLiteral("posLeft"), QString()).isEmpty();
    TfrmBaseForm::showEvent(event);
    if (placed)
        return;
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect over = owner ? owner->frameGeometry() : screen ? screen->availableGeometry() : QRect();
    if (over.isValid())
        move(over.center() - rect().center());
}

void TfrmSelectBackupToRestore::setFolders(const QStringList &folders, const QString &current)
{
    {
        const QSignalBlocker quiet(m_folders);
        m_folders->clear();
        m_folders->addItems(folders);
        m_folders->setCurrentIndex(qMax(0, int(folders.indexOf(current))));
    }
    m_folder = m_folders->currentText();
    listFolder();
}

QStringList TfrmSelectBackupToRestore::folders() const
{
    QStringList list;
    for (int i = 0; i < m_folders->count(); ++i)
        list << m_folders->itemText(i);
    return list;
}

QString TfrmSelectBackupToRestore::chosenFile() const
{
    const int at = m_backups->currentIndex();
    if (!m_backups->isEnabled() || at < 0 || at >= m_names.size())
        return QString();
    return QDir(m_folder).filePath(m_names.at(at));
}

void TfrmSelectBackupToRestore::selectBackup(const QString &fileName)
{
    const qsizetype at = m_names.indexOf(fileName);
    if (at >= 0)
        m_backups->setCurrentIndex(int(at));
}

void TfrmSelectBackupToRestore::listFolder()
{
    {
        const QSignalBlocker quiet(m_backups);
        m_backups->clear();
        m_names = m_folder.isEmpty() ? QStringList() : backup::listBackups(m_folder);
        if (m_names.isEmpty()) {
            m_backups->addItem(QString::fromUtf8(kNoBackups));
            m_backups->setCurrentIndex(0);
            m_backups->setEnabled(false);
        } else {
            for (const QString &name : m_names)
                m_backups->addItem(backup::backupCaption(name));
            m_backups->setCurrentIndex(-1);
            m_backups->setEnabled(true);
        }
    }
    showBackup();
    updateButtons();
}

void TfrmSelectBackupToRestore::showBackup()
{
    const QString file = chosenFile();
    if (file.isEmpty()) {
        m_file->clear();
        m_notes->clear();
        return;
    }
    m_file->setText(QFileInfo(file).fileName());
    m_notes->setPlainText(backup::hasNotes(file) ? backup::readNotes(file) : QString::fromUtf8(kNoNotes));
}

void TfrmSelectBackupToRestore::updateButtons()
{
    const bool chosen = !chosenFile().isEmpty();
    m_ok->setEnabled(chosen);
    m_delete->setEnabled(chosen);
}

void TfrmSelectBackupToRestore::browse()
{
    const QString folder = browseForFolder ? browseForFolder(QStringLiteral("Избор на директория")) : QString();
    if (folder.isEmpty())
        return;
    QStringList list = folders();
    if (!list.contains(folder)) {
        list.prepend(folder);
        while (list.size() > kMostFolders)
            list.removeLast();
    }
    setFolders(list, folder);
}

void TfrmSelectBackupToRestore::deleteBackup()
{
    const QString file = chosenFile();
    if (file.isEmpty())
        return;
    if (MessageDlg(QStringLiteral("Потвърдете изтриване?\n\r\n\r") + m_notes->toPlainText(), TMsgDlgType::mtWarning,
                   mbYes | mbCancel)
        != mrYes)
        return;
    // The note stays: a later backup of the same minute finds it again.
    QFile::remove(file);
    listFolder();
}
