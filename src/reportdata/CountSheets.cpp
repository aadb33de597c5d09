#include "reportdata/CountSheets.h"

#include "documents/StockCountRules.h"

namespace reportdata {

namespace {

ReportColumn column(const char *title, CellFormat format, int width, int digits = 0)
{
    return {QString::fromUtf8(title), format, width, digits};
}

} // namespace

ReportTable countSheet(const std::vector<data::CountLine> &lines, const QString &heading, bool showBook)
{
    ReportTable table;
    table.title = QStringLiteral("Ревизия – лист за преброяване");
    table.parameters = heading;
    table.columns = {column("Код", CellFormat::Code, 7, 6), column("Артикул", CellFormat::Text, 34),
                     column("Мярка", CellFormat::Text, 7)};
    if (showBook)
        table.columns.push_back(column("По книга", CellFormat::Quantity, 11));
    table.columns.push_back(column("Преброено", CellFormat::Text, 14));
    for (const data::CountLine &line : lines) {
        QVariantList row{line.goods.code, line.goods.name, line.goods.unit};
        if (showBook)
            row << line.book;
        row << QString();
        table.rows.push_back(row);
    }
    return table;
}

ReportTable countResult(const std::vector<data::CountLine> &lines, const QString &heading)
{
    ReportTable table;
    table.title = QStringLiteral("Ревизия – резултат");
    table.parameters = heading;
    table.columns = {column("Код", CellFormat::Code, 7, 6),        column("Артикул", CellFormat::Text, 30),
                     column("Мярка", CellFormat::Text, 6),         column("По книга", CellFormat::Quantity, 10),
                     column("Преброено", CellFormat::Quantity, 10), column("Разлика", CellFormat::Quantity, 10),
                     column("Цена", CellFormat::Price, 10),        column("Излишък", CellFormat::Money, 11),
                     column("Липса", CellFormat::Money, 11)};
    for (const data::CountLine &line : lines) {
        const double difference = documents::countDifference(line.book, line.counted);
        if (difference == 0)
            continue;
        const double value = difference * line.price;
        table.rows.push_back({line.goods.code, line.goods.name, line.goods.unit, line.book, line.counted, difference,
                              line.price, value > 0 ? QVariant(value) : QVariant(),
                              value < 0 ? QVariant(-value) : QVariant()});
    }
    const documents::CountTotals totals = documents::countTotals(lines);
    table.totals = {QVariant(), QStringLiteral("Общо"), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                    totals.surplus, totals.shortage};
    return table;
}

} // namespace reportdata
