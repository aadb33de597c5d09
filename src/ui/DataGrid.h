#pragma once

#include "ui/GridColumn.h"

#include <QTableView>

#include <vector>

namespace db {
class Dataset;
}
class DatasetModel;

// A grid over a dataset: its rows, the designed columns, the current row
// kept in step with the dataset's both ways, and a column set that can be
// written out and read back (which columns show, in what order, how wide).
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);

    void bind(db::Dataset &dataset, std::vector<GridColumn> columns);
    db::Dataset *dataset() const;
    DatasetModel *datasetModel() const { return m_model; }
    void setEditable(bool editable);

    // The layout version: stored layouts of another version are ignored.
    int tag = 0;

    QByteArray writeColumnSet() const;
    // False, changing nothing, when the bytes are not a column set of this
    // grid's designed columns.
    bool readColumnSet(const QByteArray &bytes);
    // Visible columns in display order, with their current widths.
    std::vector<GridColumn> visibleColumns() const;
    void setColumnShown(int column, bool shown);

private:
    void followDataset();

    DatasetModel *m_model = nullptr;
    bool m_syncing = false;
};
