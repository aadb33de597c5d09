#include "invoicing/InvoiceData.h"

#include "core/TBaseDM.h"
#include "data/SqlSession.h"
#include "invoicing/AmountInWords.h"
#include "invoicing/InvoiceRules.h"
#include "util/Error.h"

#include <QStringList>

namespace invoicing {

namespace {

const char kMaxNumber[] = "select max(NUMBER) maxnum from INVOICES";
const char kOwnAccounts[] =
    "SELECT ID, ACCOUNT_CODE, BANK_NAME, BANK_CODE FROM BANK_ACCOUNTS WHERE IS_VAT_ACCOUNT=0 AND CLIENT_ID = 1 ORDER BY ID";
const char kLines[] = "select DETAIL_ID, ROWNUM, DETAIL_TEXT, DETAIL_MEAS, DETAIL_QTY, DETAIL_PRICE from INVOICE_DETAILS "
                      " WHERE INVOICE_ID = :INVOICE_ID ORDER BY DETAIL_ID, ROWNUM";
const char kDeleteLines[] = "DELETE FROM INVOICE_DETAILS WHERE INVOICE_ID = :INVOICE_ID";
const char kDeleteHeader[] = "DELETE FROM INVOICES WHERE ID = :INVOICE_ID";

const QStringList &invoiceColumns()
{
    static const QStringList columns = QStringLiteral(
        "ID,NUMBER,IDATE,PLACE,IS_WAITING,CLIENT_ID,COMPANY,CITY,ADDRESS,DANNUM,BULSTAT,MOL,NOTES,INVOICE_CREATOR,"
        "RECIEVER,LKNO,MVR,PUBLISHED,LA_NUMBER,LA_DATE,SELL_DATE,WITH_BANKS,ACCOUNT,BANK,CODE,NOTIFICATION,"
        "NOTIF_TYPE,INVOICE_NUMBER,INVNOTIF_DATE,SECOND_VAT,NONCHARGE_VAT,REQUESTED_VAT,RV_DETAILS,NOVO_SREDSTVO,"
        "NV_DETAILS,DIST_SELLING_EIK,DIST_SELLING_VAT,DIST_SELLING_CASHSIZE,ZERO_VAT_GROUND")
                                          .split(QLatin1Char(','));
    return columns;
}

std::optional<double> percent(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString text(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

} // namespace

qint64 proposeInvoiceNumber(data::SqlSession &session)
{
    const QVariant highest = session.QueryValue(QString::fromLatin1(kMaxNumber), QStringLiteral("maxnum"));
    const qint64 value = highest.isNull() ? 0 : highest.toLongLong();
    return value > 0 ? value + 1 : 1;
}

QString invoiceNumberText(qint64 number)
{
    return QStringLiteral("%1").arg(number, 10, 10, QLatin1Char('0'));
}

QString printedVatNumber(const QString &stored)
{
    const QString trimmed = stored.trimmed();
    return !trimmed.isEmpty() && trimmed.at(0).isDigit() ? QStringLiteral("BG") + trimmed : trimmed;
}

QString padInvoiceNumber(const QString &typed)
{
    return typed.trimmed().rightJustified(10, QLatin1Char('0'));
}

double documentRate(const QString &secondVat, const QString &defaultVat)
{
    if (const auto own = percent(secondVat))
        return *own / 100.0;
    return percent(defaultVat).value_or(0) / 100.0;
}

QString documentRateText(const QString &secondVat, const QString &defaultVat)
{
    return percent(secondVat) ? secondVat.trimmed() : defaultVat.trimmed();
}

InvoiceTotals invoiceTotals(const std::vector<InvoiceLine> &lines, double rate)
{
    double sum = 0;
    for (const InvoiceLine &line : lines)
        sum += line.value();
    // The VAT is charged on the base as printed, and the total is what the
    // two printed figures add up to, so the invoice sums to the cent.
    InvoiceTotals totals;
    totals.sum = roundToCents(sum);
    totals.vat = roundToCents(totals.sum * rate);
    totals.grandTotal = totals.sum + totals.vat;
    return totals;
}

int printLineCount(const std::vector<InvoiceLine> &lines)
{
    int count = 0;
    for (const InvoiceLine &line : lines)
        count += line.text.size() > kLongLineText ? 2 : 1;
    return count;
}

int formLineCapacity(bool halfPage)
{
    return halfPage ? 8 : 24;
}

void applyNotificationRule(QVariantHash &row)
{
    if (row.value(QStringLiteral("NOTIFICATION")).toInt() != 1) {
        row.insert(QStringLiteral("NOTIF_TYPE"), QVariant());
        row.insert(QStringLiteral("INVOICE_NUMBER"), QVariant());
        row.insert(QStringLiteral("INVNOTIF_DATE"), QVariant());
        return;
    }
    const QString reference = text(row.value(QStringLiteral("INVOICE_NUMBER"))).trimmed();
    bool isNumber = false;
    const qint64 number = reference.toLongLong(&isNumber);
    if (isNumber && number != 0)
        row.insert(QStringLiteral("INVOICE_NUMBER"), invoiceNumberText(number));
}

void applyPayment(QVariantHash &row, const std::optional<OwnAccount> &account)
{
    row.insert(QStringLiteral("WITH_BANKS"), account ? 1 : 0);
    row.insert(QStringLiteral("ACCOUNT"), account ? QVariant(account->iban) : QVariant());
    row.insert(QStringLiteral("BANK"), account ? QVariant(account->bank) : QVariant());
    row.insert(QStringLiteral("CODE"), account ? QVariant(account->bic) : QVariant());
}

void prepareLineForPost(QVariantHash &line, int invoiceId, int detailId, int rowNum)
{
    line.insert(QStringLiteral("INVOICE_ID"), invoiceId);
    line.insert(QStringLiteral("DETAIL_ID"), detailId);
    line.insert(QStringLiteral("ROWNUM"), rowNum);
    if (text(line.value(QStringLiteral("DETAIL_MEAS"))).isEmpty())
        line.insert(QStringLiteral("DETAIL_MEAS"), QStringLiteral(" "));
}

std::vector<OwnAccount> ownAccounts(data::SqlSession &session)
{
    std::vector<OwnAccount> accounts;
    for (const QVariantList &row : session.QueryRows(QString::fromLatin1(kOwnAccounts)))
        accounts.push_back({row.at(0).toInt(), text(row.at(1)), text(row.at(2)), text(row.at(3))});
    return accounts;
}

std::vector<InvoiceLine> invoiceLines(data::SqlSession &session, int invoiceId)
{
    std::vector<InvoiceLine> lines;
    for (const QVariantList &row :
         session.QueryRows(QString::fromLatin1(kLines), {{QStringLiteral("INVOICE_ID"), invoiceId}})) {
        lines.push_back({row.at(0).toInt(), row.at(1).toInt(), text(row.at(2)), text(row.at(3)), row.at(4).toDouble(),
                         row.at(5).toDouble()});
    }
    return lines;
}

QVariantHash storedInvoice(data::SqlSession &session, int invoiceId)
{
    const QStringList &columns = invoiceColumns();
    const auto rows = session.QueryRows(QStringLiteral("select %1 from INVOICES where ID = :ID").arg(columns.join(QLatin1Char(','))),
                                        {{QStringLiteral("ID"), invoiceId}});
    QVariantHash row;
    if (rows.empty())
        return row;
    for (int i = 0; i < columns.size(); ++i)
        row.insert(columns.at(i), rows.front().at(i));
    return row;
}

void deleteInvoice(data::SqlSession &session, int invoiceId)
{
    const QString refused = deletionRefusal(session, invoiceId);
    if (!refused.isEmpty())
        throw varnex::Error(refused);
    const data::SqlParams params{{QStringLiteral("INVOICE_ID"), invoiceId}};
    session.ExecSQL(QString::fromLatin1(kDeleteLines), params);
    session.ExecSQL(QString::fromLatin1(kDeleteHeader), params);
}

InvoicingOptions invoicingOptions(TBaseDM &data)
{
    InvoicingOptions options;
    options.defaultVat = data.GetConfigByName(QStringLiteral("BG_VAT"));
    options.docSize = data.GetConfigByName(QStringLiteral("DOCSIZE"));
    options.copies = data.GetConfigByName(QStringLiteral("INVOICECOPIES"));
    options.companyMol = data.GetConfigByName(QStringLiteral("COMPANY_MOL"));
    return options;
}

} // namespace invoicing
