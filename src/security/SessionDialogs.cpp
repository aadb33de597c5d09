#include "security/SessionDialogs.h"

#include "security/TfrmChangePass.h"
#include "security/TfrmLogin.h"
#include "ui/Dialogs.h"
#include "ui/TfrmEnterPass.h"

#include <QApplication>
#include <QLineEdit>

void SessionDialogs::showMessage(const QString &text, const QString &caption, MessageKind kind)
{
    ShowCaptionedBox(text, caption, kind == MessageKind::Error);
}

bool SessionDialogs::confirm(const QString &text)
{
    return MessageDlg(text, TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes;
}

void SessionDialogs::errorMessage(const QString &text)
{
    MessageDlg(text, TMsgDlgType::mtError, mbOK);
}

void SessionDialogs::systemMessage(const QString &text)
{
    ShowSystemMessage(text);
}

bool SessionDialogs::askLogin(QString *userName, QString *password)
{
    TfrmLogin login(QApplication::activeWindow());
    login.LoadLayout();
    const bool ok = login.exec() == QDialog::Accepted;
    *userName = login.edtUser()->text();
    *password = login.edtPass()->text();
    return ok;
}

bool SessionDialogs::askZonePassword(QString *password)
{
    TfrmEnterPass prompt(QApplication::activeWindow());
    const bool ok = prompt.exec() == QDialog::Accepted;
    *password = prompt.password();
    return ok;
}

bool SessionDialogs::askPasswordChange(bool oldEnabled, QString *old, QString *fresh, QString *repeat)
{
    TfrmChangePass change(QApplication::activeWindow());
    change.setOldEnabled(oldEnabled);
    const bool ok = change.exec() == QDialog::Accepted;
    *old = change.edtOld()->text();
    *fresh = change.edtNew()->text();
    *repeat = change.edtRepeat()->text();
    return ok;
}
