#include "invoicing/SalesLedger.h"

#include "data/SqlSession.h"

#include <cmath>
#include <map>

namespace invoicing {

namespace {

const char kMonthDocuments[] =
    "select ID, IDATE, NUMBER, NOTIFICATION, NOTIF_TYPE, COMPANY, BULSTAT, IS_WAITING, SECOND_VAT from INVOICES "
    "where IDATE >= :FROM_DATE and IDATE < :UNTIL_DATE and coalesce(IS_WAITING, 0) <> 1 order by IDATE, NUMBER, ID";
// The lines of the whole month in one statement, in the order the editor
// and the print add them up, so the figures are theirs to the cent.
const char kMonthLines[] =
    "select d.INVOICE_ID, d.DETAIL_QTY, d.DETAIL_PRICE from INVOICE_DETAILS d join INVOICES i on i.ID = d.INVOICE_ID "
    "where i.IDATE >= :FROM_DATE and i.IDATE < :UNTIL_DATE order by d.INVOICE_ID, d.DETAIL_ID, d.ROWNUM";
const char kDefaultRate[] = "select c.KEY_VALUE from APP_CONFIG c join APP_CONFIG_KEYS k on k.KEY_ID = c.KEY_ID "
                            "where k.NAME = 'BG_VAT'";

constexpr int kCancelled = 2;

QString text(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

// A notification whose type was never chosen prints as an invoice.
LedgerKind kindOf(const QVariant &notification, const QVariant &type)
{
    if (notification.isNull() || notification.toInt() != 1 || type.isNull())
        return LedgerKind::Invoice;
    switch (type.toInt()) {
    case 0:
        return LedgerKind::CreditNote;
    case 1:
        return LedgerKind::DebitNote;
    default:
        return LedgerKind::Invoice;
    }
}

} // namespace

QString ledgerKindName(LedgerKind kind)
{
    switch (kind) {
    case LedgerKind::CreditNote:
        return QStringLiteral("Кредитно известие");
    case LedgerKind::DebitNote:
        return QStringLiteral("Дебитно известие");
    case LedgerKind::Invoice:
        break;
    }
    return QStringLiteral("Фактура");
}

QString salesLedgerSql()
{
    return QString::fromLatin1(kMonthDocuments);
}

QVariantHash salesLedgerParams(const QDate &month)
{
    const QDate first(month.year(), month.month(), 1);
    return {{QStringLiteral("FROM_DATE"), first}, {QStringLiteral("UNTIL_DATE"), first.addMonths(1)}};
}

std::vector<LedgerDocument> salesLedger(data::SqlSession &session, const QDate &month)
{
    const QString defaultVat = text(session.QueryValue(QString::fromLatin1(kDefaultRate)));
    std::map<int, std::vector<InvoiceLine>> linesOf;
    for (const QVariantList &line : session.QueryRows(QString::fromLatin1(kMonthLines), salesLedgerParams(month))) {
        InvoiceLine &added = linesOf[line.at(0).toInt()].emplace_back();
        added.quantity = line.at(1).toDouble();
        added.price = line.at(2).toDouble();
    }
    std::vector<LedgerDocument> documents;
    for (const QVariantList &row : session.QueryRows(salesLedgerSql(), salesLedgerParams(month))) {
        LedgerDocument document;
        document.id = row.at(0).toInt();
        document.date = row.at(1).toDate();
        document.number = row.at(2).toLongLong();
        document.kind = kindOf(row.at(3), row.at(4));
        document.recipient = text(row.at(5));
        document.vatNumber = printedVatNumber(text(row.at(6)));
        document.cancelled = !row.at(7).isNull() && row.at(7).toInt() == kCancelled;
        const double rate = documentRate(text(row.at(8)), defaultVat);
        document.ratePercent = std::round(rate * 10000) / 100;
        if (!document.cancelled) {
            document.figures = invoiceTotals(linesOf[document.id], rate);
            // A credit note takes its amounts off the month, whichever sign
            // its lines were typed with.
            if (document.kind == LedgerKind::CreditNote && document.figures.sum > 0) {
                document.figures.sum = -document.figures.sum;
                document.figures.vat = -document.figures.vat;
                document.figures.grandTotal = -document.figures.grandTotal;
            }
        }
        documents.push_back(document);
    }
    return documents;
}

} // namespace invoicing
