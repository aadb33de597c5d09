#include "db/NamedParameters.h"

namespace db {

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Index just past the quoted text or comment starting at i, or i itself.
qsizetype skipLiteral(const QString &sql, qsizetype i)
{
    const QChar c = sql.at(i);
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        qsizetype end = i + 1;
        while (end < sql.size()) {
            if (sql.at(end) == c) {
                if (end + 1 < sql.size() && sql.at(end + 1) == c) {
                    end += 2;
                    continue;
                }
                return end + 1;
            }
            ++end;
        }
        return sql.size();
    }
    if (QStringView(sql).mid(i).startsWith(QLatin1String("--"))) {
        const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
        return end < 0 ? sql.size() : end + 1;
    }
    if (QStringView(sql).mid(i).startsWith(QLatin1String("/*"))) {
        const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
        return end < 0 ? sql.size() : end + 2;
    }
    return i;
}

} // namespace

PositionalStatement toPositional(const QString &sql)
{
    PositionalStatement result;
    result.text.reserve(sql.size());
    qsizetype i = 0;
    while (i < sql.size()) {
        const qsizetype literalEnd = skipLiteral(sql, i);
        if (literalEnd != i) {
            result.text += QStringView(sql).mid(i, literalEnd - i);
            i = literalEnd;
            continue;
        }
        if (sql.at(i) == QLatin1Char(':') && i + 1 < sql.size() && isNameStart(sql.at(i + 1))) {
            qsizetype end = i + 1;
            while (end < sql.size() && isNamePart(sql.at(end)))
                ++end;
            result.names << sql.mid(i + 1, end - i - 1).toUpper();
            result.text += QLatin1Char('?');
            i = end;
            continue;
        }
        result.text += sql.at(i);
        ++i;
    }
    return result;
}

} // namespace db
