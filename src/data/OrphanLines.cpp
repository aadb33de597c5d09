#include "data/OrphanLines.h"

#include "data/SqlSession.h"

#include <algorithm>

namespace data {

namespace {

// Lines without their document can only be under a key that no header
// has. The headers' keys are nearly all in runs, so the check walks the few
// gaps between the runs (and the open ends below the first and above the
// last) and asks the lines' index for each gap alone, instead of grouping
// every line by its document.
const char *const kHeaderGaps =
    "select t.TRANZ_ID + 1 as GAP_FROM, (select min(n.TRANZ_ID) from TRANZ n where n.TRANZ_ID > t.TRANZ_ID) - 1 "
    "as GAP_TO from TRANZ t "
    "where not exists (select 1 from TRANZ n where n.TRANZ_ID = t.TRANZ_ID + 1)";
const char *const kFirstHeader = "select min(TRANZ_ID) from TRANZ";
// A bound left open would keep the engine from the index, so each kind of
// range has its statement.
const char *const kDocumentsBetween =
    "select distinct TRANZ_RED_TRANZ_ID from TRANZ_RED where TRANZ_RED_TRANZ_ID between :LOW and :HIGH";
const char *const kDocumentsFrom = "select distinct TRANZ_RED_TRANZ_ID from TRANZ_RED where TRANZ_RED_TRANZ_ID >= :LOW";
const char *const kDocumentsBelow = "select distinct TRANZ_RED_TRANZ_ID from TRANZ_RED where TRANZ_RED_TRANZ_ID < :HIGH";
const char *const kAllDocuments = "select distinct TRANZ_RED_TRANZ_ID from TRANZ_RED";
const char *const kOrphanLines =
    "select r.TRANZ_RED_TRANZ_ID, r.TRANZ_RED_ID, r.TRANZ_RED_NOM_ID, n.NOM_NAME, r.TRANZ_RED_TYPE_ID, "
    "r.TRANZ_RED_KOL1, r.TRANZ_RED_IZNESENO from TRANZ_RED r left join NOM n on n.NOM_ID = r.TRANZ_RED_NOM_ID "
    "where r.TRANZ_RED_TRANZ_ID = :TRANZ_ID and not exists (select 1 from TRANZ t where t.TRANZ_ID = :TRANZ_ID) "
    "order by r.TRANZ_RED_ID";
// The line is named by its key and its document both, and the header is
// asked for again at the moment of deleting.
const char *const kRemoveOrphanLine =
    "delete from TRANZ_RED where TRANZ_RED_ID = :LINE_ID and TRANZ_RED_TRANZ_ID = :TRANZ_ID "
    "and not exists (select 1 from TRANZ where TRANZ_ID = :TRANZ_ID)";

QString counted(int count, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(count == 1 ? one : many));
}

} // namespace

OrphanLines::OrphanLines(std::vector<OrphanLine> lines)
    : m_lines(std::move(lines))
{
}

std::vector<int> OrphanLines::documentIds() const
{
    std::vector<int> ids;
    for (const OrphanLine &line : m_lines)
        ids.push_back(line.documentId);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

namespace {

void addDocuments(SqlSession &session, const char *sql, const SqlParams &range, std::vector<int> &documents)
{
    for (const QVariantList &row : session.QueryRows(QString::fromLatin1(sql), range))
        documents.push_back(row.at(0).toInt());
}

// The keys of documents that have lines but no header, ascending.
std::vector<int> headerlessDocuments(SqlSession &session)
{
    std::vector<int> documents;
    const QVariant first = session.QueryValue(QString::fromLatin1(kFirstHeader));
    if (first.isNull()) {
        addDocuments(session, kAllDocuments, {}, documents);
    } else {
        addDocuments(session, kDocumentsBelow, {{QStringLiteral("HIGH"), first}}, documents);
        for (const QVariantList &gap : session.QueryRows(QString::fromLatin1(kHeaderGaps))) {
            if (gap.at(1).isNull())
                addDocuments(session, kDocumentsFrom, {{QStringLiteral("LOW"), gap.at(0)}}, documents);
            else
                addDocuments(session, kDocumentsBetween,
                             {{QStringLiteral("LOW"), gap.at(0)}, {QStringLiteral("HIGH"), gap.at(1)}}, documents);
        }
    }
    std::sort(documents.begin(), documents.end());
    return documents;
}

} // namespace

OrphanLines findOrphanLines(SqlSession &session)
{
    std::vector<OrphanLine> lines;
    for (const int document : headerlessDocuments(session)) {
        for (const QVariantList &row : session.QueryRows(QString::fromLatin1(kOrphanLines),
                                                         {{QStringLiteral("TRANZ_ID"), document}})) {
            OrphanLine line;
            line.documentId = row.at(0).toInt();
            line.lineId = row.at(1).toInt();
            line.goodsId = row.at(2).toInt();
            line.goodsName = row.at(3).toString();
            line.direction = row.at(4).toInt();
            line.quantity = row.at(5).toDouble();
            line.taken = row.at(6).toDouble();
            lines.push_back(line);
        }
    }
    return OrphanLines(std::move(lines));
}

int removeOrphanLines(SqlSession &session, const OrphanLines &found)
{
    int removed = 0;
    for (const OrphanLine &line : found.lines()) {
        if (session.ExecSQL(QString::fromLatin1(kRemoveOrphanLine),
                            {{QStringLiteral("LINE_ID"), line.lineId}, {QStringLiteral("TRANZ_ID"), line.documentId}})
            > 0)
            ++removed;
    }
    return removed;
}

QString orphanLinesSummary(const OrphanLines &found)
{
    return counted(found.lineCount(), "ред", "реда") + QStringLiteral(" на ")
           + counted(int(found.documentIds().size()), "документ", "документа");
}

QString orphanLinesQuestion(const OrphanLines &found)
{
    return QStringLiteral("В базата данни има редове на документи, които не са били записани, защото работата с "
                          "тях е прекъсната (срив, спиране на тока или загубена връзка): %1.\r\n"
                          "Тези редове не се виждат в никой дневник, но може да променят наличността.\r\n"
                          "Желаете ли да бъдат изтрити?")
        .arg(orphanLinesSummary(found));
}

} // namespace data
