#pragma once

#include "documents/DocumentKind.h"

#include <QObject>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Tdm;
namespace db {
class Dataset;
}

namespace documents {

class DocumentModel;

// A check of the whole document that failed: an area without lines
// (`emptyArea` its index) or a header field left empty.
struct DocumentProblem
{
    int emptyArea = -1;
    QString field;
    QString message;
};

// One list of the document's lines (TRANZ_RED rows of one sign) with its
// goods list. Lines are stored one by one as they are saved or deleted.
class LineArea : public QObject
{
    Q_OBJECT

public:
    LineArea(DocumentModel &document, LineAreaKind kind);
    ~LineArea() override;

    const LineAreaKind &kind() const { return m_kind; }
    DocumentModel &document() const { return m_document; }
    db::Dataset &lines() const { return *m_lines; }
    // The goods the line's drop-downs offer, narrowed by the line's category.
    db::Dataset &goods() const { return *m_goods; }
    bool isEditing() const;

    void open();
    // Stores a line being edited first; its check may refuse it, and then
    // no line is added.
    void newLine();
    void storeLine();
    // Stores the line being edited as it is, without the line checks.
    void storeLineUnchecked();
    void cancelLine();
    // The question asked before the current line is deleted; empty when it
    // goes without one (its quantity is 0).
    QString deleteQuestion() const;
    void deleteLine();
    // The goods list of every category, as when the window is shown; a
    // list this area has just opened unnarrowed is not read a second time.
    void showAllGoods();
    // Whether a category narrows the goods list now.
    bool goodsNarrowed() const { return m_narrowed; }
    // Stock on hand of the current line's goods, the document's own stored
    // lines included; for a line being edited, what the shortage question
    // counts (without its own stored quantity). 0 without goods.
    double stockOnHand() const;
    // Whether the current line's goods has an additional unit, so its
    // quantity in that unit is offered.
    bool secondUnitOffered() const;
    // The line sums of every row, the one being edited as it stands.
    double total() const;
    // Reads the lines again keeping the current one; nothing while editing.
    void reread();

Q_SIGNALS:
    // A line was written to the database (stored or deleted).
    void linesChanged();

private:
    void defineFields();
    void followState();
    void followRow(int row);
    void fillNewLine(db::Dataset &lines);
    void checkLine(db::Dataset &lines);
    void askOnShortage(db::Dataset &lines);
    // `questionAsked`, when given, tells whether the shortage question is
    // asked at all.
    double stockBeside(const QVariant &goods, const QVariant &lineId, bool *questionAsked = nullptr) const;
    void narrowGoods(const QVariant &category);

    DocumentModel &m_document;
    LineAreaKind m_kind;
    std::unique_ptr<db::Dataset> m_lines;
    std::unique_ptr<db::Dataset> m_privateGoods;
    db::Dataset *m_goods = nullptr;
    QVariant m_keptLineId;
    bool m_wasEditing = false;
    QVariant m_shownCategory;
    bool m_narrowed = false;
    bool m_goodsJustOpened = false;
    bool m_unchecked = false;
};

// A stock document: its header row (TRANZ) and its line areas, configured
// by the kind's description. No window is involved, so every rule can be
// driven and tested on a database alone.
class DocumentModel : public QObject
{
    Q_OBJECT

public:
    DocumentModel(Tdm &data, DocumentKind kind, QObject *parent = nullptr);
    ~DocumentModel() override;

    Tdm &data() const { return m_data; }
    const DocumentKind &kind() const { return m_kind; }
    db::Dataset &header() const { return *m_header; }
    // Every goods item with its units, for the lines' names and unit signs
    // whatever category the drop-downs are narrowed to.
    db::Dataset &goodsNames() const { return *m_goodsNames; }
    int areaCount() const { return int(m_areas.size()); }
    LineArea &area(int index) const { return *m_areas.at(size_t(index)); }

    // A new document: its id reserved from the document counter before
    // anything is stored, the header appended with its creation defaults.
    void createNew();
    void openExisting(int documentId);
    int documentId() const { return m_id; }
    bool isNew() const { return m_new; }
    // Whether the header row is in the database (an opened document's is).
    bool headerStored() const { return m_headerStored; }
    bool destroyed() const { return m_destroyed; }

    // The value of the lines that carry it.
    double total() const;
    // Set while the model walks the lines or writes a discount itself;
    // the discount box is then not refreshed from the current row.
    bool guarded() const { return m_guard > 0; }
    class Guard
    {
    public:
        explicit Guard(const DocumentModel &model)
            : m_model(model)
        {
            ++m_model.m_guard;
        }
        ~Guard() { --m_model.m_guard; }

    private:
        const DocumentModel &m_model;
    };

    // The document check: the first failure, in the kind's order.
    std::optional<DocumentProblem> check() const;
    // Stores the line each area is editing; the first one refused stops
    // with its error, leaving it in editing.
    void storePendingLines();
    // What the save does before the lines and the header are written.
    void prepareSave();
    // Pending lines, then the header (the paid rule and the total in its
    // check). The document check is the caller's. A proposed number another
    // workstation has stored meanwhile is replaced by the next free one as
    // the header is first stored; what the user is told about that comes
    // back (empty for nothing) and goes to numberReplaced.
    QString save();
    // The header's own edits, or a line being edited that was typed into.
    bool hasUnsavedChanges() const;
    // Leaves without saving: pending line edits and the header's own edits
    // dropped, the lines of a document whose header was never stored, or
    // was deleted by another workstation, removed. Lines are committed as they are stored or deleted, so a
    // stored header whose lines changed has its sum written all the same,
    // with the paid amount held within it; what the user is told about that
    // comes back (empty for nothing).
    QString abandon();
    // Deletes the lines and then the header.
    void destroy();
    // Puts the header back into editing after a refused store left it
    // browsing (another workstation's change was read in).
    void resumeEditing();

    QString proposedNumber() const;
    // Puts the proposed number into the header; a number typed over it is
    // the user's and is stored as typed.
    void proposeNumber();
    // Once the header is stored, a line is stored only while it exists:
    // locks it until the line is committed, or refuses when another
    // workstation deleted the document.
    void holdHeader();
    QVariant counterparty() const;
    double lastPrice(const QVariant &goodsId) const;
    double lastDiscount(const QVariant &goodsId) const;
    void rereadGoods();

    // Asked before a line that takes more than is on hand is stored; a
    // "no" leaves the line in editing. Without it the line is stored.
    std::function<bool(const QString &question)> confirmShortage;

Q_SIGNALS:
    // The proposed number was taken meanwhile and the header was stored
    // with the next free one; the notice tells the user which.
    void numberReplaced(const QString &notice);

private:
    void defineHeader();
    void fillNewHeader(db::Dataset &header);
    void checkHeader(db::Dataset &header);
    void bind();
    QString storeSum();
    bool headerExists() const;
    QString renumberIfTaken();

    Tdm &m_data;
    DocumentKind m_kind;
    std::unique_ptr<db::Dataset> m_header;
    std::unique_ptr<db::Dataset> m_goodsNames;
    std::vector<std::unique_ptr<LineArea>> m_areas;
    int m_id = 0;
    bool m_new = false;
    bool m_headerStored = false;
    bool m_destroyed = false;
    // Lines carrying the value were stored or deleted since the header was.
    bool m_sumStale = false;
    // The header is written for its sum alone: a paid amount above the sum
    // is lowered to it rather than refused.
    bool m_storingSumOnly = false;
    bool m_paidLowered = false;
    mutable int m_guard = 0;
    QVariant m_proposedNumber;
    QString m_numberNotice;
};

} // namespace documents
