#pragma once

#include <QFlags>
#include <QString>

class QWidget;

// Kinds of message the program's message dialog shows.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// The buttons a message dialog can carry, shown in this order.
enum TMsgDlgBtn {
    mbYes = 0x001,
    mbNo = 0x002,
    mbOK = 0x004,
    mbCancel = 0x008,
    mbAbort = 0x010,
    mbRetry = 0x020,
    mbIgnore = 0x040,
    mbAll = 0x080,
    mbNoToAll = 0x100,
    mbYesToAll = 0x200,
    mbHelp = 0x400,
};
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)

// The answers of dialogs and modal windows.
enum TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// Where questions, warnings and errors go. The program shows real dialogs;
// tests install one that answers from a script without blocking.
class DialogProvider
{
public:
    virtual ~DialogProvider() = default;
    virtual int messageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) = 0;
    // A plain box captioned "Системно съобщение" with one OK button.
    virtual void systemMessage(const QString &text) = 0;
    // The application's error box for errors nobody handled.
    virtual void errorBox(const QString &text) = 0;
    // A system message box with its own caption (the data module's errors).
    virtual void captionedBox(const QString &text, const QString &caption, bool error) = 0;
};

// Installs a provider for the whole program; nullptr brings back the real one.
void SetDialogProvider(DialogProvider *provider);

int MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
void ShowSystemMessage(const QString &text);
void ShowErrorBox(const QString &text);
void ShowCaptionedBox(const QString &text, const QString &caption, bool error);
