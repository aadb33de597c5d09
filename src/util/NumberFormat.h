#pragma once

#include <QLocale>
#include <QString>

namespace varnex {

// Formats a number by a picture as the program's display formats are
// written: "0" a digit always shown, "#" a digit shown when not a
// meaningless zero, "," anywhere before the point turns on thousands
// grouping, "." the decimal point ("000000", "0.0000", "0.00", ",.##",
// "0,.00"). Separators come from the locale.
QString formatFloat(const QString &picture, double value, const QLocale &locale = QLocale());

} // namespace varnex
