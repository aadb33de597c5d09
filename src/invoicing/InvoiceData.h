#pragma once

#include <QDate>
#include <QString>
#include <QVariantHash>

#include <optional>
#include <vector>

class TBaseDM;

namespace data {
class SqlSession;
}

namespace invoicing {

// One stored line of an invoice.
struct InvoiceLine
{
    int detailId = 0;
    int rowNum = 0;
    QString text;
    QString unit;
    double quantity = 0;
    double price = 0;

    double value() const { return quantity * price; }
};

struct InvoiceTotals
{
    double sum = 0;
    double vat = 0;
    double grandTotal = 0;
};

// The company's own ordinary account, as offered for a bank payment.
struct OwnAccount
{
    int id = 0;
    QString iban;
    QString bank;
    QString bic;
};

// Invoices and notifications share this one number sequence.
qint64 proposeInvoiceNumber(data::SqlSession &session);
// The number as shown: ten digits with leading zeros.
QString invoiceNumberText(qint64 number);
// A VAT number as printed: a Bulgarian one is kept without its country
// prefix, so "BG" goes before a number that starts with a digit; a foreign
// one (DE…, AT…) or one typed with its prefix is printed as it is.
QString printedVatNumber(const QString &stored);
// What leaving a number box makes of the typed text: its digits padded to
// ten with leading zeros (an empty box gives ten zeros).
QString padInvoiceNumber(const QString &typed);

// The document's rate as a fraction: its own rate when it holds a number,
// else the default rate; 0 when neither does.
double documentRate(const QString &secondVat, const QString &defaultVat);
// The percentage printed and shown beside the VAT: the document's own rate
// when it has one, else the default.
QString documentRateText(const QString &secondVat, const QString &defaultVat);
// The tax base rounded to cents, the VAT of that rounded base rounded to
// cents, and their sum: the three figures every view of the invoice shows.
InvoiceTotals invoiceTotals(const std::vector<InvoiceLine> &lines, double rate);

// Text longer than this takes two printed lines.
constexpr int kLongLineText = 44;
// Printed lines: one per line, one more for each long text.
int printLineCount(const std::vector<InvoiceLine> &lines);
// Lines a form holds: 24 on the whole page, 8 on the half page.
int formLineCapacity(bool halfPage);

// Row rules, on the column values of an INVOICES row:
// - a document that is no notification has no type, reference number and
//   reference date; a notification's reference number is written with ten
//   digits when it is a number other than 0;
void applyNotificationRule(QVariantHash &row);
// - cash payment (no account) clears IBAN, bank and BIC; a chosen account
//   puts its IBAN, bank and BIC. WITH_BANKS follows.
void applyPayment(QVariantHash &row, const std::optional<OwnAccount> &account);
// - a line about to be posted belongs to the invoice, gets a new key and
//   the next row number; an empty unit becomes a single blank.
void prepareLineForPost(QVariantHash &line, int invoiceId, int detailId, int rowNum);

std::vector<OwnAccount> ownAccounts(data::SqlSession &session);
std::vector<InvoiceLine> invoiceLines(data::SqlSession &session, int invoiceId);
// The stored row by column name; empty when there is no such invoice.
QVariantHash storedInvoice(data::SqlSession &session, int invoiceId);
// The lines go first, so no line is left without its header. Throws
// varnex::Error with the reason when the invoice may not be deleted
// (deletionRefusal).
void deleteInvoice(data::SqlSession &session, int invoiceId);

// The database configuration values invoicing reads.
struct InvoicingOptions
{
    QString defaultVat;  // BG_VAT
    QString docSize;     // DOCSIZE: "1" half page, else whole page
    QString copies;      // INVOICECOPIES
    QString companyMol;  // COMPANY_MOL
};
InvoicingOptions invoicingOptions(TBaseDM &data);

} // namespace invoicing
