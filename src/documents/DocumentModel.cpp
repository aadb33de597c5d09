#include "documents/DocumentModel.h"

#include "core/Tdm.h"
#include "data/Counters.h"
#include "data/StockLookups.h"
#include "db/Dataset.h"
#include "documents/DocumentRules.h"

#include <QDateTime>
#include <QLocale>
#include <QScopedValueRollback>

#include <algorithm>

namespace documents {

namespace {

const char *const kHeaderInsert =
    "insert into TRANZ (TRANZ_ID, TRANZ_DOCNO, TRANZ_TYPE_ID, TRANZ_KONT_ID, TRANZ_TIME, TRANZ_NOTE, TRANZ_PADEJ, "
    "TRANZ_PLATENO, TRANZ_SUM) values (:TRANZ_ID, :TRANZ_DOCNO, :TRANZ_TYPE_ID, :TRANZ_KONT_ID, :TRANZ_TIME, "
    ":TRANZ_NOTE, :TRANZ_PADEJ, :TRANZ_PLATENO, :TRANZ_SUM)";
const char *const kHeaderUpdate =
    "update TRANZ set TRANZ_ID = :TRANZ_ID, TRANZ_DOCNO = :TRANZ_DOCNO, TRANZ_TYPE_ID = :TRANZ_TYPE_ID, "
    "TRANZ_KONT_ID = :TRANZ_KONT_ID, TRANZ_TIME = :TRANZ_TIME, TRANZ_NOTE = :TRANZ_NOTE, TRANZ_PADEJ = :TRANZ_PADEJ, "
    "TRANZ_PLATENO = :TRANZ_PLATENO, TRANZ_SUM = :TRANZ_SUM where TRANZ_ID = :OLD_TRANZ_ID";
const char *const kHeaderDelete = "delete from TRANZ where TRANZ_ID = :OLD_TRANZ_ID";
const char *const kHeaderRow =
    "select TRANZ_ID, TRANZ_DOCNO, TRANZ_TYPE_ID, TRANZ_KONT_ID, TRANZ_TIME, TRANZ_NOTE, TRANZ_PADEJ, TRANZ_PLATENO, "
    "TRANZ_SUM from TRANZ where TRANZ_ID = :TRANZ_ID";

const char *const kLineInsert =
    "insert into TRANZ_RED (TRANZ_RED_CAT_ID, TRANZ_RED_CENA, TRANZ_RED_ID, TRANZ_RED_IZNESENO, TRANZ_RED_KOL1, "
    "TRANZ_RED_KOL2, TRANZ_RED_NOM_ID, TRANZ_RED_OTSTUPKA, TRANZ_RED_TRANZ_ID, TRANZ_RED_TYPE_ID) values "
    "(:TRANZ_RED_CAT_ID, :TRANZ_RED_CENA, :TRANZ_RED_ID, :TRANZ_RED_IZNESENO, :TRANZ_RED_KOL1, :TRANZ_RED_KOL2, "
    ":TRANZ_RED_NOM_ID, :TRANZ_RED_OTSTUPKA, :TRANZ_RED_TRANZ_ID, :TRANZ_RED_TYPE_ID)";
const char *const kLineUpdate =
    "update TRANZ_RED set TRANZ_RED_CAT_ID = :TRANZ_RED_CAT_ID, TRANZ_RED_CENA = :TRANZ_RED_CENA, "
    "TRANZ_RED_ID = :TRANZ_RED_ID, TRANZ_RED_IZNESENO = :TRANZ_RED_IZNESENO, TRANZ_RED_KOL1 = :TRANZ_RED_KOL1, "
    "TRANZ_RED_KOL2 = :TRANZ_RED_KOL2, TRANZ_RED_NOM_ID = :TRANZ_RED_NOM_ID, TRANZ_RED_OTSTUPKA = :TRANZ_RED_OTSTUPKA, "
    "TRANZ_RED_TRANZ_ID = :TRANZ_RED_TRANZ_ID, TRANZ_RED_TYPE_ID = :TRANZ_RED_TYPE_ID "
    "where TRANZ_RED_ID = :OLD_TRANZ_RED_ID";
const char *const kLineDelete = "delete from TRANZ_RED where TRANZ_RED_ID = :OLD_TRANZ_RED_ID";
const char *const kLineRow =
    "select TRANZ_RED_CAT_ID, TRANZ_RED_CENA, TRANZ_RED_ID, TRANZ_RED_IZNESENO, TRANZ_RED_KOL1, TRANZ_RED_KOL2, "
    "TRANZ_RED_NOM_ID, TRANZ_RED_OTSTUPKA, TRANZ_RED_TRANZ_ID, TRANZ_RED_TYPE_ID from TRANZ_RED "
    "where TRANZ_RED_ID = :TRANZ_RED_ID";
const char *const kRemoveLines = "Delete from TRANZ_RED where TRANZ_RED_TRANZ_ID = :TRANZ_ID";
const char *const kSecondUnit = "select NOM_MERKI_ID2 from NOM where (NOM_ID = :NOM_ID) and (NOM_MERKI_ID2 <> -1)";
// The stock the line takes from: what the other documents hold, and the
// other lines of its own, stored or not yet dated. Beside it the setting
// that silences the shortage question, so storing a line asks the server
// once.
const char *const kStockBesideLine =
    "select o.REST + coalesce((select sum(r.TRANZ_RED_IZNESENO * r.TRANZ_RED_TYPE_ID) from TRANZ_RED r\r\n"
    "  where r.TRANZ_RED_NOM_ID = :NOM_ID and r.TRANZ_RED_TRANZ_ID = :OWN_ID and r.TRANZ_RED_ID <> :LINE_ID), 0),\r\n"
    "(select first 1 c.KEY_VALUE from APP_CONFIG_KEYS k join APP_CONFIG c on c.KEY_ID = k.KEY_ID\r\n"
    "  where k.NAME = :QUESTION_KEY) as QUESTION from (%1) o";
const char *const kLargestNumber = "select max(TRANZ_DOCNO) maxdoc from TRANZ";
// How many other documents hold the number, asked with the row every save
// of a proposed number locks: a workstation saving at the same instant
// waits for this one's commit, and then finds the number taken.
const char *const kNumberTaken =
    "select (select count(*) from TRANZ where TRANZ_DOCNO = :DOCNO and TRANZ_ID <> :TRANZ_ID) from COUNTERS "
    "where ID = :NUMBERS_ROW with lock";
const char *const kAddNumbersRow = "update or insert into COUNTERS (ID, VAL) values (:NUMBERS_ROW, 0) matching (ID)";
const char *const kHeaderExists = "select 1 from TRANZ where TRANZ_ID = :TRANZ_ID";
// Held until the line written with it is committed, so another workstation
// cannot delete the header in between.
const char *const kHoldHeader = "select 1 from TRANZ where TRANZ_ID = :TRANZ_ID with lock";

const QString kDeletedElsewhere = QStringLiteral("Документът е изтрит от друг потребител.");

const char *const kGoodsList = "select * from NOM where (NOM_ID <> -1) and ((0= :is_filtered) or "
                               "(NOM_CATEGORY_ID=:CAT_ID)) order by NOM_CODE,NOM_NAME";
const char *const kGoodsNames = "select NOM_ID, NOM_CODE, NOM_NAME, NOM_MERKI_ID1, NOM_MERKI_ID2 from NOM";

QString field(const char *name)
{
    return QString::fromLatin1(name);
}

double number(const QVariant &value)
{
    return value.isNull() ? 0 : value.toDouble();
}

bool sameKey(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return a.toLongLong() == b.toLongLong();
}

// The sign of a goods item's unit (its main or additional one).
QVariant unitSign(Tdm &data, const DocumentModel &document, const QVariant &goodsId, const char *unitField)
{
    const QVariant unit = document.goodsNames().lookupValue(field("NOM_ID"), goodsId, field(unitField));
    return data.qMerki().lookupValue(field("MERKI_ID"), unit, field("MERKI_ZNAK"));
}

} // namespace

LineArea::LineArea(DocumentModel &document, LineAreaKind kind)
    : m_document(document)
    , m_kind(std::move(kind))
    , m_lines(document.data().createDataset(m_kind.selectSql))
{
    if (m_kind.goods == GoodsList::Private) {
        m_privateGoods = document.data().createDataset(field(kGoodsList));
        m_privateGoods->setParam(field("is_filtered"), 0);
        m_privateGoods->setParam(field("CAT_ID"), QVariant());
        m_goods = m_privateGoods.get();
    } else if (m_kind.goods == GoodsList::Packaging) {
        m_goods = &document.data().qAmbalaj();
    } else {
        m_goods = &document.data().qNom();
    }
    m_lines->setInsertSql(field(kLineInsert));
    m_lines->setUpdateSql(field(kLineUpdate));
    m_lines->setDeleteSql(field(kLineDelete));
    m_lines->setRefreshSql(field(kLineRow));
    defineFields();
    m_lines->onNewRecord = [this](db::Dataset &lines) { fillNewLine(lines); };
    m_lines->beforePost = [this](db::Dataset &lines) { checkLine(lines); };
    m_lines->afterPost = [this](db::Dataset &) { Q_EMIT linesChanged(); };
    connect(m_lines.get(), &db::Dataset::stateChanged, this, &LineArea::followState);
    connect(m_lines.get(), &db::Dataset::rowChanged, this, &LineArea::followRow);
    const auto showRow = [this] {
        m_shownCategory = m_lines->isOpen() ? m_lines->value(field("TRANZ_RED_CAT_ID")) : QVariant();
    };
    connect(m_lines.get(), &db::Dataset::currentChanged, this, showRow);
    connect(m_lines.get(), &db::Dataset::reset, this, showRow);
}

LineArea::~LineArea() = default;

void LineArea::defineFields()
{
    Tdm &data = m_document.data();
    db::Dataset &lines = *m_lines;
    lines.addLookupField(field("TRANZ_TYPES_NAME"), field("TRANZ_RED_TYPE_ID"), &data.qTranzTypes(),
                         field("TRANZ_TYPES_ID"), field("TRANZ_TYPES_NAME"));
    lines.addLookupField(field("CATEGORY_NAME"), field("TRANZ_RED_CAT_ID"), &data.qCategory(), field("ID"), field("NAME"));
    lines.addLookupField(field("NOM_NAME"), field("TRANZ_RED_NOM_ID"), &m_document.goodsNames(), field("NOM_ID"),
                         field("NOM_NAME"));
    const DocumentModel &document = m_document;
    const auto sign = [&data, &document](const char *unitField) {
        return [&data, &document, unitField](const db::Dataset &rows, int row) {
            return unitSign(data, document, rows.value(row, rows.requireField(field("TRANZ_RED_NOM_ID"))), unitField);
        };
    };
    lines.addCalculatedField(field("PMYARKA"), sign("NOM_MERKI_ID1"));
    lines.addCalculatedField(field("SMYARKA"), sign("NOM_MERKI_ID2"));
    const auto amount = [](const db::Dataset &rows, int row, const char *name) {
        return number(rows.value(row, rows.requireField(field(name))));
    };
    lines.addCalculatedField(field("LINE_SUM"), [amount](const db::Dataset &rows, int row) {
        return QVariant(lineSum(amount(rows, row, "TRANZ_RED_KOL1"), amount(rows, row, "TRANZ_RED_CENA"),
                                amount(rows, row, "TRANZ_RED_OTSTUPKA")));
    });
    lines.addCalculatedField(field("DISCOUNT_TEXT"), [amount](const db::Dataset &rows, int row) {
        return QVariant(discountText(amount(rows, row, "TRANZ_RED_OTSTUPKA")));
    });
    lines.setDisplayFormat(field("TRANZ_RED_CENA"), QStringLiteral("0.0000"));
    lines.setDisplayFormat(field("LINE_SUM"), QStringLiteral("0.0000"));
    lines.setDisplayRule(field("TRANZ_RED_OTSTUPKA"), db::DisplayRule::Percent);
}

bool LineArea::isEditing() const
{
    return m_lines->isEditing();
}

void LineArea::open()
{
    m_lines->setParam(field("TRANZ_ID"), m_document.documentId());
    // A document whose key was just drawn has no lines anywhere yet.
    if (m_document.isNew() && !m_document.headerStored())
        m_lines->openWithoutRows();
    else
        m_lines->open();
    if (!m_goods->isOpen()) {
        m_goods->open();
        m_goodsJustOpened = !m_narrowed;
    }
}

void LineArea::followState()
{
    const bool editing = m_lines->isEditing();
    const bool started = editing && !m_wasEditing;
    m_wasEditing = editing;
    if (!started)
        return;
    // Never the previous line's key: one that cannot be drawn now (another
    // workstation holds the counter) is drawn when the line is stored,
    // where a failure is told.
    m_keptLineId = QVariant();
    if (m_kind.ids == LineIds::OnEditing) {
        try {
            m_keptLineId = m_document.data().NewCounterValue(data::CounterTranzRed);
        } catch (const varnex::Error &) {
        }
    }
}

void LineArea::followRow(int row)
{
    if (row != m_lines->recNo() || !m_lines->isEditing())
        return;
    const QVariant category = m_lines->value(field("TRANZ_RED_CAT_ID"));
    if (sameKey(category, m_shownCategory))
        return;
    m_shownCategory = category;
    narrowGoods(category);
}

void LineArea::narrowGoods(const QVariant &category)
{
    // The packaging list has no category parameters: the category only
    // describes the line there.
    if (m_kind.goods == GoodsList::Packaging)
        return;
    m_goodsJustOpened = false;
    // A goods item of another category would stay on the line unseen.
    if (m_goods->isOpen()) {
        m_goods->close();
        m_lines->setValue(field("TRANZ_RED_NOM_ID"), QVariant());
    }
    m_goods->setParam(field("is_filtered"), category.isNull() ? 0 : 1);
    m_goods->setParam(field("CAT_ID"), category);
    m_goods->open();
    m_narrowed = !category.isNull();
}

void LineArea::showAllGoods()
{
    if (m_kind.goods == GoodsList::Packaging)
        return;
    const bool fresh = m_goodsJustOpened && m_goods->isOpen();
    m_goodsJustOpened = false;
    if (fresh)
        return;
    m_goods->setParam(field("is_filtered"), 0);
    m_goods->setParam(field("CAT_ID"), QVariant());
    m_goods->reopen();
    m_narrowed = false;
}

void LineArea::fillNewLine(db::Dataset &lines)
{
    lines.setValue(field("TRANZ_RED_TRANZ_ID"), m_document.documentId());
    lines.setValue(field("TRANZ_RED_TYPE_ID"), m_kind.sign);
    if (!m_kind.newGoods.isNull())
        lines.setValue(field("TRANZ_RED_NOM_ID"), m_kind.newGoods);
    for (const char *amount :
         {"TRANZ_RED_CENA", "TRANZ_RED_KOL1", "TRANZ_RED_KOL2", "TRANZ_RED_OTSTUPKA", "TRANZ_RED_IZNESENO"})
        lines.setValue(field(amount), 0.0);
    if (m_kind.ids == LineIds::OnCreation)
        lines.setValue(field("TRANZ_RED_ID"), m_document.data().NewCounterValue(data::CounterTranzRed));
}

void LineArea::checkLine(db::Dataset &lines)
{
    const auto value = [&lines](const char *name) { return lines.value(field(name)); };
    if (m_kind.ids == LineIds::OnEditing && value("TRANZ_RED_ID").isNull()) {
        if (m_keptLineId.isNull())
            m_keptLineId = m_document.data().NewCounterValue(data::CounterTranzRed);
        lines.setValue(field("TRANZ_RED_ID"), m_keptLineId);
    }
    if (value("TRANZ_RED_TRANZ_ID").isNull())
        lines.setValue(field("TRANZ_RED_TRANZ_ID"), m_document.documentId());
    if (m_unchecked) {
        if (value("TRANZ_RED_ID").isNull())
            lines.setValue(field("TRANZ_RED_ID"), m_document.data().NewCounterValue(data::CounterTranzRed));
        m_document.holdHeader();
        return;
    }
    if (m_kind.takenWithinQuantity && number(value("TRANZ_RED_KOL1")) < number(value("TRANZ_RED_IZNESENO"))) {
        lines.setValue(field("TRANZ_RED_IZNESENO"), value("TRANZ_RED_KOL1"));
        throw db::FieldError(QStringLiteral("Взетото количество надвишава това по документа"),
                             field("TRANZ_RED_IZNESENO"));
    }
    for (const FieldCheck &check : m_kind.checks) {
        if (lines.value(check.field).isNull())
            throw db::FieldError(check.message, check.field);
    }
    if (m_kind.takenIsQuantity)
        lines.setValue(field("TRANZ_RED_IZNESENO"), number(value("TRANZ_RED_KOL1")));
    if (value("TRANZ_RED_ID").isNull())
        lines.setValue(field("TRANZ_RED_ID"), m_document.data().NewCounterValue(data::CounterTranzRed));
    if (m_kind.askOnShortage)
        askOnShortage(lines);
    m_document.holdHeader();
}

void LineArea::askOnShortage(db::Dataset &lines)
{
    const double taken = number(lines.value(field("TRANZ_RED_IZNESENO")));
    const QVariant goods = lines.value(field("TRANZ_RED_NOM_ID"));
    if (taken <= 0 || goods.isNull() || !m_document.confirmShortage)
        return;
    bool asked = true;
    const double onHand = stockBeside(goods, lines.value(field("TRANZ_RED_ID")), &asked);
    if (!asked || taken - onHand < kAmountTolerance)
        return;
    // A unit sign ends in its own full stop ("бр."), which ends the sentence.
    const QString unit = lines.value(field("PMYARKA")).toString();
    QString takenText = (QLocale().toString(taken, 'g', 15) + QLatin1Char(' ') + unit).trimmed();
    if (!takenText.endsWith(QLatin1Char('.')))
        takenText += QLatin1Char('.');
    const QString question = QStringLiteral("В склада има %1 %2 от %3, а %4 е %5 Желаете ли да продължите?")
                                 .arg(QLocale().toString(onHand, 'g', 15), unit,
                                      lines.value(field("NOM_NAME")).toString(), m_kind.shortageWording, takenText);
    // Declined, the line stays in editing with the focus on what it takes,
    // and the user has already been told why.
    if (!m_document.confirmShortage(question))
        throw db::FieldError(QString(), field(m_kind.takenIsQuantity ? "TRANZ_RED_KOL1" : "TRANZ_RED_IZNESENO"));
}

void LineArea::newLine()
{
    m_lines->append();
}

void LineArea::storeLine()
{
    m_lines->post();
}

void LineArea::storeLineUnchecked()
{
    const QScopedValueRollback<bool> unchecked(m_unchecked, true);
    m_lines->post();
}

void LineArea::cancelLine()
{
    m_lines->cancel();
}

QString LineArea::deleteQuestion() const
{
    const double quantity = number(m_lines->value(field("TRANZ_RED_KOL1")));
    if (quantity == 0)
        return QString();
    return QStringLiteral("Отказвате ли %1 %2 от %3?")
        .arg(QLocale().toString(quantity, 'f', 4), m_lines->value(field("PMYARKA")).toString(),
             m_lines->value(field("NOM_NAME")).toString());
}

void LineArea::deleteLine()
{
    m_lines->remove();
    Q_EMIT linesChanged();
}

double LineArea::stockOnHand() const
{
    if (!m_lines->isOpen() || m_lines->recNo() < 0)
        return 0;
    // A line being edited is about to be stored: what it may take is what
    // the shortage question counts. A stored line shown has already taken.
    const QVariant line = m_lines->isEditing() ? m_lines->value(field("TRANZ_RED_ID")) : QVariant();
    return stockBeside(m_lines->value(field("TRANZ_RED_NOM_ID")), line);
}

double LineArea::stockBeside(const QVariant &goods, const QVariant &lineId, bool *questionAsked) const
{
    if (goods.isNull())
        return 0;
    // A line not yet stored has no id to leave out; ids are never negative.
    const std::vector<QVariantList> found =
        m_document.data().QueryRows(field(kStockBesideLine).arg(data::stockOutsideDocumentStatement()),
                                    {{field("NOM_ID"), goods},
                                     {field("LINE_ID"), lineId.isNull() ? QVariant(-1) : lineId},
                                     {field("OWN_ID"), m_document.documentId()},
                                     {field("TOMORROW"), QDate::currentDate().addDays(1)},
                                     {field("QUESTION_KEY"), shortageQuestionKey()}});
    const QVariantList row = found.empty() ? QVariantList() : found.front();
    if (questionAsked)
        *questionAsked = row.value(1).toString().trimmed() != QLatin1String("0");
    return std::max(0.0, number(row.value(0)));
}

bool LineArea::secondUnitOffered() const
{
    const QVariant goods = m_lines->isOpen() && m_lines->recNo() >= 0 ? m_lines->value(field("TRANZ_RED_NOM_ID"))
                                                                       : QVariant();
    return !goods.isNull() && m_document.data().HasRows(field(kSecondUnit), {{field("NOM_ID"), goods}});
}

double LineArea::total() const
{
    double sum = 0;
    if (!m_lines->isOpen())
        return sum;
    const int sumField = m_lines->requireField(field("LINE_SUM"));
    for (int row = 0; row < m_lines->recordCount(); ++row)
        sum += number(m_lines->value(row, sumField));
    return sum;
}

void LineArea::reread()
{
    if (!m_lines->isOpen() || m_lines->isEditing())
        return;
    const QVariant current = m_lines->value(field("TRANZ_RED_ID"));
    m_lines->disableControls();
    try {
        m_lines->reopen();
        if (!current.isNull())
            m_lines->locate({field("TRANZ_RED_ID")}, {current});
    } catch (...) {
        m_lines->enableControls();
        throw;
    }
    m_lines->enableControls();
}

DocumentModel::DocumentModel(Tdm &data, DocumentKind kind, QObject *parent)
    : QObject(parent)
    , m_data(data)
    , m_kind(std::move(kind))
    , m_header(data.createDataset(m_kind.headerSelect))
    , m_goodsNames(data.createDataset(field(kGoodsNames)))
{
    defineHeader();
    for (const LineAreaKind &area : m_kind.areas) {
        m_areas.push_back(std::make_unique<LineArea>(*this, area));
        if (area.carriesValue)
            connect(m_areas.back().get(), &LineArea::linesChanged, this, [this] { m_sumStale = true; });
    }
}

DocumentModel::~DocumentModel() = default;

void DocumentModel::defineHeader()
{
    m_header->setInsertSql(field(kHeaderInsert));
    m_header->setUpdateSql(field(kHeaderUpdate));
    m_header->setDeleteSql(field(kHeaderDelete));
    m_header->setRefreshSql(field(kHeaderRow));
    m_header->setDisplayFormat(field("TRANZ_DOCNO"), QStringLiteral("000000"));
    m_header->onNewRecord = [this](db::Dataset &header) { fillNewHeader(header); };
    m_header->beforePost = [this](db::Dataset &header) { checkHeader(header); };
    m_header->afterPost = [this](db::Dataset &) {
        m_headerStored = true;
        m_sumStale = false;
        if (!m_numberNotice.isEmpty())
            Q_EMIT numberReplaced(m_numberNotice);
    };
}

void DocumentModel::bind()
{
    m_header->setParam(field("TRANZ_ID"), m_id);
    if (!m_goodsNames->isOpen())
        m_goodsNames->open();
}

void DocumentModel::createNew()
{
    m_id = m_data.NewCounterValue(data::CounterTranz);
    m_new = true;
    m_headerStored = false;
    bind();
    // No header carries the key just drawn.
    m_header->openWithoutRows();
    m_header->append();
    for (const auto &area : m_areas)
        area->open();
}

void DocumentModel::openExisting(int documentId)
{
    m_id = documentId;
    m_new = false;
    m_headerStored = true;
    bind();
    m_header->open();
    if (m_header->isEmpty())
        throw varnex::Error(QStringLiteral("Документът не е намерен. Възможно е да е унищожен от друг потребител."));
    m_header->edit();
    for (const auto &area : m_areas)
        area->open();
}

void DocumentModel::fillNewHeader(db::Dataset &header)
{
    header.setValue(field("TRANZ_TYPE_ID"), m_kind.type);
    header.setValue(field("TRANZ_TIME"), QDateTime::currentDateTime());
    header.setValue(field("TRANZ_PADEJ"), QDate::currentDate());
    header.setValue(field("TRANZ_PLATENO"), 0.0);
    if (!m_kind.newCounterparty.isNull())
        header.setValue(field("TRANZ_KONT_ID"), m_kind.newCounterparty);
    if (m_kind.zeroSumOnCreation)
        header.setValue(field("TRANZ_SUM"), 0.0);
}

void DocumentModel::checkHeader(db::Dataset &header)
{
    if (header.value(field("TRANZ_ID")).isNull())
        header.setValue(field("TRANZ_ID"), m_id);
    // Another workstation may have stored lines of this document meanwhile;
    // the value is that of the lines as they are in the database. Until its
    // header is stored, no other workstation can open it.
    for (const auto &area : m_areas) {
        if (area->kind().carriesValue && m_headerStored)
            area->reread();
    }
    const double sum = total();
    if (m_kind.paidWithinTotal) {
        const PaidOutcome paid = settlePaid(number(header.value(field("TRANZ_PLATENO"))), sum);
        header.setValue(field("TRANZ_PLATENO"), paid.paid);
        m_paidLowered = paid.refused;
        if (paid.refused && !m_storingSumOnly)
            throw db::FieldError(QStringLiteral("Платената сума надвишава тази по документа"), field("TRANZ_PLATENO"));
    }
    header.setValue(field("TRANZ_SUM"), sum);
    if (!m_kind.storedCounterparty.isNull())
        header.setValue(field("TRANZ_KONT_ID"), m_kind.storedCounterparty);
    // Last, so that nothing refuses the store while the number is held.
    m_numberNotice = m_headerStored ? QString() : renumberIfTaken();
}

double DocumentModel::total() const
{
    const Guard guard(*this);
    double sum = 0;
    for (const auto &area : m_areas) {
        if (area->kind().carriesValue)
            sum += area->total();
    }
    return sum;
}

std::optional<DocumentProblem> DocumentModel::check() const
{
    for (int index = 0; index < areaCount(); ++index) {
        const LineArea &lines = area(index);
        if (!lines.kind().emptyMessage.isEmpty() && lines.lines().isEmpty() && !lines.isEditing())
            return DocumentProblem{index, QString(), lines.kind().emptyMessage};
    }
    for (const FieldCheck &check : m_kind.headerChecks) {
        if (m_header->value(check.field).isNull())
            return DocumentProblem{-1, check.field, check.message};
    }
    return std::nullopt;
}

void DocumentModel::storePendingLines()
{
    for (const auto &area : m_areas) {
        if (area->isEditing())
            area->storeLine();
    }
}

void DocumentModel::prepareSave()
{
    resumeEditing();
    if (m_header->value(field("TRANZ_ID")).isNull())
        m_header->setValue(field("TRANZ_ID"), m_id);
}

QString DocumentModel::renumberIfTaken()
{
    const QVariant number = m_header->value(field("TRANZ_DOCNO"));
    if (m_proposedNumber.isNull() || number.isNull() || number.toLongLong() != m_proposedNumber.toLongLong())
        return QString();
    const data::SqlParams params{{field("DOCNO"), number},
                                 {field("TRANZ_ID"), m_id},
                                 {field("NUMBERS_ROW"), data::kDocumentNumbersRow}};
    // Held until the header is committed; another save holds it for an
    // instant only.
    const int taken = data::claimDocumentNumbers([&] {
        QVariant others = m_data.QueryValue(field(kNumberTaken), QString(), params);
        if (others.isNull()) {
            m_data.ExecSQL(field(kAddNumbersRow), params);
            others = m_data.QueryValue(field(kNumberTaken), QString(), params);
        }
        return others.toInt();
    });
    if (taken == 0)
        return QString();
    const QString takenText = m_header->displayText(field("TRANZ_DOCNO"));
    proposeNumber();
    return QStringLiteral("Номер %1 междувременно е записан от друга работна станция. "
                          "Документът се записва с № %2.")
        .arg(takenText, m_header->displayText(field("TRANZ_DOCNO")));
}

QString DocumentModel::save()
{
    prepareSave();
    storePendingLines();
    m_header->post();
    return m_numberNotice;
}

bool DocumentModel::hasUnsavedChanges() const
{
    if (m_destroyed)
        return false;
    for (const auto &area : m_areas) {
        if (area->isEditing() && area->lines().isModified())
            return true;
    }
    // A new document has, its defaults being set.
    return m_header->state() == db::Dataset::State::Insert
           || (m_header->state() == db::Dataset::State::Edit && m_header->isModified());
}

QString DocumentModel::abandon()
{
    for (const auto &area : m_areas) {
        if (area->isEditing())
            area->cancelLine();
    }
    // Lines of a document another workstation deleted meanwhile would move
    // stock with no document to show for them.
    const bool vanished = m_headerStored && !m_destroyed && !headerExists();
    if (!m_headerStored || vanished)
        m_data.ExecSQL(field(kRemoveLines), {{field("TRANZ_ID"), m_id}});
    const bool wasEditing = m_header->isEditing();
    if (wasEditing)
        m_header->cancel();
    if (vanished)
        return kDeletedElsewhere;
    if (m_headerStored && m_sumStale && !m_destroyed)
        return storeSum();
    if (wasEditing)
        m_header->reopen();
    return QString();
}

QString DocumentModel::storeSum()
{
    // Written over the header as this window read it, so a change another
    // workstation made meanwhile refuses the store instead of being lost.
    m_header->edit();
    {
        const QScopedValueRollback<bool> sumOnly(m_storingSumOnly, true);
        m_header->post();
    }
    if (!m_paidLowered)
        return QString();
    return QStringLiteral("Платената сума надвишава новата сума на документа и е намалена на %1.")
        .arg(QLocale().toString(number(m_header->value(field("TRANZ_PLATENO"))), 'f', 2));
}

void DocumentModel::destroy()
{
    if (m_headerStored)
        m_data.DeleteDocument(m_id);
    m_destroyed = true;
    if (m_header->isEditing())
        m_header->cancel();
}

void DocumentModel::resumeEditing()
{
    if (!m_destroyed && m_header->isOpen() && !m_header->isEditing() && !m_header->isEmpty())
        m_header->edit();
}

bool DocumentModel::headerExists() const
{
    return m_data.HasRows(field(kHeaderExists), {{field("TRANZ_ID"), m_id}});
}

void DocumentModel::holdHeader()
{
    if (m_headerStored && !m_data.HasRows(field(kHoldHeader), {{field("TRANZ_ID"), m_id}}))
        throw varnex::Error(kDeletedElsewhere);
}

void DocumentModel::proposeNumber()
{
    m_proposedNumber = proposedNumber().toLongLong();
    m_header->setValue(field("TRANZ_DOCNO"), m_proposedNumber);
}

QString DocumentModel::proposedNumber() const
{
    return proposedDocumentNumber(m_data.QueryValue(field(kLargestNumber), QStringLiteral("MAXDOC")));
}

QVariant DocumentModel::counterparty() const
{
    return m_header->isOpen() ? m_header->value(field("TRANZ_KONT_ID")) : QVariant();
}

double DocumentModel::lastPrice(const QVariant &goodsId) const
{
    return goodsId.isNull() ? 0 : m_data.LastPrice(goodsId.toInt(), counterparty().toInt());
}

double DocumentModel::lastDiscount(const QVariant &goodsId) const
{
    return goodsId.isNull() ? 0 : m_data.LastDiscount(goodsId.toInt(), counterparty().toInt());
}

void DocumentModel::rereadGoods()
{
    const auto keep = [](db::Dataset &list) {
        const QVariant current = list.isOpen() ? list.value(field("NOM_ID")) : QVariant();
        list.reopen();
        if (!current.isNull())
            list.locate({field("NOM_ID")}, {current});
    };
    keep(*m_goodsNames);
    for (const auto &area : m_areas) {
        if (area->goods().isOpen())
            keep(area->goods());
    }
}

} // namespace documents
