#include "mainwindow/TfrmNetworkSettings.h"

#include "core/AppSettings.h"
#include "core/ProgramFiles.h"
#include "core/TSettings.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmNetworkSettings::TfrmNetworkSettings(QWidget *owner)
    : TfrmYesNo(owner)
{
    setObjectName(QStringLiteral("frmNetworkSettings"));
    setWindowTitle(QStringLiteral("Network Settings"));
    TSettings &settings = AppSettings();
    m_server = new QLineEdit(settings.ReadString(QStringLiteral("db_server\\host"), QStringLiteral("localhost")), this);
    m_database = new QLineEdit(
        settings.ReadString(QStringLiteral("db_server\\database"),
                            varnex::programFileWithExtension(varnex::programPath(), QStringLiteral(".fdb"))),
        this);
    m_user = new QLineEdit(settings.ReadString(QStringLiteral("db_server\\user"), QStringLiteral("SYSDBA")), this);
    m_password = new QLineEdit(settings.ReadString(QStringLiteral("db_server\\pass"), QStringLiteral("pendrolix")), this);
    m_password->setEchoMode(QLineEdit::Password);

    // There is no network neighbourhood to browse here: the computer's
    // name is asked for.
    auto *choose = new QPushButton(QStringLiteral("..."), this);
    choose->setAutoDefault(false);
    choose->setFixedWidth(32);
    connect(choose, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QString computer = QInputDialog::getText(this, QStringLiteral("Select Server"), QStringLiteral("Server"),
                                                       QLineEdit::Normal, m_server->text(), &ok);
        if (ok && !computer.trimmed().isEmpty())
            m_server->setText(computer.trimmed());
    });
    auto *server = new QHBoxLayout;
    server->addWidget(m_server, 1);
    server->addWidget(choose);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Server"), server);
    form->addRow(QStringLiteral("DB File / Alias"), m_database);
    form->addRow(QStringLiteral("DB Login"), m_user);
    form->addRow(QStringLiteral("DB Password"), m_password);
    contentLayout()->addLayout(form);
    setTabOrder(m_server, choose);
    resize(420, 180);
}
