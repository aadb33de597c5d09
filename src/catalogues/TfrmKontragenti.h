#pragma once

#include "ui/TfrmBaseVXGrid.h"

#include <memory>
#include <vector>

class DataGrid;
class DBComboBox;
class DBEdit;
class DBMemo;
class DBNumberEdit;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QuickSearch;
class QTimer;
class QToolButton;

// The counterparties: clients and suppliers with their contacts and bank
// accounts. Row 1 is the company itself; its main details come from the
// company data and it cannot be deleted here.
class TfrmKontragenti : public TfrmBaseVXGrid
{
    Q_OBJECT

public:
    explicit TfrmKontragenti(QWidget *owner = nullptr);
    ~TfrmKontragenti() override;

    // One of the editable lists of the second page with its buttons.
    struct DetailList
    {
        db::Dataset *rows = nullptr;
        DataGrid *grid = nullptr;
        QToolButton *add = nullptr;
        QToolButton *remove = nullptr;
    };

    db::Dataset &qMain() const { return *m_qMain; }
    db::Dataset &qInfoAccounts() const { return *m_qInfoAccounts; }
    db::Dataset &qInfoContacts() const { return *m_qInfoContacts; }
    QWidget *infoArea() const { return m_infoArea; }
    DataGrid *infoAccountsGrid() const { return m_infoAccountsGrid; }
    DataGrid *infoContactsGrid() const { return m_infoContactsGrid; }
    QPlainTextEdit *infoNote() const { return m_infoNote; }
    QComboBox *kindFilter() const { return m_kindFilter; }
    QuickSearch *quickSearch() const { return m_quickSearch; }
    QTabWidget *pages() const { return m_pages; }
    DBComboBox *cbKind() const { return m_kind; }
    DBNumberEdit *edtCode() const { return m_code; }
    DBEdit *edtName() const { return m_name; }
    DBEdit *edtTaxNumber() const { return m_taxNumber; }
    DBEdit *edtBulstat() const { return m_bulstat; }
    DBEdit *edtMol() const { return m_mol; }
    QComboBox *cbCity() const { return m_city; }
    DBEdit *edtAddress() const { return m_address; }
    DBMemo *edtNote() const { return m_note; }
    const DetailList &contacts() const { return m_contacts; }
    const DetailList &accounts() const { return m_accounts; }
    const DetailList &vatAccounts() const { return m_vatAccounts; }

    bool ValidateRecord() override;
    bool DeleteVeto() override;
    void RefreshList() override;
    void RemoveFilter() override;
    void LoadLayout() override;

protected:
    void NewExecute() override;
    void EditExecute() override;
    void DeleteExecute() override;
    void FilterExecute() override;
    QWidget *firstEditor() const override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DetailList makeDetailList(QWidget *page, const QString &title, db::Dataset *rows, std::vector<GridColumn> columns,
                              const QString &addHint, const QString &removeHint);
    void buildInfoArea();
    void buildEditPanel();
    void buildFilterBar();
    void followCurrentRow();
    void enterEditing();
    void leaveEditing();
    void setCompanyFieldsEnabled(bool enabled);
    void updateDetailButtons();
    void proposeCode();
    void showCity();
    void cityLeft();
    void fillCities();
    void dropDetailsOfMissing(int counterpartyId);

    std::unique_ptr<db::Dataset> m_qMain;
    std::unique_ptr<db::Dataset> m_qInfoAccounts;
    std::unique_ptr<db::Dataset> m_qInfoContacts;
    std::unique_ptr<db::Dataset> m_qContacts;
    std::unique_ptr<db::Dataset> m_qAccounts;
    std::unique_ptr<db::Dataset> m_qVatAccounts;
    QWidget *m_infoArea = nullptr;
    DataGrid *m_infoAccountsGrid = nullptr;
    DataGrid *m_infoContactsGrid = nullptr;
    QPlainTextEdit *m_infoNote = nullptr;
    QComboBox *m_kindFilter = nullptr;
    QuickSearch *m_quickSearch = nullptr;
    QTabWidget *m_pages = nullptr;
    DBComboBox *m_kind = nullptr;
    DBNumberEdit *m_code = nullptr;
    DBEdit *m_name = nullptr;
    DBEdit *m_taxNumber = nullptr;
    DBEdit *m_bulstat = nullptr;
    DBEdit *m_mol = nullptr;
    QComboBox *m_city = nullptr;
    DBEdit *m_address = nullptr;
    DBMemo *m_note = nullptr;
    DetailList m_contacts;
    DetailList m_accounts;
    DetailList m_vatAccounts;
    int m_currentId = 0;
    bool m_editing = false;
    bool m_askingCity = false;
};
