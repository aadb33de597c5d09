#pragma once

#include "invoicing/InvoiceData.h"
#include "invoicing/InvoiceRules.h"

#include <QStringList>
#include <QWidget>

#include <memory>

class DataGrid;
class QAbstractItemModel;
class QModelIndex;
class QLabel;
class QToolButton;
namespace db {
class Dataset;
}

namespace invoicing {

class InvoiceRow;

// The free-text lines of an invoice. They are stored as they are posted,
// under the document's id, before the header is.
class InvoiceLinesPanel : public QWidget
{
    Q_OBJECT

public:
    explicit InvoiceLinesPanel(QWidget *parent);
    ~InvoiceLinesPanel() override;

    // Reads the lines of `documentId` and the pick lists; the row numbers
    // start again from 1.
    void open(int documentId);
    void append(const std::vector<InvoicePrefill::Line> &lines);
    // Stores the line in editing; a new one where nothing was typed is
    // dropped. False when it was refused: the line stays as typed.
    bool postPending();
    std::vector<InvoiceLine> lines() const;

    db::Dataset &dataset() const { return *m_rows; }
    DataGrid *grid = nullptr;
    QToolButton *addLine = nullptr;
    QToolButton *deleteLine = nullptr;

Q_SIGNALS:
    // A line was stored or deleted, or the lines were read.
    void linesChanged();
    // Whether there are lines and none is being edited changed.
    void stateChanged();

private:
    QVariantHash lineValues(int row) const;
    void deleteCurrentLine();
    void updateButtons();
    // A code typed or scanned as a line's text puts the goods item it finds
    // into the line (name, unit, one piece when no quantity); false when
    // the text is the line's own words.
    bool takeScanned(const QString &typed, QAbstractItemModel &model, const QModelIndex &index);

    std::unique_ptr<db::Dataset> m_rows;
    QStringList m_lineTexts;
    QStringList m_units;
    int m_documentId = 0;
    int m_lineSequence = 1;
};

// Under the lines: the tax base, the VAT and the total, all three as the
// printed invoice shows them.
class InvoiceTotalsFooter : public QWidget
{
    Q_OBJECT

public:
    explicit InvoiceTotalsFooter(QWidget *parent);
    void showTotals(const InvoiceTotals &totals, const QString &rateText, const DocumentCurrency &currency);

    QLabel *vatCaption = nullptr;
    QLabel *sum = nullptr;
    QLabel *vat = nullptr;
    QLabel *total = nullptr;
};

} // namespace invoicing
