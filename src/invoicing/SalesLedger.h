#pragma once

#include "invoicing/InvoiceData.h"

#include <QDate>
#include <QString>

#include <vector>

namespace data {
class SqlSession;
}

namespace invoicing {

enum class LedgerKind { Invoice, CreditNote, DebitNote };

// "Фактура", "Кредитно известие", "Дебитно известие".
QString ledgerKindName(LedgerKind kind);

// One document of the month's sales ledger, its figures those the printed
// document states: a credit note's taken away, a cancelled one's zero.
struct LedgerDocument
{
    int id = 0;
    QDate date;
    qint64 number = 0;
    LedgerKind kind = LedgerKind::Invoice;
    QString recipient;
    QString vatNumber;
    bool cancelled = false;
    // The document's VAT rate in percent, to the hundredth.
    double ratePercent = 0;
    InvoiceTotals figures;
};

// Invoices and notifications dated in the month of `month`, by date and
// number. Waiting ones are not issued yet and are left out.
std::vector<LedgerDocument> salesLedger(data::SqlSession &session, const QDate &month);
// The statement choosing those documents and its values; each document's
// lines are read after it.
QString salesLedgerSql();
QVariantHash salesLedgerParams(const QDate &month);

} // namespace invoicing
