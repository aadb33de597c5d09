#pragma once

#include "invoicing/InvoiceData.h"
#include "invoicing/InvoiceHeaderPanel.h"
#include "invoicing/InvoiceLinesPanel.h"
#include "invoicing/InvoicePeoplePage.h"
#include "invoicing/InvoiceRules.h"
#include "invoicing/InvoiceTaxPages.h"
#include "ui/TfrmBaseDBEditForm.h"

#include <functional>
#include <memory>

class DataGrid;
class DBCheckBox;
class DBComboBox;
class DBDateEdit;
class DBEdit;
class DBNumberEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QToolButton;
class TdmInvoice;
namespace db {
class Dataset;
}
namespace invoicing {
class InvoiceRow;
}

// The invoice editor: one invoice or notification on the list's own row,
// which the list has put into insert or edit mode. Lines are stored as they
// are posted; the header when it is saved or printed. The panels show and
// edit the parts of the row; this window prepares, checks, stores and
// prints the document as a whole.
class TfrmInvoice : public TfrmBaseDBEditForm
{
    Q_OBJECT

public:
    explicit TfrmInvoice(db::Dataset &invoice, QWidget *owner = nullptr);
    ~TfrmInvoice() override;

    // A new invoice's buyer and lines, taken in when the window is shown.
    void setPrefill(const invoicing::InvoicePrefill &prefill) { m_prefill = prefill; }

    // How a print is made once the board values are put; the printing
    // module's preview unless a caller wants otherwise.
    std::function<void(TdmInvoice &module, int invoiceId)> printer;
    std::function<QDate()> today;

    bool ValidateRecord() override;
    bool PostDetails() override;
    // "Печат": the line limits, the checks, the row stored, the recently
    // used values, the board values, the print; editing goes on after.
    void PrintClick();

    int documentId() const { return m_documentId; }
    double rate() const;
    const invoicing::InvoiceTotals &totals() const { return m_totals; }
    // Whether the window could prepare the document (the default rate set).
    bool prepared() const;

    db::Dataset &invoice() const { return m_invoice; }
    db::Dataset &qLines() const;
    QTabWidget *pages() const { return m_pages; }
    QLineEdit *edtNumber() const { return m_header->number; }
    DBDateEdit *edtDate() const { return m_header->date; }
    QComboBox *cbPlace() const { return m_header->place; }
    DBComboBox *cbStatus() const { return m_header->status; }
    DBCheckBox *chkNotification() const { return m_header->notification; }
    DBComboBox *cbNotifType() const { return m_header->notifType; }
    DBEdit *edtRefNumber() const { return m_header->refNumber; }
    DBDateEdit *edtRefDate() const { return m_header->refDate; }
    QComboBox *cbClient() const { return m_header->client; }
    DBEdit *edtDannum() const { return m_header->dannum; }
    DBEdit *edtBulstat() const { return m_header->bulstat; }
    QComboBox *cbCity() const { return m_header->city; }
    DBEdit *edtAddress() const { return m_header->address; }
    DBEdit *edtMol() const { return m_header->mol; }
    DataGrid *linesGrid() const { return m_lines->grid; }
    QToolButton *btnAddLine() const { return m_lines->addLine; }
    QToolButton *btnDeleteLine() const { return m_lines->deleteLine; }
    QLabel *lblVatCaption() const { return m_footer->vatCaption; }
    QLabel *lblSum() const { return m_footer->sum; }
    QLabel *lblVat() const { return m_footer->vat; }
    QLabel *lblTotal() const { return m_footer->total; }
    QComboBox *cbCreator() const { return m_people->creator; }
    DBEdit *edtReceiver() const { return m_people->receiver; }
    DBDateEdit *edtSellDate() const { return m_people->sellDate; }
    DBEdit *edtLaNumber() const { return m_people->laNumber; }
    DBDateEdit *edtLaDate() const { return m_people->laDate; }
    DBEdit *edtLkno() const { return m_people->lkno; }
    QComboBox *cbMvr() const { return m_people->mvr; }
    DBDateEdit *edtPublished() const { return m_people->published; }
    QRadioButton *rbCash() const { return m_people->cash; }
    QRadioButton *rbBank() const { return m_people->bank; }
    QComboBox *cbIban() const { return m_people->iban; }
    DBEdit *edtBank() const { return m_people->bankName; }
    DBEdit *edtBic() const { return m_people->bic; }
    QLineEdit *edtRate() const { return m_tax->rateBox; }
    DBCheckBox *chkNonchargeVat() const { return m_tax->noncharge; }
    DBCheckBox *chkRequestedVat() const { return m_tax->requested; }
    DBEdit *edtRvDetails() const { return m_tax->rvDetails; }
    DBCheckBox *chkNewVehicle() const { return m_tax->newVehicle; }
    DBEdit *edtNvDetails() const { return m_tax->nvDetails; }
    DBEdit *edtDistEik() const { return m_tax->distEik; }
    DBEdit *edtDistVat() const { return m_tax->distVat; }
    DBNumberEdit *edtDistValue() const { return m_tax->distValue; }
    QPushButton *btnPrint() const { return m_print; }
    QCheckBox *chkCopy() const { return m_copy; }

    // What leaving each box does, for the focus handling and the tests.
    void numberLeft() { m_header->numberLeft(); }
    void placeLeft(QComboBox *box) { m_header->placeLeft(box); }
    void mvrLeft() { m_people->mvrLeft(); }
    void creatorLeft() { m_people->creatorLeft(); }
    bool rateLeft() { return m_tax->rateLeft(); }
    void refNumberLeft() { m_header->refNumberLeft(); }
    void chooseClient(int index) { m_header->chooseClient(index); }
    void choosePayment(bool bank) { m_people->choosePayment(bank); }
    void chooseAccount(int index) { m_people->chooseAccount(index); }
    void recomputeTotals();

public Q_SLOTS:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void prepare();
    void prepareNew(const invoicing::InvoicingOptions &options);
    void prepareExisting(const invoicing::InvoicingOptions &options);
    void updatePrintButton();
    bool refuse(const invoicing::InvoiceRefusal &refusal);
    bool numberAccepted();
    // A document is cancelled only while no notification that stands
    // corrects it.
    bool cancellationAccepted();
    void setRowValues();

    db::Dataset &m_invoice;
    invoicing::InvoiceRow *m_row = nullptr;
    invoicing::InvoiceHeaderPanel *m_header = nullptr;
    invoicing::InvoiceLinesPanel *m_lines = nullptr;
    invoicing::InvoiceTotalsFooter *m_footer = nullptr;
    invoicing::InvoicePeoplePage *m_people = nullptr;
    invoicing::InvoiceTaxPages *m_tax = nullptr;
    QTabWidget *m_pages = nullptr;
    QPushButton *m_print = nullptr;
    QCheckBox *m_copy = nullptr;

    invoicing::InvoicePrefill m_prefill;
    invoicing::InvoiceTotals m_totals;
    QString m_defaultVat;
    int m_documentId = 0;
    bool m_shown = false;
    bool m_newDocument = false;
    QVariant m_storedNumber;
    int m_storedStatus = 0;
};
