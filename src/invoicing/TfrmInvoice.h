#pragma once

#include "invoicing/InvoiceData.h"
#include "invoicing/InvoiceRules.h"
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

// The invoice editor: one invoice or notification on the list's own row,
// which the list has put into insert or edit mode. Lines are stored as they
// are posted; the header when it is saved or printed.
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
    double rate() const { return m_rate; }
    const invoicing::InvoiceTotals &totals() const { return m_totals; }
    // Whether the window could prepare the document (the default rate set).
    bool prepared() const { return m_prepared; }

    db::Dataset &invoice() const { return m_invoice; }
    db::Dataset &qLines() const { return *m_qLines; }
    QTabWidget *pages() const { return m_pages; }
    QLineEdit *edtNumber() const { return m_number; }
    DBDateEdit *edtDate() const { return m_date; }
    QComboBox *cbPlace() const { return m_place; }
    DBComboBox *cbStatus() const { return m_status; }
    DBCheckBox *chkNotification() const { return m_notification; }
    DBComboBox *cbNotifType() const { return m_notifType; }
    DBEdit *edtRefNumber() const { return m_refNumber; }
    DBDateEdit *edtRefDate() const { return m_refDate; }
    QComboBox *cbClient() const { return m_client; }
    DBEdit *edtDannum() const { return m_dannum; }
    DBEdit *edtBulstat() const { return m_bulstat; }
    QComboBox *cbCity() const { return m_city; }
    DBEdit *edtAddress() const { return m_address; }
    DBEdit *edtMol() const { return m_mol; }
    DataGrid *linesGrid() const { return m_lines; }
    QToolButton *btnAddLine() const { return m_addLine; }
    QToolButton *btnDeleteLine() const { return m_deleteLine; }
    QLabel *lblVatCaption() const { return m_vatCaption; }
    QLabel *lblSum() const { return m_sum; }
    QLabel *lblVat() const { return m_vat; }
    QLabel *lblTotal() const { return m_total; }
    QComboBox *cbCreator() const { return m_creator; }
    DBEdit *edtReceiver() const { return m_receiver; }
    DBDateEdit *edtSellDate() const { return m_sellDate; }
    DBEdit *edtLaNumber() const { return m_laNumber; }
    DBDateEdit *edtLaDate() const { return m_laDate; }
    DBEdit *edtLkno() const { return m_lkno; }
    QComboBox *cbMvr() const { return m_mvr; }
    DBDateEdit *edtPublished() const { return m_published; }
    QRadioButton *rbCash() const { return m_cash; }
    QRadioButton *rbBank() const { return m_bank; }
    QComboBox *cbIban() const { return m_iban; }
    DBEdit *edtBank() const { return m_bankName; }
    DBEdit *edtBic() const { return m_bic; }
    QLineEdit *edtRate() const { return m_rateBox; }
    DBCheckBox *chkNonchargeVat() const { return m_noncharge; }
    DBCheckBox *chkRequestedVat() const { return m_requested; }
    DBEdit *edtRvDetails() const { return m_rvDetails; }
    DBCheckBox *chkNewVehicle() const { return m_newVehicle; }
    DBEdit *edtNvDetails() const { return m_nvDetails; }
    DBEdit *edtDistEik() const { return m_distEik; }
    DBEdit *edtDistVat() const { return m_distVat; }
    DBNumberEdit *edtDistValue() const { return m_distValue; }
    QPushButton *btnPrint() const { return m_print; }
    QCheckBox *chkCopy() const { return m_copy; }

    // What leaving each box does, for the focus handling and the tests.
    void numberLeft();
    void placeLeft(QComboBox *box);
    void mvrLeft();
    void creatorLeft();
    bool rateLeft();
    void refNumberLeft();
    void chooseClient(int index);
    void choosePayment(bool bank);
    void chooseAccount(int index);
    void recomputeTotals();

