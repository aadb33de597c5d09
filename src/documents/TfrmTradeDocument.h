#pragma once

#include "documents/TfrmStockDocument.h"

#include <functional>
#include <memory>

class DBLookupCombo;
class QToolButton;
namespace db {
class Dataset;
}

// What a delivery and a sale window share beyond every stock document: the
// counterparty chosen from the window's own list (never the company) or
// from the counterparty catalogue, the paid amount, and the stock receipt,
// printed from the stored document.
class TfrmTradeDocument : public TfrmStockDocument
{
    Q_OBJECT

public:
    TfrmTradeDocument(documents::DocumentKind kind, const QString &headerTitle, const QString &counterpartySql,
                      QWidget *owner = nullptr);
    ~TfrmTradeDocument() override;

    db::Dataset &counterparties() const { return *m_counterparties; }
    DBLookupCombo *cbCounterpartyCode() const { return m_counterpartyCode; }
    DBLookupCombo *cbCounterpartyName() const { return m_counterpartyName; }
    DBNumberEdit *edtPaid() const { return m_paidBox; }

    // Stores the document, puts its receipt's values on the parameter
    // board, prints it and closes the window.
    void PrintReceiptClick();
    // Opens the counterparty catalogue to choose the document's one.
    void ChooseCounterparty();

    // The catalogue's part: a counterparty id, or −1 when none was chosen.
    std::function<int()> chooseCounterpartyFromCatalogue;
    // The printing module's part, given the stored document's id.
    std::function<void(int documentId)> printReceipt;

protected:
    void addCounterpartyFields(const QString &label, const QString &hint, const QString &catalogueHint);
    void addPaid(const QString &label, const QString &hint);
    // The discount, quantity and taken fields of the goods lines, alike in
    // both windows.
    static void addDiscountQuantityAndTaken(StockLineArea &lines);
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    int catalogueChoice();

    std::unique_ptr<db::Dataset> m_counterparties;
    DBLookupCombo *m_counterpartyCode = nullptr;
    DBLookupCombo *m_counterpartyName = nullptr;
    DBNumberEdit *m_paidBox = nullptr;
};
