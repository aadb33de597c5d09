#pragma once

#include <QString>

namespace invoicing {

// Grammatical gender of the units of a spelled number.
enum class Gender { Neuter = 0, Masculine = 1, Feminine = 2 };

// The largest whole number the four groups of three digits hold.
constexpr qint64 kLargestSpelledNumber = 999'999'999'999;

// A whole number from 0 to kLargestSpelledNumber in Bulgarian words, the
// units in the given gender; 0 gives no words. Anything outside the range
// is refused with varnex::Error.
QString spellNumber(qint64 number, Gender units);

// The amount rounded to whole cents, half away from zero. A binary double
// holds 2.295 as 2.29499999…, which "%.2f" alone would print as 2.29; the
// amount meant is taken to be the one within a few units of the last place.
double roundToCents(double amount);
// The rounded amount with two decimals and a decimal point.
QString centsText(double amount);

// An amount split as centsText prints it, so the words always match the
// printed figure.
struct WholeAndCents
{
    bool negative = false;
    qint64 whole = 0;
    int cents = 0;
};
// Refuses (varnex::Error) amounts that are not finite or whose whole part
// has more than twelve digits.
WholeAndCents splitAmount(double amount);

// The amount with the whole part in masculine words, the currency word,
// and the cents as two digits after the conjunction:
// "хиляда двеста тридесет и четири лева и 56 ст."; with no whole part the
// text starts with the currency word ("лева и 50 ст."). A negative amount
// is spelled as its absolute value after "минус".
QString spellAmount(double amount, const QString &currency, const QString &cents, const QString &conjunction);

// The amount in euro: "евро" is neuter and has no plural, the cent is
// masculine and both are spelled out: "двадесет и едно евро и един цент".
// With no whole part the text starts "нула евро". Negative as above.
QString spellEuroAmount(double amount);

} // namespace invoicing
