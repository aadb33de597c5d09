#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class QWidget;

namespace db {
class Dataset;
}

// The values of the named key fields of the current row: empty when no
// name is a field, the value for one, a list for several. Names are split
// at blanks, commas, semicolons, double quotes and control characters; an
// empty list of names means "ID".
QVariant KeyValues(const db::Dataset &dataset, const QString &keyFields);

// Reopens a dataset on the same record (by the key fields), reading every
// row first when asked; does nothing while the dataset is being edited.
void ReopenKeepingKey(db::Dataset &dataset, const QString &keyFields, bool fetchAll);

// Whether any of the datasets holds a row in editing that was changed.
bool HasChangedRows(const QList<db::Dataset *> &datasets);

// Stores the pending edit of each dataset but `except`. One that cannot be
// stored stays as typed with the focus on its grid inside `window`, and its
// error goes on to the caller, so nothing is stored after it.
void PostPendingEdits(QWidget *window, const QList<db::Dataset *> &datasets, const db::Dataset *except = nullptr);

// The number or text filled on the left up to the width; never cut.
QString PadNumber(qint64 number, int width, QChar fill);
QString PadText(const QString &text, int width, QChar fill);
