#pragma once

#include <QString>
#include <QStringList>

namespace db {

// A statement text with ":NAME" parameters turned into Firebird's "?"
// markers; names are kept upper-cased in marker order, so a name used twice
// appears twice. Quoted texts, quoted names and comments are left alone.
struct PositionalStatement
{
    QString text;
    QStringList names;
};

PositionalStatement toPositional(const QString &sql);

} // namespace db
