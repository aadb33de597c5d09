#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace data {
class SqlSession;
}

namespace varnex {

// A detail of the own company in the settings and the column of counterparty
// 1 it is written to at every start.
struct OwnCompanySetting
{
    QString key;
    QString column;
    QString caption; // as the own-company window shows it
};

const QList<OwnCompanySetting> &ownCompanySettings();

// The character lengths of the counterparties' text columns as the database
// declares them.
QHash<QString, int> counterpartyColumnLengths(data::SqlSession &database);
// The same for a database not made yet: as the install script declares them.
QHash<QString, int> installedCounterpartyColumnLengths();

// Why the value of a setting cannot be written to its column: the setting,
// its length and the column's; empty when it fits or feeds no column.
QString overlongSettingText(const QString &key, const QString &value, const QHash<QString, int> &lengths);

} // namespace varnex
