#include "ui/DataGrid.h"

#include "db/Dataset.h"
#include "ui/DatasetModel.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTimer>

#include <set>

namespace {

const QByteArray kColumnSetMagic("VXCOLS1\n");

// What a cell editor takes is what its column can store: a longer text
// would only be refused when the row is stored.
class CellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        const auto *model = qobject_cast<const DatasetModel *>(index.model());
        if (auto *line = qobject_cast<QLineEdit *>(editor); line && model) {
            const db::Dataset &rows = model->dataset();
            if (const int length = rows.fieldLength(model->columns().at(size_t(index.column())).field); length > 0)
                line->setMaxLength(length);
        }
        return editor;
    }
};

QWidget *openEditorOf(const QAbstractItemView &view)
{
    // A cell editor is a child of the viewport; the focus may sit in a part
    // of it (the line of an editable drop-down).
    for (QWidget *widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (widget->parentWidget() == view.viewport())
            return widget;
    }
    return nullptr;
}

} // namespace

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
    setItemDelegate(new CellDelegate(this));
    connect(qApp, &QApplication::focusChanged, this, &DataGrid::focusMoved);
}

// A grid freed while it has the focus moves it away in QWidget's destructor,
// when the grid is no longer a grid; the move is not its to handle then.
DataGrid::~DataGrid()
{
    disconnect(qApp, &QApplication::focusChanged, this, &DataGrid::focusMoved);
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
            runOnRow([&] { rows.moveTo(current.row()); });
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

void DataGrid::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = openEditorOf(*this)) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

bool DataGrid::holdsFocus() const
{
    const QWidget *focused = QApplication::focusWidget();
    return focused && (focused == this || isAncestorOf(focused));
}

void DataGrid::focusMoved(QWidget *old, QWidget *now)
{
    // A popup of the grid's own drop-down, or another window coming to the
    // front, is not leaving the grid.
    if (m_postOnLeave && old && now && now->window() == window() && (old == this || isAncestorOf(old))
        && !holdsFocus())
        postPendingRow();
}

bool DataGrid::postPendingRow()
{
    db::Dataset *rows = dataset();
    if (!rows || !rows->isEditing())
        return true;
    commitOpenEditor();
    if (rows->state() == db::Dataset::State::Insert && !rows->isModified()) {
        rows->cancel();
        return true;
    }
    return runOnRow([rows] { rows->post(); });
}

bool DataGrid::runOnRow(const std::function<void()> &command)
{
    // A refused row stays as typed; the user corrects it or drops it with Esc.
    return runGuarded(command, [this](const QString &field) { focusCellLater(field); });
}

void DataGrid::focusCellLater(const QString &field)
{
    // Later, since the focus may be on its way to another control just now.
    QTimer::singleShot(0, this, [this, field] {
        for (int column = 0; m_model && column < int(m_model->columns().size()); ++column) {
            if (m_model->columns()[size_t(column)].field.compare(field, Qt::CaseInsensitive) == 0) {
                setFocus();
                setCurrentIndex(m_model->index(dataset()->recNo(), column));
                return;
            }
        }
        // A field the grid does not show is edited beside it.
        if (QWidget *editor = field.isEmpty() ? nullptr : editorForField(window(), field))
            focusShowingPage(editor);
        else
            setFocus();
    });
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    db::Dataset *rows = dataset();
    if (event->key() == Qt::Key_Escape && state() != QAbstractItemView::EditingState && rows && rows->isEditing()) {
        const bool untouched = rows->state() == db::Dataset::State::Insert && !rows->isModified();
        if (untouched
            || MessageDlg(QStringLiteral("Отказвате ли се от направените промени?"), TMsgDlgType::mtConfirmation,
                          mbYes | mbNo)
                   == mrYes)
            runGuarded(window(), [rows] { rows->cancel(); });
        return;
    }
    QTableView::keyPressEvent(event);
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
