#pragma once

#include "ui/TfrmBaseForm.h"

#include <QStringList>

#include <functional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Възстановяване на данни от архив": a folder from the list, a backup of
// that folder, its note, and deleting a backup that is no longer wanted.
class TfrmSelectBackupToRestore : public TfrmBaseForm
{
    Q_OBJECT

public:
    static constexpr int kMostFolders = 15;

    explicit TfrmSelectBackupToRestore(QWidget *owner = nullptr);

    // The folders offered and the one shown first.
    void setFolders(const QStringList &folders, const QString &current);
    QStringList folders() const;
    QString currentFolder() const { return m_folder; }
    // The backup file chosen, with its folder; empty while none is chosen.
    QString chosenFile() const;
    void selectBackup(const QString &fileName);

    // The folder picker; tests answer it themselves. Empty: nothing chosen.
    std::function<QString(const QString &title)> browseForFolder;

    QComboBox *cbFolders() const { return m_folders; }
    QComboBox *cbBackups() const { return m_backups; }
    QLineEdit *edtFile() const { return m_file; }
    QPlainTextEdit *memNotes() const { return m_notes; }
    QPushButton *btnBrowse() const { return m_browse; }
    QPushButton *btnDelete() const { return m_delete; }
    QPushButton *btnOK() const { return m_ok; }
    QPushButton *btnCancel() const { return m_cancel; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void listFolder();
    void showBackup();
    void updateButtons();
    void browse();
    void deleteBackup();

    QString m_folder;
    QStringList m_names;
    QComboBox *m_folders;
    QComboBox *m_backups;
    QLineEdit *m_file;
    QPlainTextEdit *m_notes;
    QPushButton *m_browse;
    QPushButton *m_delete;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
