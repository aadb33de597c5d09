#include "util/NumberFormat.h"

#include <cmath>

namespace varnex {

QString formatFloat(const QString &picture, double value, const QLocale &locale)
{
    const qsizetype point = picture.indexOf(QLatin1Char('.'));
    const QString integerPart = point < 0 ? picture : picture.left(point);
    const QString fractionPart = point < 0 ? QString() : picture.mid(point + 1);
    const bool grouping = integerPart.contains(QLatin1Char(','));
    const int minIntegerDigits = int(integerPart.count(QLatin1Char('0')));
    const int minDecimals = int(fractionPart.count(QLatin1Char('0')));
    const int maxDecimals = minDecimals + int(fractionPart.count(QLatin1Char('#')));

    // Round once to the most decimals shown, then drop optional zeros.
    QString digits = QString::number(std::fabs(value), 'f', maxDecimals);
    QString integers = digits.section(QLatin1Char('.'), 0, 0);
    QString decimals = maxDecimals > 0 ? digits.section(QLatin1Char('.'), 1, 1) : QString();
    while (decimals.size() > minDecimals && decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    if (integers == QLatin1String("0") && minIntegerDigits == 0)
        integers.clear();
    while (integers.size() < minIntegerDigits)
        integers.prepend(QLatin1Char('0'));
    if (grouping) {
        for (qsizetype at = integers.size() - 3; at > 0; at -= 3)
            integers.insert(at, locale.groupSeparator());
    }

    QString text = integers;
    if (!decimals.isEmpty())
        text += locale.decimalPoint() + decimals;
    if (text.isEmpty())
        text = QStringLiteral("0");
    const bool zero = text.count(QLatin1Char('0')) + text.count(locale.decimalPoint()) + text.count(locale.groupSeparator()) == text.size();
    if (value < 0 && !zero)
        text.prepend(locale.negativeSign());
    return text;
}

} // namespace varnex
