#include "invoicing/DocumentCurrency.h"

#include "invoicing/AmountInWords.h"

namespace invoicing {

const QDate &DocumentCurrency::euroDay()
{
    static const QDate day(2026, 1, 1);
    return day;
}

DocumentCurrency DocumentCurrency::on(const QDate &issued)
{
    const QDate date = issued.isValid() ? issued : QDate::currentDate();
    return DocumentCurrency(date >= euroDay());
}

QString DocumentCurrency::sign() const
{
    return m_euro ? QStringLiteral("EUR") : QStringLiteral("лв.");
}

QString DocumentCurrency::money(double amount) const
{
    return moneyText(amount) + QLatin1Char(' ') + sign();
}

QString DocumentCurrency::inWords(double amount) const
{
    if (m_euro)
        return spellEuroAmount(amount);
    return spellAmount(amount, QStringLiteral("лева"), QStringLiteral("ст."), QStringLiteral("и"));
}

QString moneyText(double amount)
{
    return centsText(amount);
}

} // namespace invoicing
