#pragma once

#include "data/StockLookups.h"

#include <QString>
#include <QVariant>

#include <vector>

namespace payments {

// What is outstanding on one document (money) or one line (goods): its
// whole amount or quantity and the part of it already paid or handed over.
struct OpenPart
{
    double total = 0;
    double settled = 0;
};

// The new paid amount or taken quantity of one row of the list.
struct Settling
{
    int row = 0;
    double settled = 0;
};

// The amount the user means: the proposal when the box is within 0.0001 of
// it, so a proposal with more decimals than the box shows is taken whole.
double settledAmount(double typed, double proposal);
// An amount may not be above what is outstanding (within 0.0001).
bool withinLimit(double typed, double limit);

// Spreads `amount` over the rows from the first (the oldest): each row is
// settled in full while the amount lasts, the last one in part. Nothing for
// an amount of 0 or less.
std::vector<Settling> distribute(double amount, const std::vector<OpenPart> &rows);

// One outstanding document as the settle list read it.
struct MoneyRow
{
    int documentId = 0;
    double sum = 0;
    double paid = 0;
};

// One outstanding line as the settle list read it: every column that
// identifies it, with the values as read.
struct GoodsRow
{
    data::ColumnValues keys;
    double quantity = 0;
    double taken = 0;
};

// A row of the settle lists, its columns in the order they are selected.
MoneyRow moneyRowOf(const QVariantList &values);
GoodsRow goodsRowOf(const QVariantList &values);

std::vector<MoneyRow> readMoneyRows(data::SqlSession &session, int documentType, int counterpartyId,
                                    const QDate &toDate);
std::vector<GoodsRow> readGoodsRows(data::SqlSession &session, int documentType, int counterpartyId, int goodsId,
                                    const QDate &toDate);

// Writes the distribution one document or line at a time, each committed
// on its own. A document or line that changed since it was read stops the
// writing with varnex::Error; what was written before stays written and the
// message says how many were settled. Returns the number written.
int settleMoney(data::SqlSession &session, const std::vector<MoneyRow> &rows, double amount);
int settleGoods(data::SqlSession &session, const std::vector<GoodsRow> &rows, double amount);

} // namespace payments
