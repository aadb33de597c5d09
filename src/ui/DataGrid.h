#pragma once

#include "ui/GridColumn.h"

#include <QTableView>

#include <functional>
#include <vector>

namespace db {
class Dataset;
}
class DatasetModel;

// A grid over a dataset: its rows, the designed columns, the current row
// kept in step with the dataset's both ways, and a column set that can be
// written out and read back (which columns show, in what order, how wide).
// An editable grid's cell editors take no more characters than their column.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    void bind(db::Dataset &dataset, std::vector<GridColumn> columns);
    db::Dataset *dataset() const;
    DatasetModel *datasetModel() const { return m_model; }
    void setEditable(bool editable);

    // Writes the text of a cell editor still open into the row, so a
    // command that does not take the focus (a shortcut, a tool button)
    // sees what the user typed.
    void commitOpenEditor();
    // Stores the row in editing when the user leaves the grid; a new row
    // nobody typed into is dropped, and a row the database refuses is told
    // and keeps the focus in the grid.
    void setPostOnLeave(bool post) { m_postOnLeave = post; }
    // Stores the row in editing, telling the user and focusing the grid when
    // it is refused; false then.
    bool postPendingRow();

    // The layout version: stored layouts of another version are ignored.
    int tag = 0;

    QByteArray writeColumnSet() const;
    // False, changing nothing, when the bytes are not a column set of this
    // grid's designed columns.
    bool readColumnSet(const QByteArray &bytes);
    // Visible columns in display order, with their current widths.
    std::vector<GridColumn> visibleColumns() const;
    void setColumnShown(int column, bool shown);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void followDataset();
    // Whether the focus is in the grid or in one of its cell editors.
    bool holdsFocus() const;
    void focusMoved(QWidget *old, QWidget *now);
    // Runs a command that stores the row; a refusal is told and the focus
    // goes to the refused cell.
    bool runOnRow(const std::function<void()> &command);
    // Puts the focus on the current row's cell of a field (or just on the
    // grid) once the present focus change is over.
    void focusCellLater(const QString &field);

    DatasetModel *m_model = nullptr;
    bool m_syncing = false;
    bool m_postOnLeave = false;
};
