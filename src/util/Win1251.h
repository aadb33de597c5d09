#pragma once

#include <QByteArray>
#include <QString>

namespace varnex {

// The program keeps text as QString; files and the database hold
// Windows-1251 bytes. These are the only places where the two meet.

// First character of the text that Windows-1251 cannot hold, or an empty string.
QString firstCharOutsideWin1251(const QString &text);

// Throws varnex::Error naming the first character that does not fit, so no
// text is ever stored with a silent substitute.
QByteArray toWin1251(const QString &text);

QString fromWin1251(const QByteArray &bytes);

} // namespace varnex
