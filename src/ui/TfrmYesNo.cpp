#include "ui/TfrmYesNo.h"

#include "ui/Dialogs.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
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
    for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] {
            if (m_ok->isVisible() && m_ok->isEnabled())
                m_ok->click();
        });
    }
}

void TfrmYesNo::watchInput()
{
    const auto given = [this] { m_inputGiven = true; };
    for (QLineEdit *field : findChildren<QLineEdit *>())
        connect(field, &QLineEdit::textEdited, this, given);
    for (QPlainTextEdit *text : findChildren<QPlainTextEdit *>()) {
        connect(text, &QPlainTextEdit::textChanged, this, [this, text] {
            if (text->hasFocus())
                m_inputGiven = true;
        });
    }
    for (QComboBox *box : findChildren<QComboBox *>())
        connect(box, qOverload<int>(&QComboBox::activated), this, given);
}

void TfrmYesNo::reject()
{
    if (AskBeforeDroppingInput && m_inputGiven
        && MessageDlg(QStringLiteral("Отказвате ли се от направените промени?"), TMsgDlgType::mtConfirmation,
                      mbYes | mbNo)
               != mrYes)
        return;
    TfrmBaseForm::reject();
}

void TfrmYesNo::showEvent(QShowEvent *event)
{
    m_inputGiven = false;
    if (!m_inputWatched) {
        m_inputWatched = true;
        watchInput();
    }
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
