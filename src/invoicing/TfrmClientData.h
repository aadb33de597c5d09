#pragma once

#include "ui/TfrmYesNo.h"

class QComboBox;
class QLineEdit;
class QTabWidget;
class TBaseDM;
class TSettings;

// The company's own details, read-only from the workstation's settings,
// and the invoicing options kept in the database: the form size, the
// copies and the default VAT rate. Each option is written as soon as it
// passes its check, so a later refusal keeps what was already written.
class TfrmClientData : public TfrmYesNo
{
    Q_OBJECT

public:
    enum Page { UserInfoPage = 0, OptionsPage = 1 };

    TfrmClientData(TBaseDM &data, TSettings &settings, QWidget *owner = nullptr);

    // Opens the dialog on one page, titled after it, and waits for it.
    static void Open(TBaseDM &data, Page page, QWidget *owner = nullptr);

    void showPage(Page page);
    // The checks and writes of OK, in their order; the dialog closes when
    // all pass.
    void btnOKClick();

    QTabWidget *pages() const { return m_pages; }
    QLineEdit *edtCompany() const { return m_company; }
    QLineEdit *edtCity() const { return m_city; }
    QLineEdit *edtAddress() const { return m_address; }
    QLineEdit *edtSite() const { return m_site; }
    QLineEdit *edtVatNumber() const { return m_vatNumber; }
    QLineEdit *edtBulstat() const { return m_bulstat; }
    QComboBox *cbDocSize() const { return m_docSize; }
    QComboBox *cbCopies() const { return m_copies; }
    QLineEdit *edtVat() const { return m_vat; }

private:
    void readValues(TSettings &settings);
    // Shows a refusal on the options page with the focus on its control.
    void refuse(const QString &message, QWidget *control);

    TBaseDM &m_data;
    QTabWidget *m_pages;
    QLineEdit *m_company;
    QLineEdit *m_city;
    QLineEdit *m_address;
    QLineEdit *m_site;
    QLineEdit *m_vatNumber;
    QLineEdit *m_bulstat;
    QComboBox *m_docSize;
    QComboBox *m_copies;
    QLineEdit *m_vat;
};
