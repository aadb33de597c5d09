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
