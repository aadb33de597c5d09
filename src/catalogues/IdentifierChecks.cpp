#include "catalogues/IdentifierChecks.h"

#include <QDate>

#include <array>

namespace {

bool allDigits(const QString &value, int from, int count)
{
    if (value.size() < from + count)
        return false;
    for (int i = from; i < from + count; ++i) {
        if (value[i] < QLatin1Char('0') || value[i] > QLatin1Char('9'))
            return false;
    }
    return true;
}

int digit(const QString &value, int index)
{
    return value[index].unicode() - '0';
}

template <std::size_t N>
int weightedSum(const QString &value, int from, const std::array<int, N> &weights)
{
    int sum = 0;
    for (std::size_t i = 0; i < N; ++i)
        sum += digit(value, from + int(i)) * weights[i];
    return sum;
}

// The registry's rule: a remainder of 10 is retried with the second
// weights, and a second 10 gives 0.
template <std::size_t N>
int registryCheckDigit(const QString &value, int from, const std::array<int, N> &first, const std::array<int, N> &second)
{
    int rest = weightedSum(value, from, first) % 11;
    if (rest == 10)
        rest = weightedSum(value, from, second) % 11;
    return rest == 10 ? 0 : rest;
}

bool nineDigitsFit(const QString &value)
{
    return allDigits(value, 0, 9)
        && registryCheckDigit(value, 0, std::array{1, 2, 3, 4, 5, 6, 7, 8}, std::array{3, 4, 5, 6, 7, 8, 9, 10})
        == digit(value, 8);
}

} // namespace

bool IsValidEGN(const QString &value)
{
    if (value.size() != 10 || !allDigits(value, 0, 10))
        return false;
    if (weightedSum(value, 0, std::array{2, 4, 8, 5, 10, 9, 7, 3, 6}) % 11 % 10 != digit(value, 9))
        return false;
    int year = 1900 + digit(value, 0) * 10 + digit(value, 1);
    int month = digit(value, 2) * 10 + digit(value, 3);
    if (month > 40) {
        month -= 40;
        year += 100;
    }
    return QDate::isValid(year, month, digit(value, 4) * 10 + digit(value, 5));
}

bool IsValidTaxNumber(const QString &value)
{
    return value.size() == 10 && allDigits(value, 0, 10)
        && weightedSum(value, 0, std::array{7, 8, 9, 4, 5, 6, 7, 8, 9}) % 11 % 10 == digit(value, 9);
}

bool IsValidBulstat(const QString &value)
{
    if (value.size() == 9 || value.size() == 10)
        return nineDigitsFit(value);
    if (value.size() != 13 || !allDigits(value, 0, 13) || !nineDigitsFit(value))
        return false;
    return registryCheckDigit(value, 8, std::array{2, 7, 3, 5}, std::array{4, 9, 5, 7}) == digit(value, 12);
}
