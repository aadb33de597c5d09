#include "ui/EditRoutines.h"

#include "db/Dataset.h"
#include "ui/DataGrid.h"
#include "ui/ErrorGuard.h"

#include <QApplication>
#include <QRegularExpression>

#include <algorithm>

namespace {

QStringList keyNames(const QString &keyFields)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,;\"\\x00-\\x1F]+"));
    QStringList names = keyFields.split(separators, Qt::SkipEmptyParts);
    if (names.isEmpty())
        names << QStringLiteral("ID");
    return names;
}

} // namespace

QVariant KeyValues(const db::Dataset &dataset, const QString &keyFields)
{
    QVariantList values;
    for (const QString &name : keyNames(keyFields)) {
        if (dataset.hasField(name))
            values << dataset.value(name);
    }
    if (values.isEmpty())
        return QVariant();
    return values.size() == 1 ? values.first() : QVariant(values);
}

void ReopenKeepingKey(db::Dataset &dataset, const QString &keyFields, bool fetchAll)
{
    if (dataset.isEditing())
        return;
    const QVariant values = dataset.isOpen() ? KeyValues(dataset, keyFields) : QVariant();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    dataset.disableControls();
    try {
        dataset.reopen();
        if (fetchAll) {
            dataset.last();
            dataset.first();
        }
        if (!values.isNull()) {
            QStringList names;
            for (const QString &name : keyNames(keyFields)) {
                if (dataset.hasField(name))
                    names << name;
            }
            const QVariantList list = names.size() == 1 ? QVariantList{values} : values.toList();
            dataset.locate(names, list);
        }
    } catch (...) {
        dataset.enableControls();
        QApplication::restoreOverrideCursor();
        throw;
    }
    dataset.enableControls();
    QApplication::restoreOverrideCursor();
}

bool HasChangedRows(const QList<db::Dataset *> &datasets)
{
    return std::any_of(datasets.begin(), datasets.end(),
                       [](const db::Dataset *rows) { return rows && rows->isEditing() && rows->isModified(); });
}

void PostPendingEdits(QWidget *window, const QList<db::Dataset *> &datasets, const db::Dataset *except)
{
    for (db::Dataset *dataset : datasets) {
        if (dataset == except || !dataset->isEditing())
            continue;
        try {
            dataset->post();
        } catch (const varnex::Error &) {
            for (DataGrid *grid : window ? window->findChildren<DataGrid *>() : QList<DataGrid *>()) {
                if (grid->dataset() == dataset)
                    focusShowingPage(grid);
            }
            throw;
        }
    }
}

QString PadNumber(qint64 number, int width, QChar fill)
{
    return PadText(QString::number(number), width, fill);
}

QString PadText(const QString &text, int width, QChar fill)
{
    return text.size() >= width ? text : QString(width - text.size(), fill) + text;
}
