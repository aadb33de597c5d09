#include "ui/TfrmYesNo.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmYesNo::TfrmYesNo(QWidget *owner)
    : TfrmBaseForm(owner)
{
    RememberSize = false;
    auto *outer = new QVBoxLayout(this);
    m_content = new QVBoxLayout;
    outer->addLayout(m_content, 1);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_cancel->setAutoDefault(false);
    m_buttons->addWidget(m_ok);
    m_buttons->addWidget(m_cancel);
    outer->addLayout(m_buttons);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmYesNo::showEvent(QShowEvent *event)
{
    // Centred on the owner until a remembered place is applied.
    if (!layoutLoaded() && parentWidget()) {
        const QRect owner = parentWidget()->window()->geometry();
        move(owner.center() - rect().center());
    }
    TfrmBaseForm::showEvent(event);
}

void TfrmYesNo::focusFirstEmptyField()
{
    for (QLineEdit *field : findChildren<QLineEdit *>()) {
        if (field->isEnabled() && field->isVisibleTo(this) && field->text().isEmpty()) {
            field->setFocus();
            return;
        }
    }
}
