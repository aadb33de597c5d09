#pragma once

#include <QString>

enum class MessageKind { Error, Warning, Information };

// What the data module asks of the user: messages (the message dialog in
// the program, standard error in the admin tool, a recorder in tests),
// questions and the password prompts of the session. Without a person to
// ask, every question is answered no.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString &text, const QString &caption, MessageKind kind) = 0;

    // A confirmation with Yes and No; true for Yes.
    virtual bool confirm(const QString &) { return false; }
    // An error in the program's message dialog with an OK button.
    virtual void errorMessage(const QString &text) { showMessage(text, QStringLiteral("Грешка"), MessageKind::Error); }
    // A success note in the system message box.
    virtual void systemMessage(const QString &text)
    {
        showMessage(text, QStringLiteral("Системно съобщение"), MessageKind::Information);
    }
    // The log-in window once; false when it was cancelled.
    virtual bool askLogin(QString *, QString *) { return false; }
    // The zone password prompt once; false when it was cancelled.
    virtual bool askZonePassword(QString *) { return false; }
    // The change-password window; false when it was cancelled.
    virtual bool askPasswordChange(bool /*oldEnabled*/, QString * /*old*/, QString * /*fresh*/, QString * /*repeat*/)
    {
        return false;
    }
};

// Keeps the last message as one line ("caption: text"), for callers that
// turn a failure into an error of their own.
class LastMessage : public MessageSink
{
public:
    void showMessage(const QString &text, const QString &caption, MessageKind) override
    {
        line = caption + QLatin1String(": ") + text.simplified();
    }
    QString line;
};
