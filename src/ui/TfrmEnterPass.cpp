#include "ui/TfrmEnterPass.h"

#include "data/ColumnSizes.h"
#include "ui/PromptFields.h"

#include <QApplication>
#include <QFormLayout>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>

TfrmEnterPass::TfrmEnterPass(QWidget *owner)
    : TfrmYesNo(owner)
{
    setObjectName(QStringLiteral("frmEnterPass"));
    setWindowTitle(QStringLiteral("Въвъдете парола"));
    RememberPosition = false;
    RememberSize = false;
    auto *form = new QFormLayout;
    m_password = new QLineEdit(this);
    makePasswordField(m_password, data::kUserPasswordSize);
    form->addRow(QStringLiteral("Парола"), m_password);
    contentLayout()->addLayout(form);
}

void TfrmEnterPass::showEvent(QShowEvent *event)
{
    TfrmYesNo::showEvent(event);
    if (const QScreen *shownOn = screen() ? screen() : QApplication::primaryScreen()) {
        QRect frame(QPoint(), frameGeometry().size());
        frame.moveCenter(shownOn->availableGeometry().center());
        move(frame.topLeft());
    }
    focusFirstEmptyField();
}

QString TfrmEnterPass::password() const
{
    return m_password->text();
}