public Q_SLOTS:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildHeader();
    void buildLines();
    void buildPages();
    void prepare();
    void prepareNew(const invoicing::InvoicingOptions &options);
    void prepareExisting(const invoicing::InvoicingOptions &options);
    void openLists();
    void fillCities();
    void fillCreators();
    void fillClients();
    void fillAccounts();
    void showRowTexts();
    void syncTextsToRow();
    void followNotification();
    void followSpecialCases();
    void tintStatus();
    void updateLineButtons();
    // Stores the line in editing; a new one where nothing was typed is
    // dropped. False when it was refused: the line stays as typed.
    bool postPendingLine();
    QVariantHash lineValues(int row) const;
    void takeRate();
    void applyPrefill();
    bool refuse(const invoicing::InvoiceRefusal &refusal);
    bool numberAccepted();
    void setRowValues();
    void setRowValue(const QString &field, const QVariant &value);
    std::vector<invoicing::InvoiceLine> currentLines() const;
    QComboBox *textCombo(QWidget *parent, const char *objectName, const char *field);

    db::Dataset &m_invoice;
    std::unique_ptr<db::Dataset> m_qLines;
    std::unique_ptr<db::Dataset> m_qClients;
    std::vector<invoicing::OwnAccount> m_accounts;
    QStringList m_lineTexts;
    QStringList m_units;
    invoicing::InvoicePrefill m_prefill;
    invoicing::InvoiceTotals m_totals;
    QString m_defaultVat;
    // The rate the totals are computed with and its text for the caption.
    double m_rate = 0;
    QString m_rateText;
    int m_documentId = 0;
    int m_lineSequence = 1;
    bool m_prepared = false;
    bool m_shown = false;
    bool m_newDocument = false;
    bool m_askingCity = false;
    QVariant m_storedNumber;

    QTabWidget *m_pages = nullptr;
    QLineEdit *m_number = nullptr;
    DBDateEdit *m_date = nullptr;
    QComboBox *m_place = nullptr;
    DBComboBox *m_status = nullptr;
    DBCheckBox *m_notification = nullptr;
    DBComboBox *m_notifType = nullptr;
    DBEdit *m_refNumber = nullptr;
    DBDateEdit *m_refDate = nullptr;
    QComboBox *m_client = nullptr;
    DBEdit *m_dannum = nullptr;
    DBEdit *m_bulstat = nullptr;
    QComboBox *m_city = nullptr;
    DBEdit *m_address = nullptr;
    DBEdit *m_mol = nullptr;
    DataGrid *m_lines = nullptr;
    QToolButton *m_addLine = nullptr;
    QToolButton *m_deleteLine = nullptr;
    QLabel *m_vatCaption = nullptr;
    QLabel *m_sum = nullptr;
    QLabel *m_vat = nullptr;
    QLabel *m_total = nullptr;
    QComboBox *m_creator = nullptr;
    DBEdit *m_receiver = nullptr;
    DBDateEdit *m_sellDate = nullptr;
    DBEdit *m_laNumber = nullptr;
    DBDateEdit *m_laDate = nullptr;
    DBEdit *m_lkno = nullptr;
    QComboBox *m_mvr = nullptr;
    DBDateEdit *m_published = nullptr;
    QRadioButton *m_cash = nullptr;
    QRadioButton *m_bank = nullptr;
    QComboBox *m_iban = nullptr;
    DBEdit *m_bankName = nullptr;
    DBEdit *m_bic = nullptr;
    QLineEdit *m_rateBox = nullptr;
    DBCheckBox *m_noncharge = nullptr;
    DBCheckBox *m_requested = nullptr;
    DBEdit *m_rvDetails = nullptr;
    DBCheckBox *m_newVehicle = nullptr;
    DBEdit *m_nvDetails = nullptr;
    DBEdit *m_distEik = nullptr;
    DBEdit *m_distVat = nullptr;
    DBNumberEdit *m_distValue = nullptr;
    QPushButton *m_print = nullptr;
    QCheckBox *m_copy = nullptr;
};
