#include "security/TfrmChangePass.h"

#include "data/ColumnSizes.h"
#include "ui/PromptFields.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmChangePass::TfrmChangePass(QWidget *owner)
    : TfrmYesNo(owner)
{
    setObjectName(QStringLiteral("frmChangePass"));
    setWindowTitle(QStringLiteral("Смяна на парола"));
    RememberPosition = false;
    RememberSize = false;
    auto *form = new QFormLayout;
    m_old = new QLineEdit(this);
    m_new = new QLineEdit(this);
    m_repeat = new QLineEdit(this);
    for (QLineEdit *field : {m_old, m_new, m_repeat}) {
        makePasswordField(field, data::kUserPasswordSize);
        connect(field, &QLineEdit::textChanged, this, &TfrmChangePass::updateOk);
    }
    form->addRow(QStringLiteral("Стара парола"), m_old);
    form->addRow(QStringLiteral("Нова парола"), m_new);
    form->addRow(QStringLiteral("Повторете"), m_repeat);
    contentLayout()->addLayout(form);
    btnOK()->setEnabled(false);
    resize(340, 160);
}

void TfrmChangePass::setOldEnabled(bool enabled)
{
    m_old->setEnabled(enabled);
    updateOk();
}

void TfrmChangePass::updateOk()
{
    btnOK()->setEnabled(m_new->text() == m_repeat->text() && (!m_old->isEnabled() || !m_old->text().isEmpty()));
}

void TfrmChangePass::showEvent(QShowEvent *event)
{
    TfrmYesNo::showEvent(event);
    updateOk();
    focusFirstEmptyField();
}
