#include "documents/DocumentPrint.h"

#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "invoicing/DocumentCurrency.h"

#include <optional>

namespace documents {

namespace {

// The party is read as stored now, so a counterparty another workstation
// added after the shared list was read still prints.
const char *const kParty = "select KONTR_NAME, KONTR_CITY, KONTR_ADDRESS, KONTR_DN, KONTR_BULSTAT, KONTR_MOL "
                           "from KONTR where (KONTR_ID = :KONTR_ID) and (KONTR_ID > 0)";

QString field(const char *name)
{
    return QString::fromLatin1(name);
}

QString text(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

double number(const QVariant &value)
{
    return value.isNull() ? 0 : value.toDouble();
}

std::optional<QVariantList> party(Tdm &data, const QVariant &id)
{
    if (id.isNull())
        return std::nullopt;
    const auto rows = data.QueryRows(field(kParty), {{field("KONTR_ID"), id}});
    if (rows.empty())
        return std::nullopt;
    return rows.front();
}

void putParty(Tdm &data, const QVariant &id, bool company, invoicing::NamedValues &values)
{
    const std::optional<QVariantList> row = party(data, id);
    if (!row)
        return;
    const QStringList names = invoicing::receipt::partyBoardNames(company);
    const QStringList details{text(row->at(0)), text(row->at(1)) + QStringLiteral(", ") + text(row->at(2)),
                              text(row->at(3)), text(row->at(4)), text(row->at(5))};
    for (int i = 0; i < names.size(); ++i)
        values.emplace_back(names.at(i), details.at(i));
}

// The lines that carry the document's value, in the grid's order.
std::vector<InvoiceDraftLine> valueLines(const DocumentModel &document, double *total)
{
    std::vector<InvoiceDraftLine> result;
    double sum = 0;
    for (int index = 0; index < document.areaCount(); ++index) {
        const LineArea &area = document.area(index);
        if (!area.kind().carriesValue || !area.lines().isOpen())
            continue;
        const db::Dataset &lines = area.lines();
        const int goods = lines.requireField(field("NOM_NAME"));
        const int unit = lines.requireField(field("PMYARKA"));
        const int quantity = lines.requireField(field("TRANZ_RED_KOL1"));
        const int price = lines.requireField(field("TRANZ_RED_CENA"));
        const int discount = lines.requireField(field("TRANZ_RED_OTSTUPKA"));
        const int lineSum = lines.requireField(field("LINE_SUM"));
        for (int row = 0; row < lines.recordCount(); ++row) {
            result.push_back({text(lines.value(row, goods)), text(lines.value(row, unit)),
                              number(lines.value(row, quantity)),
                              number(lines.value(row, price)) * (1 - number(lines.value(row, discount)))});
            sum += number(lines.value(row, lineSum));
        }
    }
    if (total)
        *total = sum;
    return result;
}

} // namespace

invoicing::NamedValues receiptBoardValues(const DocumentModel &document)
{
    Tdm &data = document.data();
    invoicing::NamedValues values;
    putParty(data, 1, true, values);
    putParty(data, document.counterparty(), false, values);
    values.emplace_back(invoicing::receipt::document(),
                        document.kind().type == Delivery ? QStringLiteral("DOSTAVKA") : QStringLiteral("PRODAJBA"));
    double total = 0;
    QVariantList rows;
    for (const InvoiceDraftLine &line : valueLines(document, &total))
        rows << QVariant(QVariantList{line.text, line.unit, line.quantity, line.price});
    values.emplace_back(invoicing::receipt::dataRows(), rows);
    values.emplace_back(invoicing::receipt::sumTotal(), invoicing::moneyText(total));
    values.emplace_back(invoicing::receipt::docNo(), text(document.header().value(field("TRANZ_DOCNO"))));
    return values;
}

SaleInvoice saleInvoice(const DocumentModel &sale)
{
    SaleInvoice invoice;
    invoice.saleId = sale.documentId();
    invoice.buyerId = sale.counterparty();
    if (const std::optional<QVariantList> buyer = party(sale.data(), invoice.buyerId)) {
        invoice.buyerFound = true;
        invoice.name = text(buyer->at(0));
        invoice.city = text(buyer->at(1));
        invoice.address = text(buyer->at(2));
        invoice.taxNumber = text(buyer->at(3));
        invoice.bulstat = text(buyer->at(4));
        invoice.mol = text(buyer->at(5));
    }
    invoice.lines = valueLines(sale, nullptr);
    return invoice;
}

} // namespace documents
