#pragma once

#include "mainwindow/TBaseMainForm.h"

#include <QDate>

#include <memory>

class DataGrid;
class DateField;
class QLabel;
class QTabBar;
class TfrmList;
class TfrmStockDocument;
namespace db {
class Dataset;
}

// The main window: the journal of stock documents of a period, by type,
// and the way to every other window.
class TfrmMain : public TBaseMainForm
{
    Q_OBJECT

public:
    TfrmMain(Tdm &data, QWidget *owner = nullptr);
    ~TfrmMain() override;

    db::Dataset &qJournal() const { return *m_journal; }
    DataGrid *grid() const { return m_grid; }
    QTabBar *tabs() const { return m_tabs; }
    DateField *edtFrom() const { return m_from; }
    DateField *edtTo() const { return m_to; }
    QLabel *heading() const { return m_heading; }
    QLabel *statusLine() const { return m_status; }

    QAction *actnReports;
    QAction *actnNewDelivery;
    QAction *actnNewProduction;
    QAction *actnNewSale;
    QAction *actnNewScrap;
    QAction *actnNewCount;
    QAction *actnEditDoc;
    QAction *actnPayments;
    QAction *actnCounterparties;
    QAction *actnGoods;
    QAction *actnUnits;
    QAction *actnCategories;
    QAction *actnSettlements;
    QAction *actnRefresh;
    QAction *actnNewInvoice;
    QAction *actnInvoices;
    QAction *actnCompanyData;
    QAction *actnSettings;
    QAction *actnWebPage;
    QAction *actnToday;
    QAction *actnYesterday;
    QAction *actnThisWeek;
    QAction *actnThisMonth;

    // Today as the window sees it; tests fix it.
    std::function<QDate()> today;

    void TabChanged(int index);
    // "Обнови": checks the dates, sets the heading, reopens keeping the document.
    void RefreshJournal();
    void setPeriod(const QDate &from, const QDate &to);
    // The own company's identity from the settings into counterparty 1; a
    // value longer than its column is refused (varnex::Error) naming it.
    void UpdateOwnCompany();
    // A new document of the type, after moving the journal to its last row.
    void NewDocument(int type);
    // "Редакция": the current document in the editor of its type.
    void EditDocument();

protected:
    void showEvent(QShowEvent *event) override;
    void DatabaseRestored() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString periodText() const;
    // The period of the filter bar; an empty field gives an invalid date.
    QDate periodFrom() const;
    QDate periodTo() const;
    void bindPeriod(int tab);
    void updateStatus();
    // A catalogue window of the main window's own, run modally while the
    // main window waits hidden.
    template<class T>
    void showCatalogue()
    {
        runHidden(CreateChildForm<T>());
    }
    void runHidden(TfrmBaseForm *window);
    // A shared look-up list in the ready-made list window, titled with the
    // action's caption, its layout kept in the given section.
    void showLookupList(const QAction &action, const QString &section, void (*showList)(TfrmList &));
    void showAbout();
    // Shows a document editor modally, then reads the journal again on the
    // document it was on, or on the new document the editor stored.
    void runEditor(TfrmStockDocument &editor);
    // The stock count's own window: a new count for 0.
    void runCount(int countId);
    void followJournalRows();

    std::unique_ptr<db::Dataset> m_journal;
    bool m_ownCompanyTold = false;
    DataGrid *m_grid;
    QTabBar *m_tabs;
    DateField *m_from;
    DateField *m_to;
    QLabel *m_heading;
    QLabel *m_status;
};
