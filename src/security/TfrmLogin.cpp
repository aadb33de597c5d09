#include "security/TfrmLogin.h"

#include "core/AppSettings.h"
#include "core/TSettings.h"
#include "data/ColumnSizes.h"
#include "ui/PromptFields.h"
#include "util/Error.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmLogin::TfrmLogin(QWidget *owner)
    : TfrmYesNo(owner)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Идентификация"));
    RememberPosition = false;
    RememberSize = false;
    auto *form = new QFormLayout;
    m_user = new QLineEdit(this);
    m_password = new QLineEdit(this);
    limitToColumn(m_user, data::kUserLoginSize);
    makePasswordField(m_password, data::kUserPasswordSize);
    form->addRow(QStringLiteral("Потребителско име"), m_user);
    form->addRow(QStringLiteral("Парола"), m_password);
    contentLayout()->addLayout(form);
    connect(m_user, &QLineEdit::textChanged, this, [this](const QString &name) { btnOK()->setEnabled(!name.isEmpty()); });
    btnOK()->setEnabled(false);
    resize(340, 130);
}

TfrmLogin::~TfrmLogin()
{
    try {
        AppSettings().WriteString(QStringLiteral("lastLogin"), m_user->text());
    } catch (const varnex::Error &) {
        // Without settings (or with a name they cannot hold) nothing is remembered.
    }
}

void TfrmLogin::LoadLayout()
{
    TfrmYesNo::LoadLayout();
    m_user->setText(AppSettings().ReadString(QStringLiteral("lastLogin"), QString()));
}

void TfrmLogin::showEvent(QShowEvent *event)
{
    TfrmYesNo::showEvent(event);
    focusFirstEmptyField();
}
