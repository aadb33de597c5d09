#pragma once

#include <QDate>
#include <QString>

namespace data {
class SqlSession;
}

namespace invoicing {

// The currency a printed document states its amounts in. Bulgaria's
// currency is the euro from 1 January 2026; a tax document follows its own
// date of issue, so one issued in 2025 and printed again later still reads
// in leva. Every printed amount and the amount in words go through here.
class DocumentCurrency
{
public:
    static const QDate &euroDay();

    // A document without a date is dated the day it is printed.
    static DocumentCurrency on(const QDate &issued);
    // What the stock side of a database (prices, document sums, paid
    // amounts) is kept in: leva until the database's changeover, euro after.
    static DocumentCurrency ofDatabase(data::SqlSession &session);
    // A stock document's printed amounts: in a database changed over they
    // are all euro, documents dated before the changeover included;
    // otherwise they follow the document's date as a tax document does.
    static DocumentCurrency ofStockDocument(data::SqlSession &session, const QDate &date);

    bool isEuro() const { return m_euro; }
    // Written after every printed amount: "лв." or "EUR".
    QString sign() const;
    // The amount with two decimals and the sign: "30.60 EUR".
    QString money(double amount) const;
    // "лева и 50 ст." in leva, "нула евро и петдесет цента" in euro.
    QString inWords(double amount) const;

private:
    explicit DocumentCurrency(bool euro)
        : m_euro(euro)
    {
    }

    bool m_euro;
};

// Two decimals and a decimal point, as totals are handed to printing; half
// a cent rounds away from zero.
QString moneyText(double amount);

} // namespace invoicing
