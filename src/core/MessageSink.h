#pragma once

#include <QString>

enum class MessageKind { Error, Warning, Information };

// Where the data modules' own messages go: the message dialog in the
// program, standard error in the admin tool, a recorder in tests.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString &text, const QString &caption, MessageKind kind) = 0;
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
