#include "mainwindow/TBaseMainForm.h"

#include "backup/ArchiveCommands.h"
#include "core/Tdm.h"
#include "security/TfrmSecuritySettings.h"
#include "ui/Dialogs.h"
#include "ui/DisabledGlyph.h"
#include "ui/ErrorGuard.h"
#include "ui/VarnexApplication.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TBaseMainForm::TBaseMainForm(Tdm &data, QWidget *owner)
    : TfrmBaseForm(owner)
    , modifiersNow([] { return QGuiApplication::queryKeyboardModifiers(); })
    , m_data(data)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    layout->addWidget(m_toolBar);

    m_documentation = new QMenu(this);
    actnAbout = m_documentation->addAction(QStringLiteral("За програмата"));
    actnHelp = m_documentation->addAction(QStringLiteral("Помощна информация"));
    actnHelp->setShortcut(QKeySequence(Qt::Key_F1));
    actnHelp->setEnabled(false);
    actnNewVersion = m_documentation->addAction(QStringLiteral("Нова версия - проверка"));
    connect(m_documentation, &QMenu::aboutToShow, this, [this] { actnNewVersion->setVisible(false); });

    m_system = new QMenu(this);
    actnChangePassword = m_system->addAction(QStringLiteral("Смана на парола"));
    actnMaintenancePassword = m_system->addAction(QStringLiteral("Парола за поддръжка"));
    actnUserRights = m_system->addAction(QStringLiteral("Потребителски права"));
    actnLeaveZone = m_system->addAction(QStringLiteral("Изход от защитена зона"));
    actnNetworkSettings = m_system->addAction(QStringLiteral("Настройки на мрежа"));
    m_archives = m_system->addMenu(QStringLiteral("Архиви"));
    actnBackup = m_archives->addAction(QStringLiteral("Архивиране"));
    actnBackupTo = m_archives->addAction(QStringLiteral("Архивиране в ..."));
    actnRestore = m_archives->addAction(QStringLiteral("Възстановяване"));
    m_maintenanceSeparator = m_system->addSeparator();
    m_maintenance = new QMenu(QStringLiteral("Mainternance"), m_system);
    actnEmptyDb = m_maintenance->addAction(QStringLiteral("Empty DB"));
    actnResetPass = m_maintenance->addAction(QStringLiteral("Reset Pass"));
    actnAdjustCounters = m_maintenance->addAction(QStringLiteral("Adjust Counters"));
    m_maintenanceEntry = m_system->addMenu(m_maintenance);
    connect(m_system, &QMenu::aboutToShow, this, &TBaseMainForm::prepareSystemMenu);

    connect(actnChangePassword, &QAction::triggered, this, [this] { command([this] { m_data.ChangePassword(); }); });
    connect(actnMaintenancePassword, &QAction::triggered, this,
            [this] { command([this] { m_data.ChangeMaintenancePassword(); }); });
    connect(actnUserRights, &QAction::triggered, this, [this] {
        command([this] {
            if (m_data.CheckRight(12))
                ShowRightsWindow(m_data, this);
        });
    });
    connect(actnBackup, &QAction::triggered, this, [this] {
        command([this] {
            if (m_data.CheckRight(10))
                BackupToDefaultDir(m_data, this);
        });
    });
    connect(actnBackupTo, &QAction::triggered, this, [this] {
        command([this] {
            if (m_data.CheckRight(10))
                BackupToChosenDir(m_data, this);
        });
    });
    connect(actnRestore, &QAction::triggered, this, [this] {
        command([this] {
            if (m_data.CheckRight(11) && RestoreFromBackup(m_data, this))
                DatabaseRestored();
        });
    });
    connect(actnLeaveZone, &QAction::triggered, this, [this] { m_data.LeaveZone(); });
    connect(actnEmptyDb, &QAction::triggered, this, [this] { command([this] { m_data.EmptyDatabase(); }); });
    connect(actnResetPass, &QAction::triggered, this, [this] { command([this] { m_data.ResetPassword(); }); });
    connect(actnAdjustCounters, &QAction::triggered, this,
            [this] { command([this] { m_data.AdjustCounters(data::CounterAdjustment::Reset); }); });
}

void TBaseMainForm::DatabaseRestored()
{
}

void TBaseMainForm::command(const std::function<void()> &body)
{
    runGuarded(this, body);
}

QToolButton *TBaseMainForm::addMenuButton(const QString &caption, QMenu *menu)
{
    auto *button = new QToolButton(m_toolBar);
    button->setText(caption);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->addWidget(button);
    return button;
}

void TBaseMainForm::prepareSystemMenu()
{
    const Qt::KeyboardModifiers held = modifiersNow();
    const bool maintenance = held.testFlag(Qt::ShiftModifier) && held.testFlag(Qt::ControlModifier);
    m_maintenanceEntry->setVisible(maintenance);
    m_maintenanceSeparator->setVisible(maintenance);
    actnLeaveZone->setEnabled(m_data.InZone());
    actnNetworkSettings->setEnabled(!m_data.localMode && !m_data.embeddedMode);
    // The services reach a database on this machine, the embedded engine's
    // too; a restore also swaps its file, which only this machine can do.
    const QString &host = m_data.host;
    const bool onThisMachine = m_data.localMode || m_data.embeddedMode || host.isEmpty()
                               || host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1");
    m_archives->setEnabled(onThisMachine);
}

void TBaseMainForm::reject()
{
    close();
}

void TBaseMainForm::closeEvent(QCloseEvent *event)
{
    if (MessageDlg(QStringLiteral("Желаете ли да приключите работа с програмата?"), TMsgDlgType::mtConfirmation,
                   mbYes | mbCancel)
        != mrYes) {
        event->ignore();
        return;
    }
    event->accept();
    TfrmBaseForm::done(QDialog::Accepted);
}

void TBaseMainForm::showEvent(QShowEvent *event)
{
    TfrmBaseForm::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        // Maximised below; a desktop without a window manager takes the size.
        move(desktop.topLeft());
        resize(desktop.size());
    }
    setWindowState(windowState() | Qt::WindowMaximized);
    setWindowTitle(VarnexApplication::title());
    // The disabled pictures are the grey twins of the normal ones.
    for (QAction *action : m_toolBar->actions()) {
        if (!action->icon().isNull())
            action->setIcon(withDisabledGlyph(action->icon(), m_toolBar->iconSize()));
    }
    for (QToolButton *button : m_toolBar->findChildren<QToolButton *>()) {
        if (!button->defaultAction() && !button->icon().isNull())
            button->setIcon(withDisabledGlyph(button->icon(), m_toolBar->iconSize()));
    }
    prepareSystemMenu();
}
