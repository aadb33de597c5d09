#include "data/OtherConnections.h"

#include "db/Statement.h"
#include "db/Transaction.h"
#include "util/Error.h"

namespace data {

namespace {

// The server's own helpers (garbage collector, cache writer) carry the
// system flag and are not workstations.
const char *const kOtherConnections = "select count(*) from MON$ATTACHMENTS "
                                      "where MON$ATTACHMENT_ID <> CURRENT_CONNECTION and MON$SYSTEM_FLAG = 0";

} // namespace

int otherConnections(db::Attachment &attachment)
{
    // The monitoring tables are a snapshot taken once per transaction, so
    // the count needs a transaction of its own to be current.
    db::Transaction transaction(attachment);
    transaction.start();
    db::Statement statement(attachment, transaction);
    statement.prepare(QString::fromLatin1(kOtherConnections));
    statement.execute();
    const int count = statement.fetch() ? statement.value(0).toInt() : 0;
    statement.close();
    transaction.commit();
    return count;
}

void requireSoleConnection(db::Attachment &attachment)
{
    requireNoOtherConnections(otherConnections(attachment));
}

void requireNoOtherConnections(int others)
{
    if (others == 0)
        return;
    const QString connections = others == 1 ? QStringLiteral("още 1 връзка") : QStringLiteral("още %1 връзки").arg(others);
    throw varnex::Error(QStringLiteral("Базата данни се използва от %1. Затворете програмата на другите работни "
                                       "места и опитайте отново.")
                            .arg(connections));
}

} // namespace data
