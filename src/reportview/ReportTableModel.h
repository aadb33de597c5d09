#pragma once

#include "reportdata/ReportTable.h"

#include <QAbstractTableModel>

// A report's table for a view: its rows, then the totals line in bold.
class ReportTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ReportTableModel(reportdata::ReportTable table, QObject *parent = nullptr);

    const reportdata::ReportTable &table() const { return m_table; }
    bool isTotalsRow(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    reportdata::ReportTable m_table;
};
