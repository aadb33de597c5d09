#include "ui/DataGrid.h"

#include "db/Dataset.h"
#include "ui/DatasetModel.h"
#include "ui/ErrorGuard.h"

#include <QHeaderView>

#include <set>

namespace {
const QByteArray kColumnSetMagic("VXCOLS1\n");
}

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    setAlternatingRowColors(true);
}

void DataGrid::bind(db::Dataset &dataset, std::vector<GridColumn> columns)
{
    delete m_model;
    m_model = new DatasetModel(dataset, std::move(columns), this);
    setModel(m_model);
    for (int column = 0; column < int(m_model->columns().size()); ++column) {
        const GridColumn &designed = m_model->columns()[size_t(column)];
        setColumnWidth(column, designed.width);
        setColumnHidden(column, !designed.visible);
    }
    connect(&dataset, &db::Dataset::currentChanged, this, &DataGrid::followDataset);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataGrid::followDataset);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (m_syncing || !current.isValid() || !this->dataset())
            return;
        db::Dataset &rows = *this->dataset();
        if (current.row() != rows.recNo())
            runGuarded(window(), [&] { rows.moveTo(current.row()); });
        followDataset();
    });
    followDataset();
}

db::Dataset *DataGrid::dataset() const
{
    return m_model ? &m_model->dataset() : nullptr;
}

void DataGrid::setEditable(bool editable)
{
    if (m_model)
        m_model->setEditable(editable);
    setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                   | QAbstractItemView::AnyKeyPressed
                             : QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(editable ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
}

void DataGrid::followDataset()
{
    const db::Dataset *rows = dataset();
    if (!rows || m_syncing)
        return;
    m_syncing = true;
    const int row = rows->recNo();
    if (row < 0) {
        selectionModel()->clear();
    } else if (currentIndex().row() != row) {
        // After a reset the view lays its rows out later; scrolling to the
        // row before that would be clamped to the old, shorter scroll range
        // and leave the current row out of sight.
        executeDelayedItemsLayout();
        const int column = currentIndex().isValid() ? currentIndex().column() : horizontalHeader()->logicalIndex(0);
        setCurrentIndex(m_model->index(row, qMax(0, column)));
    }
    m_syncing = false;
}

QByteArray DataGrid::writeColumnSet() const
{
    QByteArray bytes = kColumnSetMagic;
    const QHeaderView *header = horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        const GridColumn &designed = m_model->columns()[size_t(logical)];
        bytes += designed.field.toUtf8() + '\t' + designed.title.toUtf8() + '\t'
                 + QByteArray::number(header->sectionSize(logical)) + '\t' + (isColumnHidden(logical) ? "0" : "1")
                 + '\n';
    }
    return bytes;
}

bool DataGrid::readColumnSet(const QByteArray &bytes)
{
    if (!m_model || !bytes.startsWith(kColumnSetMagic))
        return false;
    const QList<QByteArray> lines = bytes.mid(kColumnSetMagic.size()).split('\n');
    struct Stored
    {
        int logical;
        int width;
        bool visible;
    };
    std::vector<Stored> stored;
    std::set<int> seen;
    const std::vector<GridColumn> &designed = m_model->columns();
    for (const QByteArray &line : lines) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> parts = line.split('\t');
        if (parts.size() != 4)
            return false;
        const QString field = QString::fromUtf8(parts[0]);
        int logical = -1;
        for (size_t i = 0; i < designed.size(); ++i) {
            if (designed[i].field.compare(field, Qt::CaseInsensitive) == 0)
                logical = int(i);
        }
        bool ok = false;
        const int width = parts[2].toInt(&ok);
        if (logical < 0 || !ok || width < 0 || !seen.insert(logical).second)
            return false;
        stored.push_back({logical, width, parts[3] == "1"});
    }
    if (stored.size() != designed.size())
        return false;
    QHeaderView *header = horizontalHeader();
    for (int visual = 0; visual < int(stored.size()); ++visual) {
        const Stored &column = stored[size_t(visual)];
        header->moveSection(header->visualIndex(column.logical), visual);
        setColumnWidth(column.logical, column.width);
        setColumnHidden(column.logical, !column.visible);
    }
    return true;
}

std::vector<GridColumn> DataGrid::visibleColumns() const
{
    std::vector<GridColumn> columns;
    const QHeaderView *header = horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (isColumnHidden(logical))
            continue;
        GridColumn column = m_model->columns()[size_t(logical)];
        column.width = header->sectionSize(logical);
        columns.push_back(column);
    }
    return columns;
}

void DataGrid::setColumnShown(int column, bool shown)
{
    setColumnHidden(column, !shown);
    if (shown && columnWidth(column) == 0)
        setColumnWidth(column, m_model->columns()[size_t(column)].width);
}
