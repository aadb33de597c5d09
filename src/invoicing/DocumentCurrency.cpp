#include "invoicing/DocumentCurrency.h"

#include "data/EuroChangeover.h"
#include "invoicing/AmountInWords.h"

namespace invoicing {

const QDate &DocumentCurrency::euroDay()
{
    static const QDate day = data::euroDay();
    return day;
}

DocumentCurrency DocumentCurrency::ofDatabase(data::SqlSession &session)
{
    return DocumentCurrency(data::euroChangeover(session).has_value());
}

DocumentCurrency DocumentCurrency::ofStockDocument(data::SqlSession &session, const QDate &date)
{
    return data::euroChangeover(session) ? DocumentCurrency(true) : on(date);
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
