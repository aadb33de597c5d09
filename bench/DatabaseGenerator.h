#pragma once

#include <QDate>
#include <QString>

#include <functional>

class Tdm;

namespace bench {

// How big a generated database is.
struct Sizes
{
    int goods = 10000;
    int counterparties = 2000;
    int documents = 200000;
    int linesPerDocument = 5;
    int years = 3;
};

// Fills a fresh database with a shop's three years: sales and deliveries
// to and from its counterparties, some production and scrap, the goods
// skewed as real sales are (the busiest item on about 2% of the lines),
// most documents paid and handed over. The last document is dated `lastDay`.
void generateDatabase(Tdm &dm, const Sizes &sizes, const QDate &lastDay,
                      const std::function<void(const QString &)> &progress);

} // namespace bench
