#include "reportview/ReportTableModel.h"

#include <QFont>

ReportTableModel::ReportTableModel(reportdata::ReportTable table, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(std::move(table))
{
}

bool ReportTableModel::isTotalsRow(int row) const
{
    return !m_table.totals.isEmpty() && row == int(m_table.rows.size());
}

int ReportTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_table.rows.size()) + (m_table.totals.isEmpty() ? 0 : 1);
}

int ReportTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_table.columns.size());
}

QVariant ReportTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const reportdata::ReportColumn &column = m_table.columns.at(size_t(index.column()));
    switch (role) {
    case Qt::DisplayRole: {
        const QVariantList &values = isTotalsRow(index.row()) ? m_table.totals : m_table.rows.at(size_t(index.row()));
        return reportdata::displayText(column, values.value(index.column()));
    }
    case Qt::TextAlignmentRole:
        return int((column.alignRight() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    case Qt::FontRole:
        if (isTotalsRow(index.row())) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_table.columns.size()))
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_table.columns.at(size_t(section)).title;
    if (role == Qt::TextAlignmentRole)
        return int((m_table.columns.at(size_t(section)).alignRight() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return QVariant();
}
