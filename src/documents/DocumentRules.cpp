#include "documents/DocumentRules.h"

#include <QLocale>

#include <cfenv>
#include <cmath>

namespace documents {

double lineSum(double quantity, double price, double discount)
{
    return quantity * price * (1 - discount);
}

double roundHalfEven(double value)
{
    // nearbyint follows the rounding mode, which is to-nearest-even unless
    // someone changed it; it is set for the call so the rule never drifts.
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    return rounded;
}

QString percentText(double fraction)
{
    // Twelve significant digits drop the binary tail of a product such as
    // 0.1006 × 100 (10.059999999999999) and keep every digit a user types.
    return QLocale().toString(fraction * 100, 'g', 12);
}

QString discountText(double fraction)
{
    return percentText(fraction) + QStringLiteral(" %");
}

bool discountEntryDiffers(double storedFraction, double typedPercent)
{
    return roundHalfEven(storedFraction * 1000) != roundHalfEven(typedPercent * 10);
}

PaidOutcome settlePaid(double paid, double total)
{
    if (std::fabs(paid - total) < kAmountTolerance)
        return {total, false};
    if (paid > total)
        return {total, true};
    return {paid, false};
}

qint64 nextDocumentNumber(const QVariant &largest)
{
    bool ok = false;
    const qint64 number = largest.isNull() ? 0 : largest.toLongLong(&ok);
    return ok && number > 0 ? number + 1 : 1;
}

QString proposedDocumentNumber(const QVariant &largest)
{
    const QString digits = QString::number(nextDocumentNumber(largest));
    return digits.size() >= 6 ? digits : QString(6 - digits.size(), QLatin1Char('0')) + digits;
}

} // namespace documents
