#pragma once

#include "ui/TfrmYesNo.h"

namespace documents {
class DocumentModel;
}
class StockLineArea;

// The packaging a buyer brings back on a sale ("Амбалаж"): the sale's
// packaging lines, stored one by one as they are saved here, even before
// the sale itself is. "Затвори" stores a pending line as it is; a new line
// without goods that nothing was typed into is dropped.
class TfrmAmbalaj : public TfrmYesNo
{
    Q_OBJECT

public:
    TfrmAmbalaj(documents::DocumentModel &sale, QWidget *owner = nullptr);

    StockLineArea *lineArea() const { return m_area; }
    QPushButton *btnClose() const { return btnOK(); }

    // Goes to the first packaging line and edits it, or starts a new one
    // when the sale has none.
    void StartEditing();

public Q_SLOTS:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void followState();

    documents::DocumentModel &m_sale;
    StockLineArea *m_area;
};
