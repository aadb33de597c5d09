#pragma once

#include "ui/TfrmBaseGridForm.h"

// A ready-made modal list for any dataset, edited in the grid itself.
class TfrmList : public TfrmBaseGridForm
{
    Q_OBJECT

public:
    explicit TfrmList(QWidget *owner = nullptr);

    void setDataset(db::Dataset &dataset, std::vector<GridColumn> columns);
};
