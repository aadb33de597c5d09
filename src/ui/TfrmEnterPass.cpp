#include "ui/TfrmEnterPass.h"

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
    m_password->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Парола"), m_password);
    contentLayout()->addLayout(form);
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString TfrmEnterPass::password() const
{
    return m_password->text();
}
