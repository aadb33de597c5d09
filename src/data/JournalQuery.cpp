#include "data/JournalQuery.h"

#include <QDateTime>

namespace data {

namespace {

const char *const kJournalHead =
    "Select t.Tranz_Id, k.Kontr_Name, tt.Tranz_Types_Name, t.Tranz_Padej,\r\n"
    "CAST(t.Tranz_Time AS TIME) TranzTime, t.Tranz_Note, t.TRANZ_TYPE_ID, t.TRANZ_DOCNO \r\n"
    "from Tranz t\r\n"
    "LEFT OUTER JOIN Kontr k on (t.Tranz_Kont_Id=k.Kontr_id)\r\n"
    "LEFT OUTER JOIN Tranz_Types tt on (t.Tranz_Type_Id=tt.Tranz_Types_Id)\r\n"
    "where ((0=:from_filter) or CAST(t.Tranz_Time AS DATE) >= :D1) and ((0=:to_filter) or "
    "CAST(t.Tranz_Time AS DATE) <= :D2) \r\n";

// The same bounds once more as a range of the indexed column, so a month is
// read through the time index instead of every document. Only a bounded
// side gets one: documents without a date belong to an unbounded journal.
const char *const kFromRange = "and (t.Tranz_Time >= :T_FROM) \r\n";
const char *const kBeforeRange = "and (t.Tranz_Time < :T_BEFORE) \r\n";

} // namespace

QString journalStatement(int documentType, const QDate &from, const QDate &to)
{
    QString sql = QString::fromUtf8(kJournalHead);
    if (from.isValid())
        sql += QLatin1String(kFromRange);
    if (to.isValid())
        sql += QLatin1String(kBeforeRange);
    if (documentType != 0)
        sql += QStringLiteral("and (TRANZ_TYPE_ID = %1)").arg(documentType);
    return sql + QLatin1String(" order by t.tranz_time");
}

QVariantHash journalPeriodParams(const QDate &from, const QDate &to)
{
    QVariantHash params{{QStringLiteral("from_filter"), from.isValid() ? 1 : 0},
                        {QStringLiteral("D1"), from.isValid() ? QVariant(from) : QVariant()},
                        {QStringLiteral("to_filter"), to.isValid() ? 1 : 0},
                        {QStringLiteral("D2"), to.isValid() ? QVariant(to) : QVariant()}};
    if (from.isValid())
        params.insert(QStringLiteral("T_FROM"), QDateTime(from, QTime(0, 0)));
    if (to.isValid())
        params.insert(QStringLiteral("T_BEFORE"), QDateTime(to.addDays(1), QTime(0, 0)));
    return params;
}

} // namespace data
