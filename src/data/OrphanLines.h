#pragma once

#include <QString>

#include <vector>

namespace data {

class SqlSession;

// A document line stored while its document was being entered whose
// document header was never written: the editor that held it ended without
// saving or abandoning the document (a crash, a kill, a lost connection).
struct OrphanLine
{
    int documentId = 0;
    int lineId = 0;
    int goodsId = 0;
    QString goodsName;
    int direction = 0;
    double quantity = 0;
    double taken = 0;
};

// The lines without their document, as they were when they were looked for.
class OrphanLines
{
public:
    OrphanLines() = default;
    explicit OrphanLines(std::vector<OrphanLine> lines);

    const std::vector<OrphanLine> &lines() const { return m_lines; }
    bool isEmpty() const { return m_lines.empty(); }
    int lineCount() const { return int(m_lines.size()); }
    // The ids of the documents they were entered under, ascending.
    std::vector<int> documentIds() const;

private:
    std::vector<OrphanLine> m_lines;
};

// Every stored line whose document has no header, by document and line.
OrphanLines findOrphanLines(SqlSession &session);
// The same among the lines stored since the last look (every line at the
// first), remembering in the database how far it has looked.
OrphanLines findNewOrphanLines(SqlSession &session);

// Removes the lines that were found, each only while it is still without
// its document: a header stored since (a document that was in fact being
// entered) keeps its lines, and lines stored since were never found. Each
// deletion is committed as it is made. The number of lines removed.
int removeOrphanLines(SqlSession &session, const OrphanLines &found);

// "3 реда на 1 документ": how many lines of how many documents.
QString orphanLinesSummary(const OrphanLines &found);
// The question that offers to remove them.
QString orphanLinesQuestion(const OrphanLines &found);

} // namespace data
