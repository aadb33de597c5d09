#pragma once

#include "invoicing/InvoiceData.h"

#include <QWidget>

#include <vector>

class DBDateEdit;
class DBEdit;
class QComboBox;
class QRadioButton;

namespace invoicing {

class InvoiceRow;

// Who drew up and who received the invoice, and how it is paid.
class InvoicePeoplePage : public QWidget
{
    Q_OBJECT

public:
    InvoicePeoplePage(InvoiceRow &row, QWidget *parent);

    // The creators, settlements and own accounts offered.
    void openLists();
    void showRowTexts();
    void syncTextsToRow();
    bool bankPayment() const;

    void mvrLeft();
    void creatorLeft();
    void choosePayment(bool bank);
    void chooseAccount(int index);

    QComboBox *creator = nullptr;
    DBEdit *receiver = nullptr;
    DBDateEdit *sellDate = nullptr;
    DBEdit *laNumber = nullptr;
    DBDateEdit *laDate = nullptr;
    DBEdit *lkno = nullptr;
    QComboBox *mvr = nullptr;
    DBDateEdit *published = nullptr;
    QRadioButton *cash = nullptr;
    QRadioButton *bank = nullptr;
    QComboBox *iban = nullptr;
    DBEdit *bankName = nullptr;
    DBEdit *bic = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillCreators();
    void setPaymentColumns(const std::optional<OwnAccount> &account);

    InvoiceRow &m_row;
    std::vector<OwnAccount> m_accounts;
};

} // namespace invoicing
