#pragma once

#include "core/MessageSink.h"

// The data module's messages and questions shown with the program's
// dialogs: message boxes with their captions, the message dialog, the
// log-in, password and change-password windows.
class SessionDialogs : public MessageSink
{
public:
    void showMessage(const QString &text, const QString &caption, MessageKind kind) override;
    bool confirm(const QString &text) override;
    void errorMessage(const QString &text) override;
    void systemMessage(const QString &text) override;
    bool askLogin(QString *userName, QString *password) override;
    bool askZonePassword(QString *password) override;
    bool askPasswordChange(bool oldEnabled, QString *old, QString *fresh, QString *repeat) override;
};
