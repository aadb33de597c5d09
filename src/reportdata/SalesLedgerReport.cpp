#include "reportdata/SalesLedgerReport.h"

#include "invoicing/AmountInWords.h"
#include "invoicing/SalesLedger.h"
#include "util/Error.h"

#include <algorithm>
#include <functional>
#include <set>

namespace reportdata {

namespace {

QString baseTitle(double percent)
{
    return QStringLiteral("Основа %1 %").arg(QString::number(percent, 'g', 6).replace(QLatin1Char('.'), QLatin1Char(',')));
}

} // namespace

ReportTable salesLedger(data::SqlSession &session, const QDate &month)
{
    if (!month.isValid())
        throw varnex::Error(QStringLiteral("Изберете месец!"));
    const std::vector<invoicing::LedgerDocument> documents = invoicing::salesLedger(session, month);
    std::set<double, std::greater<>> rates;
    for (const invoicing::LedgerDocument &document : documents)
        rates.insert(document.ratePercent);

    ReportTable table;
    table.title = QStringLiteral("Дневник на продажбите");
    table.parameters = QStringLiteral("Месец: %1").arg(month.toString(QStringLiteral("MM.yyyy")));
    table.columns = {{QStringLiteral("Дата"), CellFormat::Date, 10},
                     {QStringLiteral("Номер"), CellFormat::Code, 14, 10},
                     {QStringLiteral("Вид"), CellFormat::Text, 20},
                     {QStringLiteral("Получател"), CellFormat::Text, 30},
                     {QStringLiteral("ИН по ЗДДС"), CellFormat::Text, 14}};
    for (double rate : rates)
        table.columns.push_back({baseTitle(rate), CellFormat::Money, 12});
    table.columns.push_back({QStringLiteral("ДДС"), CellFormat::Money, 12});
    table.columns.push_back({QStringLiteral("Общо"), CellFormat::Money, 13});
    table.columns.push_back({QStringLiteral("Статус"), CellFormat::Text, 10});

    std::vector<double> bases(rates.size(), 0.0);
    double vat = 0;
    double total = 0;
    for (const invoicing::LedgerDocument &document : documents) {
        QVariantList row{document.date, document.number, invoicing::ledgerKindName(document.kind), document.recipient,
                         document.vatNumber};
        const auto own = size_t(std::distance(rates.begin(), rates.find(document.ratePercent)));
        for (size_t i = 0; i < rates.size(); ++i)
            row << (i == own ? QVariant(document.figures.sum) : QVariant());
        row << document.figures.vat << document.figures.grandTotal
            << (document.cancelled ? QStringLiteral("Анулирана") : QString());
        table.rows.push_back(row);
        bases[own] += document.figures.sum;
        vat += document.figures.vat;
        total += document.figures.grandTotal;
    }
    table.totals = {QVariant(), QVariant(), QVariant(), QStringLiteral("Общо"), QVariant()};
    // Sums of the printed figures: each was cents already.
    for (double base : bases)
        table.totals << invoicing::roundToCents(base);
    table.totals << invoicing::roundToCents(vat) << invoicing::roundToCents(total) << QVariant();
    return table;
}

} // namespace reportdata
