#pragma once

#include "core/MessageSink.h"
#include "core/Tdm.h"

#include <QString>

namespace admin {

struct Invocation;

// A database command's data module, connected as the tool's user.
class Session
{
public:
    Session(const QString &database, const Invocation &invocation);

    Tdm &dm() { return m_dm; }

private:
    LastMessage m_messages;
    Tdm m_dm;
};

// A field of the CSV the commands print, quoted when it must be.
QString csvField(const QString &text);

bool isDatabaseCommand(const QString &command);

// "create-db", "upgrade", "adjust-counters", "empty-db" and "stock".
void runDatabaseCommand(const QString &command, Invocation &invocation);

} // namespace admin
