#pragma once

#include "payments/Outstanding.h"
#include "ui/GridColumn.h"
#include "ui/TfrmBaseForm.h"

#include <QDate>
#include <QHash>

#include <array>
#include <vector>
#include <functional>
#include <memory>

class DataGrid;
class QDateEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
struct GridPrintContent;

namespace db {
class Dataset;
}

// What is still outstanding on deliveries and sales, per counterparty: money
// not yet paid and goods not yet handed over, with the ageing of the money.
// The window changes nothing itself; a row opens the settle dialog.
class TfrmPlashtaniya : public TfrmBaseForm
{
    Q_OBJECT

public:
    enum Page { OwedMoney, DueMoney, OwedGoods, DueGoods, PageCount };

    explicit TfrmPlashtaniya(QWidget *owner = nullptr);
    ~TfrmPlashtaniya() override;

    QTabWidget *pages() const { return m_pages; }
    DataGrid *grid(int page) const { return m_page[page].grid; }
    db::Dataset &list(int page) const { return *m_page[page].list; }
    QRadioButton *rbAll(int page) const { return m_page[page].all; }
    QRadioButton *rbDueBy(int page) const { return m_page[page].dueBy; }
    QDateEdit *edtDueBy(int page) const { return m_page[page].date; }
    QDate toDate(int page) const { return m_page[page].toDate; }
    QPushButton *btnPrint() const { return m_print; }
    QPushButton *btnCsv() const { return m_csv; }
    QPushButton *btnClose() const { return m_close; }

    // Opens the settle dialog on the current row of the current page.
    void settleCurrent();
    // The current page's list as printed and exported.
    GridPrintContent currentContent() const;

    // Where the settle dialog is run and the CSV file is asked for; tests
    // replace them.
    std::function<void(int documentType, int counterpartyId, int goodsId, double outstanding, const QDate &toDate)>
        runSettle;
    std::function<QString()> askCsvPath;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct PageParts
    {
        int documentType = 0;
        bool money = false;
        QDate toDate;
        DataGrid *grid = nullptr;
        QRadioButton *all = nullptr;
        QRadioButton *dueBy = nullptr;
        QDateEdit *date = nullptr;
        std::unique_ptr<db::Dataset> list;
        QHash<int, std::array<double, payments::AgeingBucketCount>> ageing;
    };

    void buildPage(int page, const QString &caption, const std::vector<GridColumn> &columns);
    void allChosen(int page, bool open);
    void dueByClicked(int page);
    void dateChanged(int page);
    // Reads the list again on the row of the same counterparty.
    void reread(int page);
    void readAgeing(int page);
    void exportCsv();

    QTabWidget *m_pages;
    QPushButton *m_print;
    QPushButton *m_csv;
    QPushButton *m_close;
    std::array<PageParts, PageCount> m_page;
};

// The rows of a list as CSV: a header of the titles, fields separated by
// semicolons, quoted where they hold one, a quote or a line break.
QString csvText(const GridPrintContent &content);
