#include "db/FbClient.h"

#include "util/Win1251.h"

#include <QStringList>

namespace db {

DatabaseError::DatabaseError(const QString &message, const QString &statement, long gdsCode)
    : varnex::Error(message, statement)
    , m_gdsCode(gdsCode)
{
}

QString Status::text() const
{
    QStringList lines;
    const ISC_STATUS *cursor = m_vector;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0)
        lines << varnex::fromWin1251(QByteArray(buffer));
    return lines.join(QLatin1Char('\n'));
}

void Status::check(const QString &statement) const
{
    if (!failed())
        return;
    throw DatabaseError(text(), statement, gdsCode());
}

} // namespace db
