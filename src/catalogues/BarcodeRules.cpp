#include "catalogues/BarcodeRules.h"

#include "data/ColumnSizes.h"
#include "util/Error.h"

namespace {

bool allDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

int barcodeCheckDigit(const QString &payload)
{
    if (!allDigits(payload))
        return -1;
    int sum = 0;
    for (int i = 0; i < payload.size(); ++i) {
        const int digit = payload.at(payload.size() - 1 - i).unicode() - '0';
        sum += i % 2 == 0 ? 3 * digit : digit;
    }
    return (10 - sum % 10) % 10;
}

bool hasCheckDigit(const QString &code)
{
    return allDigits(code) && (code.size() == 13 || code.size() == 12 || code.size() == 8);
}

QString checkedBarcode(const QString &typed)
{
    const QString code = typed.trimmed();
    if (code.isEmpty())
        throw varnex::Error(QStringLiteral("Моля, въведете баркод!"));
    if (code.size() > data::kBarcodeSize)
        throw varnex::Error(QStringLiteral("Баркодът може да е най-много %1 знака.").arg(data::kBarcodeSize));
    for (const QChar c : code) {
        if (c.isSpace() || !c.isPrint())
            throw varnex::Error(QStringLiteral("Баркодът \"%1\" съдържа интервал или непечатим знак.").arg(code));
    }
    if (hasCheckDigit(code)) {
        const int expected = barcodeCheckDigit(code.left(code.size() - 1));
        if (code.back().unicode() - '0' != expected)
            throw varnex::Error(QStringLiteral("Баркодът \"%1\" е с грешна контролна цифра (трябва да е %2).")
                                    .arg(code)
                                    .arg(expected));
    }
    return code;
}

bool looksScanned(const QString &text)
{
    const QString code = text.trimmed();
    return hasCheckDigit(code) && code.back().unicode() - '0' == barcodeCheckDigit(code.left(code.size() - 1));
}

QString scanAddsToLineKey()
{
    return QStringLiteral("SCAN_ADDS_TO_LINE");
}

int lineToAddOneTo(const std::vector<int> &lineGoods, int scannedGoods, bool addsToLine)
{
    if (!addsToLine)
        return -1;
    for (int row = int(lineGoods.size()) - 1; row >= 0; --row) {
        if (lineGoods[size_t(row)] == scannedGoods)
            return row;
    }
    return -1;
}
