#include "ui/DatasetModel.h"

#include "db/Dataset.h"
#include "ui/ErrorGuard.h"

DatasetModel::DatasetModel(db::Dataset &dataset, std::vector<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_dataset(dataset)
    , m_columns(std::move(columns))
    , m_rows(dataset.fetchedCount())
{
    // Rows come and go with the dataset; a reset keeps the model honest
    // whatever changed, and single rows are repainted in place. The model
    // shows the rows read so far, so a list read on demand shows at once.
    const auto resetAll = [this] {
        beginResetModel();
        m_rows = m_dataset.fetchedCount();
        endResetModel();
    };
    connect(&dataset, &db::Dataset::reset, this, resetAll);
    connect(&dataset, &db::Dataset::rowInserted, this, resetAll);
    connect(&dataset, &db::Dataset::rowRemoved, this, resetAll);
    connect(&dataset, &db::Dataset::rowsFetched, this, [this, resetAll](int first, int last) {
        if (first != m_rows) {
            resetAll();
            return;
        }
        beginInsertRows(QModelIndex(), first, last);
        m_rows = last + 1;
        endInsertRows();
    });
    connect(&dataset, &db::Dataset::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount())
            Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

bool DatasetModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_dataset.isOpen() && !m_dataset.fetchedAll();
}

void DatasetModel::fetchMore(const QModelIndex &parent)
{
    // Views ask while they lay out, even while a reset is being announced,
    // so the rows come a moment later, as those read in idle time do.
    if (!canFetchMore(parent) || m_fetchAsked)
        return;
    m_fetchAsked = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_fetchAsked = false;
            if (canFetchMore(QModelIndex()))
                runGuarded(nullptr, [this] { m_dataset.fetchMore(kFetchStep); });
        },
        Qt::QueuedConnection);
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

int DatasetModel::fieldOf(int column) const
{
    return m_dataset.fieldIndex(m_columns.at(size_t(column)).field);
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.row() >= m_dataset.fetchedCount())
        return QVariant();
    const int field = fieldOf(index.column());
    if (field < 0)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_dataset.displayText(index.row(), field);
    case Qt::EditRole:
        return m_dataset.value(index.row(), field);
    case Qt::TextAlignmentRole: {
        const int type = m_dataset.value(index.row(), field).typeId();
        const bool number = type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Double
                            || m_columns.at(size_t(index.column())).alignRight;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    default:
        return QVariant();
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return m_columns.at(size_t(section)).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool DatasetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !m_editable)
        return false;
    return runGuarded(nullptr, [&] {
        m_dataset.moveTo(index.row());
        if (!m_dataset.isEditing())
            m_dataset.edit();
        const QVariant stored = value.toString().isEmpty() ? QVariant() : value;
        m_dataset.setValue(m_columns.at(size_t(index.column())).field, stored);
    });
}
