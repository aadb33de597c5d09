#include "invoicing/PrintValues.h"

#include "invoicing/DocumentCurrency.h"
#include "util/Error.h"

#include <QDate>
#include <QStringList>

#include <cmath>

namespace invoicing {

namespace {

QString text(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

QString dateText(const QVariant &value)
{
    const QDate date = value.toDate();
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

bool isOne(const QVariant &value)
{
    return !value.isNull() && value.toInt() == 1;
}

QString flag(const QVariant &value)
{
    return isOne(value) ? QStringLiteral("1") : QStringLiteral("0");
}

QString board(const char *name)
{
    return QStringLiteral("PRN_INVOICE:") + QString::fromLatin1(name);
}

} // namespace

const std::vector<BoardName> &invoiceBoardNames()
{
    static const std::vector<BoardName> names{
        {"INVOICENOTIFY", "NOTIFY"},
        {"INVOICENOTIFNUM", "INVNUM"},
        {"INVOICENOTIFDATE", "INVNOTIFDATE"},
        {"INVOICENO", "INOMER"},
        {"INVOICEPLACE", "IPLACE"},
        {"INVOICEFIRMPERSON", "IFIRMPERSON"},
        {"INVOICEDNUM", "IDNUM"},
        {"INVOICEBULSTAT", "IBULSTAT"},
        {"INVOICECITY", "ICITY"},
        {"INVOICEADDRESS", "IADDRESS"},
        {"INVOICEMOL", "IMOL"},
        {"INVOICE_EIK", "EIKVAT"},
        {"INVOICE_VAT", "DVAT"},
        {"INVOICECASHSIZE", "CASHSIZE"},
        {"INVOICECREATOR", "INVOICE_CREATOR"},
        {"INVOICERECIEVER", "IRECIEVER"},
        {"INVOICESELLDATE", "IDATA"},
        {"INVOICE_LADATA", "LA_DATA"},
        {"INVOICELKNO", "ILKNO"},
        {"INVOICEMVR", "IMVR"},
        {"INVOICECRDPUB", "ICRDPUB"},
        {"INVOICESECOND_VAT", "SV"},
        {"INVOICE_NCVAT", "NONCHARGE_VAT"},
        {"INVOICE_RQVAT", "RQVAT"},
        {"INVOICE_RQDETAIL", "RQDETAIL"},
        {"INVOICE_NEWVEHICLE", "NEWVEHICLE"},
        {"INVOICE_NVDETAIL", "NVDETAIL"},
        {"INVOICESPCASH", "CASH_SPELL"},
        {"INVOICESUM", "TOTAL"},
        {"INVOICEVAT", "VAT"},
        {"INVOICEGRTOT", "GROSS_TOTAL"},
        {"INVOICEIN_CASH", "IN_CASH"},
        {"INVOICEBANK", "BANK"},
        {"INVOICEBCODE", "BCODE"},
        {"INVOICEBACCOUNT", "BACCOUNT"},
        {"PSONLYCOPY", "IVCP"},
        {"INVOICESTATUS", "ISTATUS"},
        {"INVOICE_ZEROGROUND", "ZEROGROUND"},
    };
    return names;
}

QString onlyCopyBoardName()
{
    return board("PSONLYCOPY");
}

NamedValues invoiceBoardValues(const QVariantHash &invoice, const std::vector<InvoiceLine> &lines,
                               const QString &defaultVat, bool onlyCopy)
{
    const auto column = [&invoice](const char *name) { return invoice.value(QString::fromLatin1(name)); };
    const bool notification = isOne(column("NOTIFICATION"));
    const bool bank = isOne(column("WITH_BANKS"));
    const QString secondVat = text(column("SECOND_VAT"));
    const InvoiceTotals totals = invoiceTotals(lines, documentRate(secondVat, defaultVat));
    const DocumentCurrency currency = DocumentCurrency::on(column("IDATE").toDate());

    NamedValues values;
    const auto put = [&values](const char *name, const QString &value) { values.emplace_back(board(name), value); };
    QString notify;
    if (notification && !column("NOTIF_TYPE").isNull())
        notify = column("NOTIF_TYPE").toInt() == 0 ? QStringLiteral("КРЕДИТНО") : QStringLiteral("ДЕБИТНО");
    put("INVOICENOTIFY", notify);
    put("INVOICENOTIFNUM", notification ? text(column("INVOICE_NUMBER")) : QString());
    put("INVOICENOTIFDATE", notification ? dateText(column("INVNOTIF_DATE")) : QString());
    put("INVOICENO", column("NUMBER").isNull() ? QString() : invoiceNumberText(column("NUMBER").toLongLong()));
    put("INVOICEPLACE", text(column("PLACE")));
    put("INVOICEFIRMPERSON", text(column("COMPANY")));
    put("INVOICEDNUM", text(column("DANNUM")));
    put("INVOICEBULSTAT", text(column("BULSTAT")));
    put("INVOICECITY", text(column("CITY")));
    put("INVOICEADDRESS", text(column("ADDRESS")));
    put("INVOICEMOL", text(column("MOL")));
    put("INVOICE_EIK", text(column("DIST_SELLING_EIK")));
    put("INVOICE_VAT", text(column("DIST_SELLING_VAT")).isEmpty() ? QStringLiteral("0") : text(column("DIST_SELLING_VAT")));
    put("INVOICECASHSIZE", column("DIST_SELLING_CASHSIZE").isNull() ? QString()
                                                                     : moneyText(column("DIST_SELLING_CASHSIZE").toDouble()));
    put("INVOICECREATOR", text(column("INVOICE_CREATOR")));
    put("INVOICERECIEVER", text(column("RECIEVER")));
    if (column("SELL_DATE").toDate().isValid())
        put("INVOICESELLDATE", dateText(column("SELL_DATE")));
    const QString attorney = text(column("LA_NUMBER")).trimmed();
    put("INVOICE_LADATA", attorney.isEmpty() ? QString() : attorney + QLatin1Char('/') + dateText(column("LA_DATE")));
    put("INVOICELKNO", text(column("LKNO")));
    put("INVOICEMVR", text(column("MVR")));
    if (column("PUBLISHED").toDate().isValid())
        put("INVOICECRDPUB", dateText(column("PUBLISHED")));
    put("INVOICESECOND_VAT", documentRateText(secondVat, defaultVat));
    put("INVOICE_NCVAT", flag(column("NONCHARGE_VAT")));
    put("INVOICE_RQVAT", flag(column("REQUESTED_VAT")));
    put("INVOICE_RQDETAIL", text(column("RV_DETAILS")));
    put("INVOICE_NEWVEHICLE", flag(column("NOVO_SREDSTVO")));
    put("INVOICE_NVDETAIL", text(column("NV_DETAILS")));
    put("INVOICESPCASH", currency.inWords(totals.grandTotal));
    put("INVOICESUM", moneyText(totals.sum));
    put("INVOICEVAT", moneyText(totals.vat));
    put("INVOICEGRTOT", moneyText(totals.grandTotal));
    put("INVOICEIN_CASH", bank ? QStringLiteral("2") : QStringLiteral("1"));
    if (bank) {
        put("INVOICEBANK", text(column("BANK")));
        put("INVOICEBCODE", text(column("CODE")));
        put("INVOICEBACCOUNT", text(column("ACCOUNT")));
    }
    put("PSONLYCOPY", onlyCopy ? QStringLiteral("1") : QStringLiteral("0"));
    put("INVOICESTATUS", column("IS_WAITING").isNull() ? QStringLiteral("0") : QString::number(column("IS_WAITING").toInt()));
    put("INVOICE_ZEROGROUND", text(column("ZERO_VAT_GROUND")));
    return values;
}

std::vector<int> invoicePages(const QString &onlyCopy, const QString &docSize, const QString &copies)
{
    if (onlyCopy == QLatin1String("1"))
        return {3};
    const bool oneCopy = copies == QLatin1String("0");
    if (docSize == QLatin1String("1"))
        return oneCopy ? std::vector<int>{1} : std::vector<int>{1, 3};
    return oneCopy ? std::vector<int>{2, 3} : std::vector<int>{2, 3, 4};
}

QString plainNumber(double value)
{
    return QString::number(value, 'g', 15);
}

std::vector<LineTableRow> invoiceLineTable(const std::vector<InvoiceLine> &lines, bool halfPage)
{
    const int capacity = formLineCapacity(halfPage);
    if (printLineCount(lines) > capacity) {
        throw varnex::Error(halfPage ? QStringLiteral("Внимание !!!!!\r\nВъведените редове са повече от предвидените за печат!\r\n"
                                                      "Моля, променете формата на фактурата в \"Настройки\",\r\n"
                                                      "ако желаете да отпечатате повече редове!")
                                     : QStringLiteral("Внимание!\r\nВъведените редове са повече от предвидените за печат!!!\r\n"
                                                      "Моля, намалете техният брой за да се съберат на една страница!"));
    }
    int longLines = 0;
    for (const InvoiceLine &line : lines)
        longLines += line.text.size() > kLongLineText ? 1 : 0;
    std::vector<LineTableRow> rows(size_t(capacity - longLines));
    for (size_t i = 0; i < lines.size(); ++i) {
        const InvoiceLine &line = lines[i];
        rows[i] = {QString::number(i + 1), line.text, line.unit, plainNumber(line.quantity), plainNumber(line.price),
                   plainNumber(line.value()), line.text.size() > kLongLineText};
    }
    return rows;
}

ReceiptKind receiptKind(const QString &document)
{
    if (document == QLatin1String("DOSTAVKA"))
        return ReceiptKind::Delivery;
    if (document == QLatin1String("PRODAJBA"))
        return ReceiptKind::Sale;
    return ReceiptKind::Unknown;
}

int receiptQuantity(double quantity)
{
    return int(std::lround(quantity));
}

namespace receipt {

QString document()
{
    return QStringLiteral("INVOICE:DOCUMENT");
}

QString dataRows()
{
    return QStringLiteral("INVOICE:DATA_ROWS");
}

QString sumTotal()
{
    return QStringLiteral("INVOICE:SUM_TOTAL");
}

QString docNo()
{
    return QStringLiteral("INVOICE:DOCNO");
}

QStringList partyBoardNames(bool company)
{
    const QString prefix = company ? QStringLiteral("INVOICE:F") : QStringLiteral("INVOICE:K");
    return {prefix + QLatin1String("NAME"), prefix + QLatin1String("ADDRESS"), prefix + QLatin1String("DNEGN"),
            prefix + QLatin1String("BULSTAT"), prefix + QLatin1String("MOL")};
}

QStringList partyReportNames(bool receiving)
{
    const QString prefix = receiving ? QStringLiteral("RECV_") : QStringLiteral("SEND_");
    return {prefix + QLatin1String("COMPANY"), prefix + QLatin1String("ADDRESS"), prefix + QLatin1String("TAXNO"),
            prefix + QLatin1String("BULSTAT"), prefix + QLatin1String("MOL")};
}

} // namespace receipt

} // namespace invoicing
