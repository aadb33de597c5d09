#pragma once

#include "ui/TfrmBaseForm.h"

#include <functional>

class QAction;
class QMenu;
class QToolBar;
class QToolButton;
class Tdm;

// The frame of the main window: the toolbar with "Изход", the
// documentation and the system menus, the exit confirmation.
class TBaseMainForm : public TfrmBaseForm
{
    Q_OBJECT

public:
    TBaseMainForm(Tdm &data, QWidget *owner = nullptr);

    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *documentationMenu() const { return m_documentation; }
    QMenu *systemMenu() const { return m_system; }
    QMenu *maintenanceMenu() const { return m_maintenance; }
    QMenu *archivesMenu() const { return m_archives; }

    QAction *actnAbout;
    QAction *actnHelp;
    QAction *actnNewVersion;
    QAction *actnChangePassword;
    QAction *actnMaintenancePassword;
    QAction *actnUserRights;
    QAction *actnLeaveZone;
    QAction *actnNetworkSettings;
    QAction *actnBackup;
    QAction *actnBackupTo;
    QAction *actnRestore;
    QAction *actnEmptyDb;
    QAction *actnResetPass;
    QAction *actnAdjustCounters;

    // Which modifier keys are held; tests put their own answer here.
    std::function<Qt::KeyboardModifiers()> modifiersNow;

public Q_SLOTS:
    // Closing the main window always goes through the exit confirmation.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    QToolButton *addMenuButton(const QString &caption, QMenu *menu);
    Tdm &data() const { return m_data; }
    // After a restore: what the window shows of the database is read again.
    virtual void DatabaseRestored();
    // Runs a command of the main window; errors go to the error box.
    void command(const std::function<void()> &body);

private:
    void prepareSystemMenu();

    Tdm &m_data;
    QToolBar *m_toolBar;
    QMenu *m_documentation;
    QMenu *m_system;
    QMenu *m_archives;
    QMenu *m_maintenance;
    QAction *m_maintenanceEntry;
    QAction *m_maintenanceSeparator;
};
