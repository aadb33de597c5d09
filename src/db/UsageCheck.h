#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace db {

class Attachment;
class Transaction;

// A place that refers to a row by its key, for tables the schema links by
// convention only: rows of `table` whose `columns` (any of them) hold the
// key. `placeName` names the place for the user ("номенклатурата").
struct UsageCheck
{
    QString table;
    QStringList columns;
    QString placeName;
};

// Refuses the deletion of `recordName` ("мярката") with the key when a
// place uses it, naming the first such place and how many rows there hold
// it.
void refuseDeleteIfUsed(Attachment &attachment, Transaction &transaction, const QString &recordName,
                        const QVariant &key, const std::vector<UsageCheck> &checks);

} // namespace db
