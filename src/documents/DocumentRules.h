#pragma once

#include <QString>
#include <QVariant>

// The arithmetic of stock documents, free of windows and of the database.
namespace documents {

// Amounts closer than this are the same amount.
constexpr double kAmountTolerance = 0.0001;

// Quantity × price less the discount (a fraction: 0.05 is 5 %).
double lineSum(double quantity, double price, double discount);

// Round half to even, as the discount comparison counts tenths of a percent.
double roundHalfEven(double value);

// A discount fraction as the user reads and types it: 0.1006 → "10.06", in
// the locale's decimal point, without the digits a binary fraction adds.
QString percentText(double fraction);
// The grid's "Отстъпка": the percentage followed by " %".
QString discountText(double fraction);

// Whether a typed percentage should be stored over the stored fraction:
// they differ by half a tenth of a percent or more (10.04 over 0.1 is not
// stored, 10.06 is).
bool discountEntryDiffers(double storedFraction, double typedPercent);

// The paid amount a header is stored with, or a refusal when it exceeds the
// total; an amount within the tolerance of the total becomes the total.
struct PaidOutcome
{
    double paid = 0;
    bool refused = false;
};
PaidOutcome settlePaid(double paid, double total);

// The next document number after the largest one stored (null or 0 when
// there is none), as the number box shows it: six digits, more when needed.
qint64 nextDocumentNumber(const QVariant &largest);
QString proposedDocumentNumber(const QVariant &largest);

} // namespace documents
