#include "core/TSettings.h"

#include <limits>

namespace {
int digitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}
} // namespace

TSettings::TSettings() = default;

TSettings::~TSettings() = default;

int TSettings::ReadInteger(const QString &key, int defaultValue)
{
    if (!HasKey(key))
        return defaultValue;
    return integerFromText(ReadString(key, QString()));
}

bool TSettings::ReadBool(const QString &key, bool defaultValue)
{
    return ReadInteger(key, defaultValue ? 1 : 0) == 1;
}

void TSettings::WriteInteger(const QString &key, int value)
{
    WriteString(key, QString::number(value));
}

void TSettings::WriteBool(const QString &key, bool value)
{
    WriteInteger(key, value ? 1 : 0);
}

int TSettings::integerFromText(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }

    int base = 10;
    const QStringView rest = QStringView(text).mid(i);
    if (rest.startsWith(QLatin1Char('$')) || rest.startsWith(QLatin1Char('x'), Qt::CaseInsensitive)) {
        base = 16;
        i += 1;
    } else if (rest.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        i += 2;
    }

    // Digits are taken while the value still fits; the first one that would
    // overflow ends the valid part like any other stray character.
    const qint64 limit = negative ? -qint64(std::numeric_limits<int>::min())
                                  : qint64(std::numeric_limits<int>::max());
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text.at(i).unicode());
        if (digit < 0 || digit >= base || value * base + digit > limit)
            break;
        value = value * base + digit;
    }
    return int(negative ? -value : value);
}
