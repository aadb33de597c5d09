#pragma once

#include <QPalette>

#include "invoicing/InvoiceRules.h"
#include "ui/TIBGridForm.h"

#include <QDate>

#include <functional>
#include <memory>

class DateField;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QToolButton;
class TfrmInvoice;

// The invoices and notifications, by status and period, with search; the
// invoice editor opens on the list's own row. One list exists at a time.
class TfrmInvoices : public TIBGridForm
{
    Q_OBJECT

public:
    explicit TfrmInvoices(QWidget *owner = nullptr);
    ~TfrmInvoices() override;

    // Shows the one list (made when there is none) without blocking its
    // owner and runs the show command on the board ("INVOICES::SHOWCMD";
    // "NEW" starts a new document, prefilled from "INVOICES::CLIENT_ID" and
    // "INVOICES::LINES" when those were put).
    static TfrmInvoices *Open(QWidget *owner);
    static TfrmInvoices *instance();
    // How a row of a status (IS_WAITING) is painted on `base`: waiting in
    // blue, cancelled in red, readable also when selected.
    static QPalette statusPalette(const QPalette &base, int status);

    // How the editor is run; modal unless a caller wants otherwise.
    std::function<int(TfrmInvoice &editor)> runEditor;
    std::function<QDate()> today;

    db::Dataset &qMain() const { return *m_qMain; }
    QTabBar *statusTabs() const { return m_tabs; }
    DateField *edtFrom() const { return m_from; }
    DateField *edtTo() const { return m_to; }
    QComboBox *cbClient() const { return m_client; }
    QComboBox *cbIdNumber() const { return m_idNumber; }
    QPushButton *btnToday() const { return m_periodButtons[0]; }
    QPushButton *btnYesterday() const { return m_periodButtons[1]; }
    QPushButton *btnThisWeek() const { return m_periodButtons[2]; }
    QPushButton *btnThisMonth() const { return m_periodButtons[3]; }
    QWidget *searchBar() const { return m_searchBar; }
    QComboBox *cbSearchField() const { return m_searchField; }
    QLineEdit *edtSearchValue() const { return m_searchValue; }
    QAction *actnFind = nullptr;
    QAction *actnFindNext = nullptr;
    QAction *actnShowSearch = nullptr;
    QLabel *statusLine() const { return m_status; }

    void RefreshList() override;
    void RemoveFilter() override;
    // An issued document is never deleted: the user is offered to cancel
    // it instead. A waiting one only while nothing follows it.
    bool DeleteVeto() override;
    void BeforeDelete() override;
    void LoadLayout() override;
    void UpdateActions() override;
    void BuildToolbar() override;

    void choosePeriod(invoicing::Period period);
    void Find(bool next);

protected:
    void NewExecute() override;
    void EditExecute() override;
    void FilterExecute() override;

private:
    void buildFilterBar();
    void buildSearchBar();
    void buildBottom();
    void runInvoiceEditor(const QString &title, const invoicing::InvoicePrefill &prefill);
    void fillFilterLists();
    void updateStatus();
    void resetNext();

    std::unique_ptr<db::Dataset> m_qMain;
    QTabBar *m_tabs = nullptr;
    DateField *m_from = nullptr;
    DateField *m_to = nullptr;
    QComboBox *m_client = nullptr;
    QComboBox *m_idNumber = nullptr;
    QPushButton *m_periodButtons[4] = {};
    QWidget *m_searchBar = nullptr;
    QComboBox *m_searchField = nullptr;
    QLineEdit *m_searchValue = nullptr;
    QLabel *m_status = nullptr;
    QToolButton *m_btnShowSearch = nullptr;
    bool m_found = false;
};
