#include "invoicing/TdmInvoice.h"

#include "core/TBaseDM.h"
#include "core/TSettings.h"
#include "data/Counters.h"
#include "invoicing/A4Pdf.h"
#include "invoicing/Layouts.h"
#include "ui/TDictionary.h"
#include "ui/TfrmPrintPreview.h"
#include "util/Error.h"

#include <QPageSize>
#include <QPrinter>

using namespace invoicing;

namespace {

const char kInvoiceDates[] = "select IDATE from INVOICES where ID = :ID";
const char kDocumentTime[] = "select TRANZ_TIME from TRANZ where TRANZ_ID = :TRANZ_ID";
const char kEmptyReceipt[] = "DELETE FROM BELEJKA_DETAILS";
const char kInsertReceiptRow[] =
    "INSERT INTO BELEJKA_DETAILS (DETAIL_ID, DOC_ID, DETAIL_GOOD, DETAIL_MEAS, DETAIL_QTY, DETAIL_PRICE) "
    "VALUES (:DETAIL_ID, :DOC_ID, :DETAIL_GOOD, :DETAIL_MEAS, :DETAIL_QTY, :DETAIL_PRICE)";

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString text(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

TdmInvoice *g_module = nullptr;

} // namespace

TdmInvoice::TdmInvoice(TBaseDM &data, TSettings &settings)
    : m_data(data)
    , m_settings(settings)
{
}

void TdmInvoice::addCompanyValues()
{
    const auto setting = [this](const char *key) {
        return m_settings.ReadString(QStringLiteral("clientinfo\\") + QString::fromLatin1(key), QString());
    };
    m_values.put(QStringLiteral("CI_COMPANY"), setting("company"));
    m_values.put(QStringLiteral("CI_ADDRESS"), setting("address"));
    m_values.put(QStringLiteral("CI_CITY"), setting("city"));
    m_values.put(QStringLiteral("CI_TAXNO"), setting("vat_num"));
    m_values.put(QStringLiteral("CI_BULSTAT"), setting("bulstat"));
    m_values.put(QStringLiteral("CI_SITE"), setting("site"));
    const InvoicingOptions options = invoicingOptions(m_data);
    m_values.put(QStringLiteral("CI_CLNAME"), options.companyMol);
    m_values.put(QStringLiteral("IVDOCSIZE"), options.docSize);
    m_values.put(QStringLiteral("IVNCP"), options.copies);
}

void TdmInvoice::PrepareInvoice(int invoiceId)
{
    m_values.clear();
    m_receiptRows.clear();
    m_lines = invoiceLines(m_data, invoiceId);

    for (const BoardName &name : invoiceBoardNames()) {
        const QString boardName = QStringLiteral("PRN_INVOICE:") + QString::fromLatin1(name.board);
        const QString fallback = boardName == onlyCopyBoardName() ? QStringLiteral("0") : QString();
        m_values.put(QString::fromLatin1(name.report), TakeParam(boardName, fallback).toString());
    }
    addCompanyValues();

    // An invoice states its date of issue; the date of the taxable event is
    // its own line and is the date of issue when none was given.
    const auto dates = m_data.QueryRows(QString::fromLatin1(kInvoiceDates), {{QStringLiteral("ID"), invoiceId}});
    const QDate issued = dates.empty() ? QDate() : dates.front().at(0).toDate();
    m_currency = DocumentCurrency::on(issued);
    m_values.put(QStringLiteral("IDATE"), issued.isValid() ? dateText(issued) : QString());
    if (m_values.value(QStringLiteral("IDATA")).trimmed().isEmpty())
        m_values.put(QStringLiteral("IDATA"), m_values.value(QStringLiteral("IDATE")));
    m_values.put(QStringLiteral("CURRENCY"), m_currency.sign());

    m_pages = invoicePages(m_values.value(QStringLiteral("IVCP")), m_values.value(QStringLiteral("IVDOCSIZE")),
                           m_values.value(QStringLiteral("IVNCP")));
    // Refuses, before anything is shown, lines the forms cannot hold.
    for (const int page : m_pages)
        lineTable(page == 1);
    m_document = Document::Invoice;
}

std::vector<LineTableRow> TdmInvoice::lineTable(bool halfPage) const
{
    return invoiceLineTable(m_lines, halfPage);
}

std::vector<LineTableRow> TdmInvoice::lineTable() const
{
    return lineTable(m_values.value(QStringLiteral("IVDOCSIZE")) == QLatin1String("1"));
}

void TdmInvoice::PrepareReceipt(int documentId)
{
    m_values.clear();
    m_lines.clear();
    m_pages.clear();
    m_receiptRows.clear();
    m_data.ExecSQL(QString::fromLatin1(kEmptyReceipt));

    // Every receipt value leaves the board, whatever the kind, so none of
    // them is left for the next print to pick up.
    const ReceiptKind kind = receiptKind(TakeParam(receipt::document(), QString()).toString());
    const QVariantList rows = TakeParam(receipt::dataRows()).toList();
    const QString sum = TakeParam(receipt::sumTotal(), QString()).toString();
    const QString number = TakeParam(receipt::docNo(), QString()).toString();
    QStringList company;
    QStringList counterparty;
    for (const QString &name : receipt::partyBoardNames(true))
        company << TakeParam(name, QString()).toString();
    for (const QString &name : receipt::partyBoardNames(false))
        counterparty << TakeParam(name, QString()).toString();

    const auto time = m_data.QueryValue(QString::fromLatin1(kDocumentTime), QString(), {{QStringLiteral("TRANZ_ID"), documentId}});
    m_currency = DocumentCurrency::ofStockDocument(m_data, time.toDateTime().date());
    m_document = Document::Receipt;
    if (kind == ReceiptKind::Unknown)
        return;

    // The rows are kept under their document, so they can be found by it.
    // The printed quantity is the one handed over: 2.5 kg are not 3 kg, and
    // the rows must add up to the document's total.
    for (const QVariant &element : rows) {
        const QVariantList row = element.toList();
        const ReceiptRow receiptRow{text(row.value(0)), text(row.value(1)), row.value(2).toDouble(), row.value(3).toDouble(), 0};
        m_data.ExecSQL(QString::fromLatin1(kInsertReceiptRow),
                       {{QStringLiteral("DETAIL_ID"), m_data.NewCounterValue(data::CounterBelejkaDetails)},
                        {QStringLiteral("DOC_ID"), documentId},
                        {QStringLiteral("DETAIL_GOOD"), receiptRow.goods},
                        {QStringLiteral("DETAIL_MEAS"), receiptRow.unit},
                        {QStringLiteral("DETAIL_QTY"), receiptQuantity(receiptRow.quantity)},
                        {QStringLiteral("DETAIL_PRICE"), receiptRow.price}});
        m_receiptRows.push_back(receiptRow);
    }

    // A delivery: the counterparty hands the goods to the company; a sale:
    // the company hands them to the counterparty.
    const bool companyReceives = kind == ReceiptKind::Delivery;
    const QStringList &receiving = companyReceives ? company : counterparty;
    const QStringList &handing = companyReceives ? counterparty : company;
    const QStringList receivingNames = receipt::partyReportNames(true);
    const QStringList handingNames = receipt::partyReportNames(false);
    for (int i = 0; i < receivingNames.size(); ++i) {
        m_values.put(receivingNames.at(i), receiving.at(i));
        m_values.put(handingNames.at(i), handing.at(i));
    }
    m_values.put(QStringLiteral("SITE"), m_settings.ReadString(QStringLiteral("clientinfo\\site"), QString()));
    m_values.put(QStringLiteral("SUM_TOTAL"), sum);
    m_values.put(QStringLiteral("DOC_NUM"), number);
    m_values.put(QStringLiteral("DATE"), dateText(QDate::currentDate()));
    m_values.put(QStringLiteral("CURRENCY"), m_currency.sign());
}

QString TdmInvoice::title() const
{
    switch (m_document) {
    case Document::Invoice:
        return QStringLiteral("Фактура %1").arg(Value(QStringLiteral("INOMER")));
    case Document::Receipt:
        return m_values.contains(QStringLiteral("DOC_NUM"))
                   ? QStringLiteral("Стокова разписка %1").arg(Value(QStringLiteral("DOC_NUM")))
                   : QStringLiteral("Стокова разписка");
    case Document::None:
        break;
    }
    return QString();
}

void TdmInvoice::render(QPagedPaintDevice &device) const
{
    if (m_document == Document::Invoice)
        renderInvoice(*this, device);
    else if (m_document == Document::Receipt)
        renderReceipt(*this, device);
}

void TdmInvoice::savePdf(const QString &path) const
{
    writeA4Pdf(path, title(), issuingSoftware(), [this](QPagedPaintDevice &device) { render(device); });
}

void TdmInvoice::preview(QWidget *parent) const
{
    TfrmPrintPreview window(
        title(), [this](QPagedPaintDevice &device) { render(device); }, false, parent);
    window.printer().setPageSize(QPageSize(QPageSize::A4));
    window.printer().setPageMargins(QMarginsF(0, 0, 0, 0));
    window.exec();
}

void TdmInvoice::PrintInvoice(int invoiceId, QWidget *parent)
{
    PrepareInvoice(invoiceId);
    preview(parent);
}

void TdmInvoice::PrintReceipt(int documentId, QWidget *parent)
{
    PrepareReceipt(documentId);
    preview(parent);
}

TdmInvoice &dmInvoice()
{
    if (!g_module)
        throw varnex::Error(QStringLiteral("Модулът за печат не е създаден."));
    return *g_module;
}

void SetInvoiceModule(TdmInvoice *module)
{
    g_module = module;
}
