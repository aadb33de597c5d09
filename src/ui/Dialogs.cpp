#include "ui/Dialogs.h"

#include "ui/TMessageForm.h"
#include "ui/VarnexApplication.h"

#include <QApplication>
#include <QAbstractButton>
#include <QMessageBox>

namespace {

class RealDialogs : public DialogProvider
{
public:
    int messageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) override
    {
        TMessageForm form(text, type, buttons, QApplication::activeWindow());
        return form.exec();
    }

    void systemMessage(const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Системно съобщение"), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
    }

    void errorBox(const QString &text) override
    {
        captionedBox(text, VarnexApplication::title(), true);
    }

    void captionedBox(const QString &text, const QString &caption, bool error) override
    {
        QMessageBox box(error ? QMessageBox::Critical : QMessageBox::Information, caption, text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
    }
};

RealDialogs g_realDialogs;
DialogProvider *g_provider = nullptr;

DialogProvider &provider()
{
    return g_provider ? *g_provider : g_realDialogs;
}

} // namespace

void SetDialogProvider(DialogProvider *dialogs)
{
    g_provider = dialogs;
}

int MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons, int)
{
    return provider().messageDlg(text, type, buttons);
}

void ShowSystemMessage(const QString &text)
{
    provider().systemMessage(text);
}

void ShowErrorBox(const QString &text)
{
    provider().errorBox(text);
}

void ShowCaptionedBox(const QString &text, const QString &caption, bool error)
{
    provider().captionedBox(text, caption, error);
}
