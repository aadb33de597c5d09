#pragma once

#include "invoicing/InvoiceData.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

namespace invoicing {

// The values of one print by name, as the layouts ask for them.
class ReportValues
{
public:
    static QString notSet() { return QStringLiteral("-not-set-"); }

    void clear() { m_values.clear(); }
    void put(const QString &name, const QString &value) { m_values.insert(name, value); }
    bool contains(const QString &name) const { return m_values.contains(name); }
    // "-not-set-" for a name that was neither put nor added, so a missing
    // value shows on the page instead of leaving a silent gap.
    QString value(const QString &name) const { return m_values.value(name, notSet()); }

private:
    QHash<QString, QString> m_values;
};

using NamedValues = std::vector<std::pair<QString, QVariant>>;

// Board name of each invoice value and the report value that takes it.
struct BoardName
{
    const char *board;
    const char *report;
};
const std::vector<BoardName> &invoiceBoardNames();
// The only-copy flag's board name; taken with "0" as default.
QString onlyCopyBoardName();

// The values the invoice editor puts for a print, made from the stored
// invoice: what printing without the editor hands over. A row read without
// the typed ground of a zero rate prints none.
NamedValues invoiceBoardValues(const QVariantHash &invoice, const std::vector<InvoiceLine> &lines,
                               const QString &defaultVat, bool onlyCopy);

// The invoice pages printed: 1 the half-page original with its copy, 2 the
// whole-page original, 3 and 4 whole-page copies.
std::vector<int> invoicePages(const QString &onlyCopy, const QString &docSize, const QString &copies);

// One row of an invoice form's table; an empty row has empty texts.
struct LineTableRow
{
    QString number;
    QString text;
    QString unit;
    QString quantity;
    QString price;
    QString value;
    bool longText = false;
};
// The table always fills the form's height: its rows are the form's
// capacity less one per long line, those beyond the lines printed empty.
// Lines that do not fit are refused with the editor's warning.
std::vector<LineTableRow> invoiceLineTable(const std::vector<InvoiceLine> &lines, bool halfPage);
// A number printed as its plain value, without a fixed number of decimals.
QString plainNumber(double value);

// The kind of stock document a receipt is printed for.
enum class ReceiptKind { Delivery, Sale, Unknown };
ReceiptKind receiptKind(const QString &document);
// The scratch table of receipt rows holds whole quantities: rounded half
// away from zero, so 2.5 is kept as 3.
int receiptQuantity(double quantity);

// Board names of the receipt; the stock documents put them.
namespace receipt {
QString document();
QString dataRows();
QString sumTotal();
QString docNo();
// The five details of one party: name, address, tax number, registry
// number, accountable person ("INVOICE:F…" the company, "INVOICE:K…" the
// counterparty), and the report values of the handing and receiving side.
QStringList partyBoardNames(bool company);
QStringList partyReportNames(bool receiving);
} // namespace receipt

} // namespace invoicing
