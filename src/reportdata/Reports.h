#pragma once

#include "reportdata/ReportTable.h"

#include <QDate>

#include <vector>

namespace data {
class SqlSession;
}

namespace reportdata {

enum class ReportKind {
    StockOnHand,
    StockCard,
    SalesByGoods,
    SalesByBuyer,
    DeliveriesBySupplier,
    Receivables,
    Payables,
    SalesLedger,
};

// What the user chooses before a report runs.
enum class ParameterKind { Date, Period, GoodsAndPeriod, Month };

struct ReportEntry
{
    ReportKind kind;
    QString name;
    QString group;
    ParameterKind parameters;
};

// Every report in the order the module lists them; a report's index is its
// position here.
const std::vector<ReportEntry> &reportCatalogue();

struct ReportParameters
{
    QDate date;
    QDate from;
    QDate to;
    int goodsId = 0;
    // Any day of the month a monthly report is for.
    QDate month;
    // The day the report is made: a look back in time says what it cannot know.
    QDate today = QDate::currentDate();
};

// A document counts on a day by its date (the date part of TRANZ_TIME);
// stock moves by the quantity handed over, signed by the line's direction,
// and a shortage shows as a negative quantity.

// Goods followed in the stock report (NOM_INREPORT = 1) with their stock at
// the end of the day and its value at the last delivery price up to then
// (the price after the line's discount, from the newest delivery by date).
ReportTable stockOnHand(data::SqlSession &session, const QDate &date);
// One goods item's stock card: the balance before the period, every line of
// the period oldest first with the running balance, the closing balance.
ReportTable stockCard(data::SqlSession &session, int goodsId, const QDate &from, const QDate &to);
// Goods lines of sales in the period, by goods: the quantity on the
// documents and the value after discounts.
ReportTable salesByGoods(data::SqlSession &session, const QDate &from, const QDate &to);
// Sales and deliveries in the period, by counterparty: documents and totals.
ReportTable salesByBuyer(data::SqlSession &session, const QDate &from, const QDate &to);
ReportTable deliveriesBySupplier(data::SqlSession &session, const QDate &from, const QDate &to);
// Money open on sales (receivables) or deliveries (payables) dated up to a
// day, by counterparty, split by days overdue on that day. A document
// without a due date is due on its own date.
ReportTable receivables(data::SqlSession &session, const QDate &date, const QDate &today);
ReportTable payables(data::SqlSession &session, const QDate &date, const QDate &today);

// A report of the catalogue as the module shows it: the figures of its
// function, its parameter line naming the currency the database keeps.
ReportTable runReport(data::SqlSession &session, ReportKind kind, const ReportParameters &parameters);

// The statements a report sends, with their values, in order: what the
// engine alone has to do for it.
struct ReportStatement
{
    QString sql;
    QVariantHash params;
};
std::vector<ReportStatement> reportStatements(ReportKind kind, const ReportParameters &parameters);

// Goods to choose for the stock card: id, code and name, by code.
struct GoodsChoice
{
    int id;
    int code;
    QString name;
};
std::vector<GoodsChoice> goodsChoices(data::SqlSession &session);

} // namespace reportdata
