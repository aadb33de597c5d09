#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace data {

class SqlSession;

// One goods item of a stock count as stored: the book quantity when it was
// counted, the counted quantity, and the book quantity the posting was
// measured against (null while the count is in progress).
struct StoredCountLine
{
    int goodsId = 0;
    double book = 0;
    double counted = 0;
    QVariant postedBook;
};

// What a count shows and prints of a goods item.
struct CountGoods
{
    int goodsId = 0;
    int code = 0;
    QString name;
    QString unit;
    int category = 0;
};

// A line of a count as the window shows it and the sheets print it: the
// book quantity is the posted one once the count is posted.
struct CountLine
{
    CountGoods goods;
    double book = 0;
    double counted = 0;
    // The last delivery price, known once it was asked for (at posting).
    double price = 0;
    bool posted = false;
};

std::vector<StoredCountLine> storedCountLines(SqlSession &session, int countId);
// Replaces every stored line of the count with `lines`.
void storeCountLines(SqlSession &session, int countId, const std::vector<StoredCountLine> &lines);

// Quantity in minus out of a goods item on stored documents up to the
// stock cut-off of `day`, leaving out the count's own lines. Unlike the stock
// on hand it may be below 0, so that a posted difference brings an oversold
// item to exactly what was counted.
double countBookQuantity(SqlSession &session, int goodsId, const QDate &day, int countId);

// The price paid per unit on the newest delivery of the goods item (after
// its discount); 0 when it was never delivered.
double lastDeliveryPrice(SqlSession &session, int goodsId);

std::optional<CountGoods> countGoods(SqlSession &session, int goodsId);
// The goods item of a code as the goods catalogue numbers it.
std::optional<int> goodsByCode(SqlSession &session, int code);
// The goods of a category, packaging left out, by code.
std::vector<int> goodsOfCategory(SqlSession &session, int category);

} // namespace data
