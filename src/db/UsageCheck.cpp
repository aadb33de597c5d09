#include "db/UsageCheck.h"

#include "db/Statement.h"
#include "util/Error.h"

namespace db {

namespace {

QString rowCount(qint64 count)
{
    return count == 1 ? QStringLiteral("1 запис") : QStringLiteral("%1 записа").arg(count);
}

} // namespace

void refuseDeleteIfUsed(Attachment &attachment, Transaction &transaction, const QString &recordName,
                        const QVariant &key, const std::vector<UsageCheck> &checks)
{
    if (key.isNull())
        return;
    for (const UsageCheck &check : checks) {
        // Table and column names come from the program's declarations; the
        // key goes in as a parameter.
        QStringList conditions;
        for (const QString &column : check.columns)
            conditions << column + QLatin1String(" = :KEY");
        Statement count(attachment, transaction);
        count.prepare(QStringLiteral("select count(*) from %1 where %2")
                          .arg(check.table, conditions.join(QLatin1String(" or "))));
        count.setParameter(QStringLiteral("KEY"), key);
        count.execute();
        const qint64 used = count.fetch() ? count.value(0).toLongLong() : 0;
        count.close();
        if (used > 0) {
            QString subject = recordName;
            if (!subject.isEmpty())
                subject[0] = subject[0].toUpper();
            throw varnex::Error(QStringLiteral("%1 не може да се изтрие: използва се в %2 (%3).")
                                    .arg(subject, check.placeName, rowCount(used)));
        }
    }
}

} // namespace db
