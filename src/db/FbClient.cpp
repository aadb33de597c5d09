#include "db/FbClient.h"

#include "db/ServerErrorText.h"
#include "util/Win1251.h"

#include <algorithm>

#include <QStringList>

namespace db {

namespace {

QString userText(const QString &serverText, const std::vector<long> &codes)
{
    const QString explained = serverErrorText(codes);
    return explained.isEmpty() ? serverText : explained;
}

} // namespace

DatabaseError::DatabaseError(const QString &serverText, const QString &statement, std::vector<long> codes)
    : varnex::Error(userText(serverText, codes), serverText)
    , m_statement(statement)
    , m_codes(std::move(codes))
{
}

bool DatabaseError::hasCode(long code) const
{
    return std::find(m_codes.begin(), m_codes.end(), code) != m_codes.end();
}

std::vector<long> Status::codes() const
{
    std::vector<long> found;
    if (!failed())
        return found;
    for (int i = 0; i < ISC_STATUS_LENGTH - 1 && m_vector[i] != isc_arg_end;) {
        const ISC_STATUS kind = m_vector[i];
        if (kind == isc_arg_gds && m_vector[i + 1] != 0)
            found.push_back(long(m_vector[i + 1]));
        // A counted string takes its length and its pointer; every other
        // argument one value.
        i += kind == isc_arg_cstring ? 3 : 2;
    }
    return found;
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
    throw DatabaseError(text(), statement, codes());
}

} // namespace db
