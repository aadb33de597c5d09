#pragma once

#include "ui/TfrmYesNo.h"

#include <QDate>
#include <QVariant>

#include <memory>

class DataGrid;
class QLabel;
class QLineEdit;

namespace db {
class Dataset;
}

// Records that a counterparty paid or was paid, or that goods were handed
// over: the user states one amount, which is spread over the counterparty's
// outstanding documents or lines, the oldest first. The proposal, all that
// is outstanding, is the most that may be stated.
class TfrmDoplashtane : public TfrmYesNo
{
    Q_OBJECT

public:
    explicit TfrmDoplashtane(QWidget *owner = nullptr);
    ~TfrmDoplashtane() override;

    // Both return whether the user confirmed an amount (written or not).
    bool settleMoney(int documentType, int counterpartyId, const QDate &toDate);
    bool settleGoods(int documentType, int counterpartyId, int goodsId, double outstanding, const QDate &toDate);

    QLabel *lblQuestion() const { return m_question; }
    DataGrid *grid() const { return m_grid; }
    QLineEdit *edtAmount() const { return m_amount; }
    db::Dataset &list() const { return *m_list; }
    double limit() const { return m_limit; }

public Q_SLOTS:
    void accept() override;

private:
    void openList(const QString &sql);
    void showAmount(double amount);
    double typedAmount() const;
    QVariantList rowValues(int row) const;

    QLabel *m_question;
    DataGrid *m_grid;
    QLineEdit *m_amount;
    std::unique_ptr<db::Dataset> m_list;
    double m_limit = 0;
    double m_typed = 0;
    bool m_goods = false;
};
