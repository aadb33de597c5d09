#include "payments/Settlement.h"

#include "db/DatabaseError.h"
#include "payments/Outstanding.h"
#include "util/Error.h"

#include <ibase.h>

#include <cmath>

namespace payments {

namespace {

constexpr double kTolerance = 0.0001;

double number(const QVariant &value)
{
    return value.isNull() ? 0.0 : value.toDouble();
}

std::vector<OpenPart> openParts(const std::vector<MoneyRow> &rows)
{
    std::vector<OpenPart> parts;
    for (const MoneyRow &row : rows)
        parts.push_back({row.sum, row.paid});
    return parts;
}

std::vector<OpenPart> openParts(const std::vector<GoodsRow> &rows)
{
    std::vector<OpenPart> parts;
    for (const GoodsRow &row : rows)
        parts.push_back({row.quantity, row.taken});
    return parts;
}

[[noreturn]] void stopped(const QString &message, const QString &detail, int written, std::size_t planned,
                          const QString &what)
{
    throw varnex::Error(message + QLatin1Char('\n')
                            + QStringLiteral("Уредени преди това: %1 от %2 %3.").arg(written).arg(planned).arg(what),
                        detail);
}

// A row another workstation settled or changed since the list was read
// either matches no more or is held by that workstation's write this very
// moment; the user reads the same sentence for both, the server's own text
// goes to the log only.
bool heldElsewhere(const varnex::Error &error)
{
    const auto *database = dynamic_cast<const db::DatabaseError *>(&error);
    return database
           && (database->hasCode(isc_lock_conflict) || database->hasCode(isc_deadlock)
               || database->hasCode(isc_update_conflict) || database->hasCode(isc_concurrent_transaction));
}

// Writes the plan step by step; `write` is false when the row no longer
// holds what the list showed.
template<class Write>
int settle(const std::vector<Settling> &plan, const QString &meanwhile, const QString &what, Write write)
{
    int written = 0;
    for (const Settling &step : plan) {
        bool matched = false;
        try {
            matched = write(step);
        } catch (const varnex::Error &error) {
            if (heldElsewhere(error))
                stopped(meanwhile, error.detail(), written, plan.size(), what);
            stopped(error.message(), error.detail(), written, plan.size(), what);
        }
        if (!matched)
            stopped(meanwhile, QString(), written, plan.size(), what);
        ++written;
    }
    return written;
}

} // namespace

double settledAmount(double typed, double proposal)
{
    return std::fabs(typed - proposal) < kTolerance ? proposal : typed;
}

bool withinLimit(double typed, double limit)
{
    return typed < limit + kTolerance;
}

std::vector<Settling> distribute(double amount, const std::vector<OpenPart> &rows)
{
    std::vector<Settling> result;
    for (int i = 0; i < static_cast<int>(rows.size()) && amount > 0; ++i) {
        const OpenPart &row = rows[static_cast<std::size_t>(i)];
        const double open = row.total - row.settled;
        double settled = row.total;
        if (std::fabs(open - amount) >= kTolerance && amount < open + kTolerance)
            settled = row.settled + amount;
        amount -= open;
        if (amount < kTolerance)
            amount = 0;
        result.push_back({i, settled});
    }
    return result;
}

MoneyRow moneyRowOf(const QVariantList &values)
{
    return {values.at(0).toInt(), number(values.at(1)), number(values.at(2))};
}

GoodsRow goodsRowOf(const QVariantList &values)
{
    GoodsRow row;
    row.keys = {{QStringLiteral("TRANZ_RED_ID"), values.at(17)},
                {QStringLiteral("TRANZ_RED_TYPE_ID"), values.at(11)},
                {QStringLiteral("TRANZ_RED_NOM_ID"), values.at(12)},
                {QStringLiteral("TRANZ_RED_CENA"), values.at(13)},
                {QStringLiteral("TRANZ_RED_OTSTUPKA"), values.at(14)},
                {QStringLiteral("TRANZ_RED_KOL1"), values.at(7)},
                {QStringLiteral("TRANZ_RED_KOL2"), values.at(15)},
                {QStringLiteral("TRANZ_RED_IZNESENO"), values.at(16)}};
    row.quantity = number(values.at(7));
    row.taken = number(values.at(8));
    return row;
}

std::vector<MoneyRow> readMoneyRows(data::SqlSession &session, int documentType, int counterpartyId,
                                    const QDate &toDate)
{
    std::vector<MoneyRow> rows;
    for (const QVariantList &values :
         session.QueryRows(settleMoneySql(), settleMoneyParams(documentType, counterpartyId, toDate)))
        rows.push_back(moneyRowOf(values));
    return rows;
}

std::vector<GoodsRow> readGoodsRows(data::SqlSession &session, int documentType, int counterpartyId, int goodsId,
                                    const QDate &toDate)
{
    std::vector<GoodsRow> rows;
    for (const QVariantList &values :
         session.QueryRows(settleGoodsSql(), settleGoodsParams(documentType, counterpartyId, goodsId, toDate)))
        rows.push_back(goodsRowOf(values));
    return rows;
}

int settleMoney(data::SqlSession &session, const std::vector<MoneyRow> &rows, double amount)
{
    // The document must still hold the sum and the paid amount the list
    // showed: a payment another workstation entered meanwhile would
    // otherwise be written over, or the document paid above its sum.
    return settle(distribute(amount, openParts(rows)),
                  QStringLiteral("Междувременно друга работна станция е платила по документ от списъка. "
                                 "Отворете списъка отново, за да видите какво остава за плащане."),
                  QStringLiteral("документа"), [&](const Settling &step) {
                      const MoneyRow &row = rows[static_cast<std::size_t>(step.row)];
                      return data::updateRows(session, QStringLiteral("Tranz"),
                                              {{QStringLiteral("Tranz_Plateno"), step.settled}},
                                              {{QStringLiteral("Tranz_Id"), row.documentId},
                                               {QStringLiteral("Tranz_Sum"), row.sum},
                                               {QStringLiteral("Tranz_Plateno"), row.paid}});
                  });
}

int settleGoods(data::SqlSession &session, const std::vector<GoodsRow> &rows, double amount)
{
    return settle(distribute(amount, openParts(rows)),
                  QStringLiteral("Междувременно друга работна станция е променила ред от списъка. "
                                 "Отворете списъка отново, за да видите какво остава за получаване."),
                  QStringLiteral("реда"), [&](const Settling &step) {
                      return data::updateRows(session, QStringLiteral("Tranz_red"),
                                              {{QStringLiteral("TRANZ_RED_IZNESENO"), step.settled}},
                                              rows[static_cast<std::size_t>(step.row)].keys);
                  });
}

} // namespace payments
