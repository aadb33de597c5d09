#pragma once

#include "documents/TfrmStockDocument.h"

// The production document editor ("Производство"): the materials consumed
// above, leaving stock at their unit value, and the products made below,
// entering it. Its date is that of entry: entering the date field sets it
// to the current moment.
class TfrmProizvodstvo : public TfrmStockDocument
{
    Q_OBJECT

public:
    explicit TfrmProizvodstvo(QWidget *owner = nullptr);

    DBDateEdit *edtDate() const { return m_date; }
    DBEdit *edtNote() const { return m_note; }
    StockLineArea *materials() const { return lineArea(0); }
    StockLineArea *products() const { return lineArea(1); }

private:
    void enterDate();

    DBEdit *m_note;
    DBDateEdit *m_date;
};
