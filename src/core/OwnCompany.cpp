#include "core/OwnCompany.h"

#include "data/InitialDatabase.h"
#include "data/SqlSession.h"

#include <QRegularExpression>

namespace varnex {

namespace {

const char *const kCounterpartyColumnLengths =
    "select trim(rf.RDB$FIELD_NAME), f.RDB$CHARACTER_LENGTH from RDB$RELATION_FIELDS rf "
    "join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
    "where rf.RDB$RELATION_NAME = 'KONTR' and f.RDB$CHARACTER_LENGTH is not null";

} // namespace

const QList<OwnCompanySetting> &ownCompanySettings()
{
    static const QList<OwnCompanySetting> settings{
        {QStringLiteral("clientinfo\\company"), QStringLiteral("KONTR_NAME"), QStringLiteral("Фирма")},
        {QStringLiteral("clientinfo\\vat_num"), QStringLiteral("KONTR_DN"), QStringLiteral("ИН по ЗДДС BG")},
        {QStringLiteral("clientinfo\\bulstat"), QStringLiteral("KONTR_BULSTAT"), QStringLiteral("ИН (Булстат)")},
        {QStringLiteral("clientinfo\\address"), QStringLiteral("KONTR_ADDRESS"), QStringLiteral("Адрес")},
        {QStringLiteral("clientinfo\\city"), QStringLiteral("KONTR_CITY"), QStringLiteral("Град")},
    };
    return settings;
}

QHash<QString, int> counterpartyColumnLengths(data::SqlSession &database)
{
    QHash<QString, int> lengths;
    for (const QVariantList &row : database.QueryRows(QString::fromLatin1(kCounterpartyColumnLengths)))
        lengths.insert(row.at(0).toString(), row.at(1).toInt());
    return lengths;
}

QHash<QString, int> installedCounterpartyColumnLengths()
{
    const QString script = data::initialDatabaseScript();
    const QRegularExpression table(QStringLiteral("CREATE TABLE KONTR \\((.*?)\\);"),
                                   QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression column(QStringLiteral("(\\w+)\\s+VARCHAR\\((\\d+)\\)"));
    QHash<QString, int> lengths;
    const QRegularExpressionMatch columns = table.match(script);
    for (auto it = column.globalMatch(columns.captured(1)); it.hasNext();) {
        const QRegularExpressionMatch found = it.next();
        lengths.insert(found.captured(1), found.captured(2).toInt());
    }
    return lengths;
}

QString overlongSettingText(const QString &key, const QString &value, const QHash<QString, int> &lengths)
{
    for (const OwnCompanySetting &setting : ownCompanySettings()) {
        if (setting.key != key || !lengths.contains(setting.column))
            continue;
        const int most = lengths.value(setting.column);
        if (value.size() <= most)
            return QString();
        return QStringLiteral("„%1“ (%2) е %3 знака, а се побират най-много %4.")
            .arg(setting.caption, setting.key)
            .arg(value.size())
            .arg(most);
    }
    return QString();
}

} // namespace varnex
