#pragma once

#include "documents/TfrmTradeDocument.h"

class QPushButton;

// The delivery editor ("Доставка"): goods received from a supplier, each
// stored line adding what was received to the stock; the stock receipt
// ("Разписка") stores the delivery, prints and closes.
class TfrmDostavki : public TfrmTradeDocument
{
    Q_OBJECT

public:
    explicit TfrmDostavki(QWidget *owner = nullptr);

    DBDateEdit *edtDate() const { return m_date; }
    DBDateEdit *edtDueDate() const { return m_dueDate; }
    DBEdit *edtNote() const { return m_note; }
    QPushButton *btnReceipt() const { return m_receipt; }

private:
    void followLines();

    DBDateEdit *m_date;
    DBDateEdit *m_dueDate;
    DBEdit *m_note;
    QPushButton *m_receipt;
};
