#include "invoicing/InvoiceRow.h"

#include "core/Tdm.h"
#include "db/Dataset.h"
#include "ui/DBControls.h"
#include "ui/ErrorGuard.h"

#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace invoicing {

InvoiceRow::InvoiceRow(db::Dataset &row, QWidget *window)
    : QObject(window)
    , m_row(row)
    , m_window(window)
{
}

QVariant InvoiceRow::value(const QString &column) const
{
    return m_row.value(column);
}

void InvoiceRow::set(const QString &column, const QVariant &value)
{
    if (!m_row.isEditing())
        m_row.edit();
    m_row.setValue(column, value);
}

void InvoiceRow::guard(const std::function<void()> &command) const
{
    runGuarded(m_window, command);
}

DBEdit *InvoiceRow::edit(QWidget *parent, const char *objectName, const char *column) const
{
    auto *box = new DBEdit(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->bind(m_row, QString::fromLatin1(column));
    return box;
}

DBDateEdit *InvoiceRow::date(QWidget *parent, const char *objectName, const char *column) const
{
    auto *box = new DBDateEdit(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->bind(m_row, QString::fromLatin1(column));
    return box;
}

QComboBox *InvoiceRow::textCombo(QWidget *parent, const char *objectName, const char *column)
{
    const QString name = QString::fromLatin1(column);
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setProperty("dataField", name);
    box->completer()->setCompletionMode(QCompleter::PopupCompletion);
    box->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    if (const int length = m_row.fieldLength(name); length > 0)
        box->lineEdit()->setMaxLength(length);
    connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, name](const QString &typed) {
        guard([&] { set(name, typed.isEmpty() ? QVariant() : QVariant(typed)); });
    });
    connect(box, qOverload<int>(&QComboBox::activated), this, [this, name, box] {
        guard([&] { set(name, box->currentText()); });
    });
    return box;
}

void InvoiceRow::showTexts(TextBoxes boxes) const
{
    for (const auto &[box, column] : boxes) {
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(-1);
        box->setEditText(value(QString::fromLatin1(column)).toString());
    }
}

void InvoiceRow::syncTexts(TextBoxes boxes)
{
    for (const auto &[box, column] : boxes) {
        const QString shown = box->currentText();
        if (shown != value(QString::fromLatin1(column)).toString())
            set(QString::fromLatin1(column), shown.isEmpty() ? QVariant() : QVariant(shown));
    }
}

QComboBox *tableCombo(QWidget *parent, const QStringList &titles, int shownColumn)
{
    auto *box = new QComboBox(parent);
    auto *model = new QStandardItemModel(0, int(titles.size()), box);
    model->setHorizontalHeaderLabels(titles);
    auto *view = new QTableView(box);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->horizontalHeader()->setStretchLastSection(true);
    box->setModel(model);
    box->setView(view);
    box->setModelColumn(shownColumn);
    return box;
}

void setTableRows(QComboBox *box, const std::vector<QStringList> &rows)
{
    auto *model = static_cast<QStandardItemModel *>(box->model());
    const QSignalBlocker blocker(box);
    model->removeRows(0, model->rowCount());
    for (const QStringList &row : rows) {
        QList<QStandardItem *> items;
        for (const QString &text : row)
            items << new QStandardItem(text);
        model->appendRow(items);
    }
    // The list is as wide as its columns, so an IBAN or a name shows whole
    // however narrow the box is.
    auto *view = static_cast<QTableView *>(box->view());
    view->resizeColumnsToContents();
    view->setMinimumWidth(std::max(360, view->horizontalHeader()->length() + 2 * view->frameWidth()
                                            + view->style()->pixelMetric(QStyle::PM_ScrollBarExtent)));
}

} // namespace invoicing
