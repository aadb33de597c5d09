#include "invoicing/AmountInWords.h"

#include "util/Error.h"

#include <QStringList>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace invoicing {

namespace {

const char *const kDigitNames[] = {"нула", "едно", "две", "три", "четири", "пет", "шест", "седем", "осем", "девет"};
const char *const kTeenStems[] = {"", "едина", "двана", "трина", "четирина", "петна", "шестна", "седемна", "осемна", "деветна"};

QString word(const char *text)
{
    return QString::fromUtf8(text);
}

QString conjunctionWord()
{
    return QStringLiteral("и");
}

QString unitWord(int digit, Gender gender)
{
    if (digit == 1)
        return word(gender == Gender::Masculine ? "един" : gender == Gender::Feminine ? "една" : "едно");
    if (digit == 2)
        return word(gender == Gender::Masculine ? "два" : "две");
    return word(kDigitNames[digit]);
}

// The words of one group of three digits; whether the group placed an "и"
// of its own.
bool groupWords(int value, Gender gender, QStringList &words)
{
    const int h = value / 100;
    const int t = value / 10 % 10;
    const int u = value % 10;
    bool placedAnd = false;
    if (h == 1)
        words << word("сто");
    else if (h == 2 || h == 3)
        words << word(kDigitNames[h]) + word("ста");
    else if (h >= 4)
        words << word(kDigitNames[h]) + word("стотин");
    if (h != 0 && (t == 1 || (u == 0 && t != 0))) {
        words << conjunctionWord();
        placedAnd = true;
    }
    if (t == 1) {
        words << word(kTeenStems[u]) + word("десет");
        return placedAnd;
    }
    if (t == 2)
        words << word("двадесет");
    else if (t >= 3)
        words << word(kDigitNames[t]) + word("десет");
    if (u != 0 && !(h == 0 && t == 0)) {
        words << conjunctionWord();
        placedAnd = true;
    }
    if (u != 0)
        words << unitWord(u, gender);
    return placedAnd;
}

struct Group
{
    Gender gender;
    const char *one;
    const char *many;
};

QString joined(const QStringList &words)
{
    return words.join(QLatin1Char(' '));
}

QString tooLarge(double amount)
{
    return QStringLiteral("Сумата %1 е извън обхвата, който може да бъде изписан с думи (до 999 999 999 999.99).")
        .arg(QString::number(amount, 'f', 2));
}

} // namespace

QString spellNumber(qint64 number, Gender units)
{
    if (number < 0 || number > kLargestSpelledNumber)
        throw varnex::Error(QStringLiteral("Числото %1 не може да бъде изписано с думи.").arg(number));
    const Group groups[] = {
        {units, "", ""},
        {Gender::Feminine, "хиляда", "хиляди"},
        {Gender::Masculine, "милион", "милиона"},
        {Gender::Masculine, "милиард", "милиарда"},
    };
    // Built from the units upwards, each group's words put in front.
    QStringList result;
    bool joinPlaced = false;
    qint64 rest = number;
    for (int index = 0; index < 4; ++index, rest /= 1000) {
        const int value = int(rest % 1000);
        if (value == 0)
            continue;
        QStringList words;
        bool placedAnd = false;
        if (index == 1 && value == 1)
            words << word(groups[index].one);
        else {
            placedAnd = groupWords(value, groups[index].gender, words);
            if (index > 0)
                words << word(value == 1 ? groups[index].one : groups[index].many);
        }
        if (!placedAnd && !joinPlaced) {
            words.prepend(conjunctionWord());
            joinPlaced = true;
        }
        result = words + result;
    }
    if (joinPlaced && !result.isEmpty() && result.first() == conjunctionWord())
        result.removeFirst();
    return joined(result);
}

double roundToCents(double amount)
{
    const double scaled = amount * 100;
    const double slack = std::max(1e-7, std::fabs(scaled) * 8 * DBL_EPSILON);
    return std::round(scaled + (scaled < 0 ? -slack : slack)) / 100;
}

QString centsText(double amount)
{
    const double rounded = roundToCents(amount);
    return QString::asprintf("%.2f", rounded == 0 ? 0.0 : rounded);
}

WholeAndCents splitAmount(double amount)
{
    if (!std::isfinite(amount))
        throw varnex::Error(QStringLiteral("Сумата не е число и не може да бъде изписана с думи."));
    // The figure as printed decides, so "12.996" is spelled as the 13.00 the
    // invoice shows.
    const QString printed = centsText(std::fabs(amount));
    const qsizetype point = printed.indexOf(QLatin1Char('.'));
    bool wholeOk = false;
    const qint64 whole = printed.left(point).toLongLong(&wholeOk);
    if (!wholeOk || whole > kLargestSpelledNumber)
        throw varnex::Error(tooLarge(amount));
    WholeAndCents parts;
    parts.whole = whole;
    parts.cents = printed.mid(point + 1).toInt();
    parts.negative = amount < 0 && (whole != 0 || parts.cents != 0);
    return parts;
}

QString spellAmount(double amount, const QString &currency, const QString &cents, const QString &conjunction)
{
    const WholeAndCents parts = splitAmount(amount);
    QStringList words;
    if (parts.negative)
        words << word("минус");
    if (parts.whole != 0)
        words << spellNumber(parts.whole, Gender::Masculine);
    words << currency;
    if (parts.cents > 0)
        words << conjunction << QStringLiteral("%1").arg(parts.cents, 2, 10, QLatin1Char('0')) << cents;
    return joined(words);
}

QString spellEuroAmount(double amount)
{
    const WholeAndCents parts = splitAmount(amount);
    QStringList words;
    if (parts.negative)
        words << word("минус");
    words << (parts.whole != 0 ? spellNumber(parts.whole, Gender::Neuter) : word("нула")) << word("евро");
    if (parts.cents > 0)
        words << conjunctionWord() << spellNumber(parts.cents, Gender::Masculine)
              << word(parts.cents == 1 ? "цент" : "цента");
    return joined(words);
}

} // namespace invoicing
