#pragma once

#include "documents/DocumentPrint.h"
#include "documents/TfrmTradeDocument.h"

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QPushButton;
class TfrmAmbalaj;

// The sale editor ("Продажба"): goods sold to a buyer, each stored line
// taking what the buyer took out of stock, and the packaging brought back
// ("Амбалаж"); "Печат" prints the stock receipt or starts an invoice.
class TfrmProdajbi : public TfrmTradeDocument
{
    Q_OBJECT

public:
    explicit TfrmProdajbi(QWidget *owner = nullptr);
    ~TfrmProdajbi() override;

    DBDateEdit *edtDate() const { return m_date; }
    DBEdit *edtNote() const { return m_note; }
    QPushButton *btnPackaging() const { return m_packaging; }
    QPushButton *btnPrint() const { return m_print; }
    QAction *actnReceipt() const { return m_receipt; }
    QAction *actnInvoice() const { return m_invoice; }

    // The packaging window over this sale's packaging lines, on the first
    // one or a new one; "Амбалаж" shows it.
    std::unique_ptr<TfrmAmbalaj> OpenPackaging();
    void PackagingClick();

    // Stores the sale and gathers what its invoice starts with; nothing
    // when a check refused the store (and has said why).
    std::optional<documents::SaleInvoice> startInvoiceFromSale();
    // "Фактура": the invoice is started with the gathered values, then the
    // sale window closes.
    void InvoiceClick();
    // Where a started invoice goes; see SetSaleInvoiceHandler.
    std::function<void(const documents::SaleInvoice &)> invoiceFromSale;

private:
    DBDateEdit *m_date;
    DBEdit *m_note;
    QPushButton *m_packaging;
    QPushButton *m_print;
    QAction *m_receipt;
    QAction *m_invoice;
};
