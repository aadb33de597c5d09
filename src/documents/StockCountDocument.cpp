#include "documents/StockCountDocument.h"

#include "core/Tdm.h"
#include "data/Counters.h"
#include "data/GoodsBarcodes.h"
#include "documents/DocumentKind.h"
#include "documents/StockCountRules.h"
#include "util/Error.h"

#include <QDateTime>

#include <algorithm>

namespace documents {

namespace {

const char *const kHeader = "select TRANZ_DOCNO, TRANZ_TIME, TRANZ_NOTE from TRANZ where TRANZ_ID = :TRANZ_ID";
const char *const kHeaderInsert =
    "insert into TRANZ (TRANZ_ID, TRANZ_DOCNO, TRANZ_TYPE_ID, TRANZ_KONT_ID, TRANZ_TIME, TRANZ_NOTE, TRANZ_SUM, "
    "TRANZ_PLATENO) values (:TRANZ_ID, :TRANZ_DOCNO, 14, -1, :TRANZ_TIME, :TRANZ_NOTE, :TRANZ_SUM, 0)";
const char *const kHeaderUpdate =
    "update TRANZ set TRANZ_TIME = :TRANZ_TIME, TRANZ_NOTE = :TRANZ_NOTE, TRANZ_SUM = :TRANZ_SUM "
    "where TRANZ_ID = :TRANZ_ID and TRANZ_TYPE_ID = 14";
const char *const kNextNumber = "select coalesce(max(TRANZ_DOCNO), 0) + 1 from TRANZ";
const char *const kPostedPrices =
    "select TRANZ_RED_NOM_ID, TRANZ_RED_CENA from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID";
const char *const kDeletePostedLines = "delete from TRANZ_RED where TRANZ_RED_TRANZ_ID = :TRANZ_ID";
const char *const kPostedLine =
    "insert into TRANZ_RED (TRANZ_RED_ID, TRANZ_RED_TRANZ_ID, TRANZ_RED_TYPE_ID, TRANZ_RED_NOM_ID, TRANZ_RED_CAT_ID, "
    "TRANZ_RED_KOL1, TRANZ_RED_KOL2, TRANZ_RED_CENA, TRANZ_RED_OTSTUPKA, TRANZ_RED_IZNESENO) values (:ID, :TRANZ_ID, "
    ":SIGN, :NOM_ID, :CAT_ID, :QUANTITY, 0, :PRICE, 0, :QUANTITY)";

QString goodsWording(const data::CountLine &line)
{
    return QStringLiteral("%1 %2").arg(line.goods.code, 6, 10, QLatin1Char('0')).arg(line.goods.name);
}

} // namespace

StockCountDocument::StockCountDocument(Tdm &data)
    : m_data(data)
{
}

void StockCountDocument::reset()
{
    m_id = 0;
    m_number = QVariant();
    m_note.clear();
    m_stored = false;
    m_posted = false;
    m_modified = false;
    m_lines.clear();
}

void StockCountDocument::create(const QDate &day)
{
    reset();
    m_day = day;
}

void StockCountDocument::open(int countId)
{
    const std::vector<QVariantList> header =
        m_data.QueryRows(QString::fromLatin1(kHeader), {{QStringLiteral("TRANZ_ID"), countId}});
    if (header.empty())
        throw varnex::Error(QStringLiteral("Документът е изтрит от друг потребител."));
    reset();
    m_id = countId;
    m_stored = true;
    m_number = header.front().at(0);
    m_day = header.front().at(1).toDateTime().date();
    m_note = header.front().at(2).toString();
    for (const data::StoredCountLine &stored : data::storedCountLines(m_data, countId)) {
        data::CountLine line;
        if (const auto goods = data::countGoods(m_data, stored.goodsId))
            line.goods = *goods;
        else
            line.goods.goodsId = stored.goodsId;
        line.counted = stored.counted;
        line.posted = !stored.postedBook.isNull();
        line.book = line.posted ? stored.postedBook.toDouble() : stored.book;
        m_posted = m_posted || line.posted;
        m_lines.push_back(line);
    }
    if (m_posted) {
        // The posted lines hold the prices the count was valued at.
        for (const QVariantList &row :
             m_data.QueryRows(QString::fromLatin1(kPostedPrices), {{QStringLiteral("ID"), countId}})) {
            const int index = lineIndex(row.at(0).toInt());
            if (index >= 0)
                m_lines[size_t(index)].price = row.at(1).toDouble();
        }
    }
}

void StockCountDocument::setDay(const QDate &day)
{
    requireOpen();
    if (day == m_day)
        return;
    // The book quantities belong to the count's day.
    m_day = day;
    for (data::CountLine &line : m_lines)
        line.book = data::countBookQuantity(m_data, line.goods.goodsId, m_day, m_id);
    m_modified = true;
}

void StockCountDocument::setNote(const QString &note)
{
    requireOpen();
    if (note != m_note)
        m_modified = true;
    m_note = note;
}

int StockCountDocument::lineIndex(int goodsId) const
{
    const auto found = std::find_if(m_lines.begin(), m_lines.end(),
                                    [goodsId](const data::CountLine &line) { return line.goods.goodsId == goodsId; });
    return found == m_lines.end() ? -1 : int(found - m_lines.begin());
}

void StockCountDocument::requireOpen() const
{
    if (m_posted)
        throw varnex::Error(QStringLiteral("Ревизията е осчетоводена и не може да се променя."));
}

int StockCountDocument::ensureLine(int goodsId)
{
    requireOpen();
    const int index = lineIndex(goodsId);
    if (index >= 0)
        return index;
    const auto goods = data::countGoods(m_data, goodsId);
    if (!goods)
        throw varnex::Error(QStringLiteral("Артикулът е изтрит от друг потребител."));
    data::CountLine line;
    line.goods = *goods;
    line.book = data::countBookQuantity(m_data, goodsId, m_day, m_id);
    m_lines.push_back(line);
    return int(m_lines.size()) - 1;
}

int StockCountDocument::scan(const QString &code)
{
    const QString typed = code.trimmed();
    std::optional<int> goods = data::goodsByBarcode(m_data, typed);
    bool isNumber = false;
    const int number = typed.toInt(&isNumber);
    if (!goods && isNumber)
        goods = data::goodsByCode(m_data, number);
    if (!goods)
        throw varnex::Error(QStringLiteral("Няма артикул с код %1!").arg(typed));
    return addOne(*goods);
}

int StockCountDocument::addOne(int goodsId)
{
    const int index = ensureLine(goodsId);
    m_lines[size_t(index)].counted += 1;
    m_modified = true;
    return index;
}

void StockCountDocument::setCounted(int goodsId, double quantity)
{
    if (quantity < 0)
        throw varnex::Error(QStringLiteral("Количеството не може да е отрицателно!"));
    const int index = ensureLine(goodsId);
    m_lines[size_t(index)].counted = quantity;
    m_modified = true;
}

void StockCountDocument::removeLine(int goodsId)
{
    requireOpen();
    const int index = lineIndex(goodsId);
    if (index < 0)
        return;
    m_lines.erase(m_lines.begin() + index);
    m_modified = true;
}

int StockCountDocument::countCategoryAsZero(int category)
{
    int added = 0;
    for (const int goodsId : data::goodsOfCategory(m_data, category)) {
        if (lineIndex(goodsId) >= 0)
            continue;
        ensureLine(goodsId);
        ++added;
    }
    if (added > 0)
        m_modified = true;
    return added;
}

StockCountDocument::Import StockCountDocument::importFile(const QString &text)
{
    requireOpen();
    const CountFile file = parseCountFile(text);
    Import result;
    result.badRows = file.badRows;
    for (const auto &[code, quantity] : file.quantities) {
        std::optional<int> goods = data::goodsByBarcode(m_data, code);
        bool isNumber = false;
        const int number = code.toInt(&isNumber);
        if (!goods && isNumber)
            goods = data::goodsByCode(m_data, number);
        if (!goods) {
            result.unknownCodes << code;
            continue;
        }
        setCounted(*goods, quantity);
        ++result.goods;
    }
    return result;
}

std::vector<data::CountLine> StockCountDocument::sheetLines(int category)
{
    if (!m_lines.empty())
        return m_lines;
    std::vector<data::CountLine> lines;
    for (const int goodsId : data::goodsOfCategory(m_data, category)) {
        data::CountLine line;
        line.goods = data::countGoods(m_data, goodsId).value_or(data::CountGoods{goodsId});
        line.book = data::countBookQuantity(m_data, goodsId, m_day, m_id);
        lines.push_back(line);
    }
    return lines;
}

void StockCountDocument::storeHeader(double sum)
{
    const data::SqlParams params{{QStringLiteral("TRANZ_ID"), m_id},
                                 {QStringLiteral("TRANZ_DOCNO"), m_number},
                                 {QStringLiteral("TRANZ_TIME"), m_day.startOfDay()},
                                 {QStringLiteral("TRANZ_NOTE"), m_note.isEmpty() ? QVariant() : QVariant(m_note)},
                                 {QStringLiteral("TRANZ_SUM"), sum}};
    if (m_stored) {
        if (m_data.ExecSQL(QString::fromLatin1(kHeaderUpdate), params) == 0)
            throw varnex::Error(QStringLiteral("Документът е изтрит от друг потребител."));
        return;
    }
    m_data.ExecSQL(QString::fromLatin1(kHeaderInsert), params);
    m_stored = true;
}

void StockCountDocument::save()
{
    requireOpen();
    if (!m_day.isValid())
        throw varnex::Error(QStringLiteral("Моля, попълнете Дата на въвеждане!"));
    if (!m_stored) {
        m_id = m_data.NewCounterValue(data::CounterTranz);
        m_number = m_data.QueryValue(QString::fromLatin1(kNextNumber));
    }
    storeHeader(0);
    std::vector<data::StoredCountLine> stored;
    for (const data::CountLine &line : m_lines)
        stored.push_back({line.goods.goodsId, line.book, line.counted, QVariant()});
    data::storeCountLines(m_data, m_id, stored);
    m_modified = false;
}

QStringList StockCountDocument::movedGoods()
{
    QStringList moved;
    for (const data::CountLine &line : m_lines) {
        if (countDifference(line.book, data::countBookQuantity(m_data, line.goods.goodsId, m_day, m_id)) != 0)
            moved << goodsWording(line);
    }
    return moved;
}

void StockCountDocument::post()
{
    requireOpen();
    if (m_lines.empty())
        throw varnex::Error(QStringLiteral("Документът е празен! Въведете стоки!"));
    save();
    // Lines of a posting cut short are replaced, never added to.
    m_data.ExecSQL(QString::fromLatin1(kDeletePostedLines), {{QStringLiteral("TRANZ_ID"), m_id}});
    std::vector<data::StoredCountLine> stored;
    for (data::CountLine &line : m_lines) {
        line.book = data::countBookQuantity(m_data, line.goods.goodsId, m_day, m_id);
        line.price = data::lastDeliveryPrice(m_data, line.goods.goodsId);
        line.posted = true;
        stored.push_back({line.goods.goodsId, line.book, line.counted, line.book});
        const auto posting = countPosting(line.goods.goodsId, line.book, line.counted, line.price);
        if (!posting)
            continue;
        m_data.ExecSQL(QString::fromLatin1(kPostedLine),
                       {{QStringLiteral("ID"), m_data.NewCounterValue(data::CounterTranzRed)},
                        {QStringLiteral("TRANZ_ID"), m_id},
                        {QStringLiteral("SIGN"), posting->sign},
                        {QStringLiteral("NOM_ID"), posting->goodsId},
                        {QStringLiteral("CAT_ID"), line.goods.category},
                        {QStringLiteral("QUANTITY"), posting->quantity},
                        {QStringLiteral("PRICE"), posting->price}});
    }
    storeHeader(countTotals(m_lines).net());
    // The posted book quantities go last: a count is posted once they are
    // stored, and a posting cut short before is posted again whole.
    data::storeCountLines(m_data, m_id, stored);
    m_posted = true;
    m_modified = false;
}

} // namespace documents
