#pragma once

#include "ui/GridColumn.h"

#include <QAbstractTableModel>

#include <vector>

namespace db {
class Dataset;
}

// Shows a dataset's rows in a grid, one model column per designed column;
// the view decides which are visible and in what order. Editable models
// write through the dataset's edit buffer.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    DatasetModel(db::Dataset &dataset, std::vector<GridColumn> columns, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    void setEditable(bool editable) { m_editable = editable; }
    const std::vector<GridColumn> &columns() const { return m_columns; }
    db::Dataset &dataset() const { return m_dataset; }

private:
    int fieldOf(int column) const;

    // Rows a view scrolled to the end of a list read on demand asks for.
    static constexpr int kFetchStep = 500;

    db::Dataset &m_dataset;
    std::vector<GridColumn> m_columns;
    int m_rows; // as announced to the views
    bool m_fetchAsked = false;
    bool m_editable = false;
};
