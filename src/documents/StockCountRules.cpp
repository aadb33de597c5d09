#include "documents/StockCountRules.h"

#include "documents/DocumentKind.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace documents {

double countDifference(double book, double counted)
{
    return std::round((counted - book) * 1000.0) / 1000.0;
}

std::optional<CountPosting> countPosting(int goodsId, double book, double counted, double price)
{
    const double difference = countDifference(book, counted);
    if (difference == 0)
        return std::nullopt;
    return CountPosting{goodsId, difference > 0 ? kIntoStock : kOutOfStock, std::fabs(difference), price};
}

CountTotals countTotals(const std::vector<data::CountLine> &lines)
{
    CountTotals totals;
    for (const data::CountLine &line : lines) {
        totals.counted += line.counted;
        const double value = countDifference(line.book, line.counted) * line.price;
        if (value > 0)
            totals.surplus += value;
        else
            totals.shortage -= value;
    }
    return totals;
}

CountFile parseCountFile(const QString &text)
{
    CountFile file;
    const QStringList rows = text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    for (int i = 0; i < rows.size(); ++i) {
        const QString row = rows.at(i).trimmed();
        if (row.isEmpty())
            continue;
        const QStringList fields = row.split(QRegularExpression(QStringLiteral("[;\t]")));
        const QString code = fields.value(0).trimmed().remove(QLatin1Char('"'));
        bool ok = false;
        const double quantity = fields.value(1).trimmed().remove(QLatin1Char('"')).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (fields.size() != 2 || code.isEmpty() || !ok || quantity < 0 || !std::isfinite(quantity)) {
            file.badRows << QStringLiteral("ред %1: %2").arg(i + 1).arg(row);
            continue;
        }
        auto found = std::find_if(file.quantities.begin(), file.quantities.end(),
                                  [&code](const auto &entry) { return entry.first == code; });
        if (found == file.quantities.end())
            file.quantities.emplace_back(code, quantity);
        else
            found->second += quantity;
    }
    return file;
}

} // namespace documents
