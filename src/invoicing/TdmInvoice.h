#pragma once

#include "invoicing/DocumentCurrency.h"
#include "invoicing/InvoiceData.h"
#include "invoicing/PrintValues.h"

#include <QString>

#include <vector>

class QPagedPaintDevice;
class QWidget;
class TBaseDM;
class TSettings;

// One row of the stock receipt: the quantity as handed over (the scratch
// table BELEJKA_DETAILS, which holds whole numbers only, keeps it rounded).
struct ReceiptRow
{
    QString goods;
    QString unit;
    double quantity = 0;
    double price = 0;
    double reduction = 0;

    double value() const { return quantity * price * (1 - reduction); }
};

// The printing module: it takes a document's values off the parameter
// board, adds the company's own details, and prepares the invoice or the
// stock receipt for the preview, the printer or a PDF file. Each print
// starts from an empty table of values, so one print never shows another's.
class TdmInvoice
{
public:
    enum class Document { None, Invoice, Receipt };

    TdmInvoice(TBaseDM &data, TSettings &settings);

    // Takes every "PRN_INVOICE:" value (those not put read as empty) and
    // reads the invoice's lines, its dates and the invoicing options.
    void PrepareInvoice(int invoiceId);
    // Takes the "INVOICE:" values of a delivery or sale and writes the
    // receipt's rows, replacing those of the previous receipt.
    void PrepareReceipt(int documentId);

    Document document() const { return m_document; }
    const invoicing::ReportValues &values() const { return m_values; }
    QString Value(const QString &name) const { return m_values.value(name); }
    // The invoice pages to print (see invoicing::invoicePages).
    const std::vector<int> &pages() const { return m_pages; }
    // The table of a form, half or whole page.
    std::vector<invoicing::LineTableRow> lineTable(bool halfPage) const;
    // The table of the form the options choose.
    std::vector<invoicing::LineTableRow> lineTable() const;
    const std::vector<ReceiptRow> &receiptRows() const { return m_receiptRows; }
    const invoicing::DocumentCurrency &currency() const { return m_currency; }

    // Draws the prepared document on the pages of a printer or PDF writer.
    void render(QPagedPaintDevice &device) const;
    // Writes the prepared document to a PDF file (A4); varnex::Error when
    // the file cannot be written.
    void savePdf(const QString &path) const;
    // The prepared document's title: the preview's caption and file name.
    QString title() const;
    // Shows the prepared document in the print preview.
    void preview(QWidget *parent = nullptr) const;

    // Prepare and show: what the editors call.
    void PrintInvoice(int invoiceId, QWidget *parent = nullptr);
    void PrintReceipt(int documentId, QWidget *parent = nullptr);

private:
    void addCompanyValues();

    TBaseDM &m_data;
    TSettings &m_settings;
    Document m_document = Document::None;
    invoicing::ReportValues m_values;
    std::vector<int> m_pages;
    std::vector<invoicing::InvoiceLine> m_lines;
    std::vector<ReceiptRow> m_receiptRows;
    invoicing::DocumentCurrency m_currency = invoicing::DocumentCurrency::on(QDate());
};

// The module created at start-up, which serves the receipts.
TdmInvoice &dmInvoice();
void SetInvoiceModule(TdmInvoice *module);
