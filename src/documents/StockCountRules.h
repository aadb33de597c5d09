#pragma once

#include "data/CountLookups.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The arithmetic of a stock count, without the database: what a counted
// goods item posts, the count's totals, and the handheld scanners' files.
namespace documents {

// counted − book, to the thousandth the quantities are kept to, so that
// sums of binary fractions post no speck of a difference.
double countDifference(double book, double counted);

// The stock line that brings the book quantity to the counted one: into
// stock (+1) for a surplus, out (−1) for a shortage; none when they agree.
struct CountPosting
{
    int goodsId = 0;
    int sign = 0;
    double quantity = 0;
    double price = 0;
};
std::optional<CountPosting> countPosting(int goodsId, double book, double counted, double price);

struct CountTotals
{
    double counted = 0;   // every counted quantity added up
    double surplus = 0;   // value of the differences into stock
    double shortage = 0;  // value of the differences out of stock, positive
    double net() const { return surplus - shortage; }
};
CountTotals countTotals(const std::vector<data::CountLine> &lines);

// A file of "code;quantity" rows (a tab also separates; the quantity takes a
// decimal comma or point). Rows of one code are added up; a row that is not
// a code and a quantity of 0 or more is reported by its number and left out.
struct CountFile
{
    std::vector<std::pair<QString, double>> quantities; // in the order first seen
    QStringList badRows;
};
CountFile parseCountFile(const QString &text);

} // namespace documents
