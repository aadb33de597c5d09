#include "data/OrphanLines.h"

#include "data/SqlSession.h"

#include <algorithm>

namespace data {

namespace {

// Grouped by document, the headers are looked up once per document instead
// of once per line: on a million lines this takes less than half the time.
const char *const kOrphanDocuments =
    "select TRANZ_RED_TRANZ_ID from TRANZ_RED group by TRANZ_RED_TRANZ_ID "
    "having not exists (select 1 from TRANZ t where t.TRANZ_ID = TRANZ_RED_TRANZ_ID) order by TRANZ_RED_TRANZ_ID";
// At start-up only the lines stored since the last start are looked at: the
// program stores a line only while its document's header exists and
// deletes a document's lines with it, so a line checked once stays sound.
// The first start checks them all. While lines without their document are
// found, the place looked from stays, so they are offered until removed.
// Statements inside the block name no variable: the program would take
// them for parameters.
const char *const kNewOrphanDocuments =
    "EXECUTE BLOCK RETURNS (TRANZ_ID INTEGER)\n"
    "AS\n"
    "DECLARE FOUND INTEGER = 0;\n"
    "BEGIN\n"
    "  IF (NOT EXISTS (SELECT 1 FROM APP_CONFIG WHERE KEY_ID = 404)) THEN\n"
    "    FOR SELECT TRANZ_RED_TRANZ_ID FROM TRANZ_RED GROUP BY TRANZ_RED_TRANZ_ID\n"
    "        HAVING NOT EXISTS (SELECT 1 FROM TRANZ t WHERE t.TRANZ_ID = TRANZ_RED_TRANZ_ID) INTO TRANZ_ID DO\n"
    "    BEGIN\n"
    "      FOUND = 1;\n"
    "      SUSPEND;\n"
    "    END\n"
    "  ELSE\n"
    "    FOR SELECT DISTINCT r.TRANZ_RED_TRANZ_ID FROM TRANZ_RED r\n"
    "        WHERE r.TRANZ_RED_ID > (SELECT CAST(KEY_VALUE AS INTEGER) FROM APP_CONFIG WHERE KEY_ID = 404)\n"
    "        AND NOT EXISTS (SELECT 1 FROM TRANZ t WHERE t.TRANZ_ID = r.TRANZ_RED_TRANZ_ID) INTO TRANZ_ID DO\n"
    "    BEGIN\n"
    "      FOUND = 1;\n"
    "      SUSPEND;\n"
    "    END\n"
    "  IF (FOUND = 0) THEN\n"
    "    UPDATE OR INSERT INTO APP_CONFIG (KEY_ID, KEY_VALUE)\n"
    "      VALUES (404, (SELECT COALESCE(MAX(TRANZ_RED_ID), 0) FROM TRANZ_RED)) MATCHING (KEY_ID);\n"
    "END";
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

OrphanLines linesOf(SqlSession &session, const std::vector<QVariantList> &documents)
{
    std::vector<OrphanLine> lines;
    for (const QVariantList &document : documents) {
        for (const QVariantList &row : session.QueryRows(QString::fromLatin1(kOrphanLines),
                                                         {{QStringLiteral("TRANZ_ID"), document.at(0)}})) {
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

OrphanLines findOrphanLines(SqlSession &session)
{
    return linesOf(session, session.QueryRows(QString::fromLatin1(kOrphanDocuments)));
}

OrphanLines findNewOrphanLines(SqlSession &session)
{
    return linesOf(session, session.QueryRows(QString::fromLatin1(kNewOrphanDocuments)));
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
