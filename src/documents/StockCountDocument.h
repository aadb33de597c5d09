#pragma once

#include "data/CountLookups.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

class Tdm;

namespace documents {

// A stock count ("Ревизия"): its header is a document of type 14, its
// counted goods are kept apart from the stock lines (STOCK_COUNT_LINES) so
// that a count saved half-way moves no stock. Posting takes every book
// quantity again and writes one stock line per difference, priced at the
// last delivery price, so that the stock on hand becomes what was counted.
class StockCountDocument
{
public:
    explicit StockCountDocument(Tdm &data);

    void create(const QDate &day);
    void open(int countId);

    int id() const { return m_id; }
    QVariant number() const { return m_number; }
    QDate day() const { return m_day; }
    void setDay(const QDate &day);
    QString note() const { return m_note; }
    void setNote(const QString &note);
    bool posted() const { return m_posted; }
    bool modified() const { return m_modified; }
    const std::vector<data::CountLine> &lines() const { return m_lines; }

    // One more of the goods item of a scanned or typed code (a barcode, or
    // the goods code), its line made when it has none; the line's index.
    // An unknown code is refused and nothing changes.
    int scan(const QString &code);
    int addOne(int goodsId);
    // A typed quantity replaces what was counted.
    void setCounted(int goodsId, double quantity);
    void removeLine(int goodsId);
    // The category's goods not counted yet, counted as 0.
    int countCategoryAsZero(int category);

    struct Import
    {
        int goods = 0;
        QStringList unknownCodes;
        QStringList badRows;
    };
    // The quantities of a handheld scanner's file replace those counted of
    // its goods.
    Import importFile(const QString &text);

    // What the count sheet lists: the goods counted so far, or before
    // counting begins every goods item of the category.
    std::vector<data::CountLine> sheetLines(int category);

    // Stores the header and the counted goods as they are; the count stays
    // open to go on with.
    void save();
    // The goods whose book quantity changed since they were counted
    // (documents stored meanwhile, here or at another workstation).
    QStringList movedGoods();
    // Saves and posts: the book quantities taken again, the differences
    // written as stock lines. A count posted earlier, or with no goods, is
    // refused.
    void post();

private:
    void reset();
    int lineIndex(int goodsId) const;
    int ensureLine(int goodsId);
    void requireOpen() const;
    void storeHeader(double sum);

    Tdm &m_data;
    int m_id = 0;
    QVariant m_number;
    QDate m_day;
    QString m_note;
    bool m_stored = false;
    bool m_posted = false;
    bool m_modified = false;
    std::vector<data::CountLine> m_lines;
};

} // namespace documents
