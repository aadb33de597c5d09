#pragma once

#include "documents/TfrmStockDocument.h"

// The scrap document editor ("Бракуване"): goods written off at a unit value
// typed by hand; each stored line lowers the stock at once.
class TfrmBrak : public TfrmStockDocument
{
    Q_OBJECT

public:
    explicit TfrmBrak(QWidget *owner = nullptr);

    DBDateEdit *edtDate() const { return m_date; }
    DBEdit *edtNote() const { return m_note; }

private:
    DBDateEdit *m_date;
    DBEdit *m_note;
};
