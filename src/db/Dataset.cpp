#include "db/Dataset.h"

#include "db/NamedParameters.h"
#include "db/PackedRows.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "util/NumberFormat.h"

#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QElapsedTimer>
#include <QLocale>
#include <QRegularExpression>
#include <QTimer>

#include <climits>
#include <optional>

#include <cmath>

namespace db {

namespace {

// A screen of the largest grid and a few more; the first screen shows
// without waiting for the rest.
const int kFirstRows = 200;
// Rows read when more are asked for, so a search or a scroll through the
// list does not go to the engine for every row.
const int kReadStep = 500;
// How long one idle-time burst may keep the program from its events.
const int kIdleBurstMs = 8;

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// Key values compare by meaning: 7 equals 7.0, null equals only null.
bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (isNumber(a) || isNumber(b)) {
        bool okA = false;
        bool okB = false;
        const double x = a.toDouble(&okA);
        const double y = b.toDouble(&okB);
        return okA && okB && std::fabs(x - y) < 1e-9;
    }
    return a == b;
}

// "select 1 from T where <the update's condition> with lock": the row the
// update is about to write, locked for this transaction, so no other
// workstation can commit a change between the comparison and the write.
// Empty when the update names no single row by a condition.
QString rowLockSql(const QString &updateSql)
{
    static const QRegularExpression update(
        QStringLiteral("^\\s*update\\s+(\\S+)\\s+set\\s.*\\swhere\\s(.+)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = update.match(updateSql);
    if (!match.hasMatch())
        return QString();
    return QStringLiteral("select 1 from %1 where %2 with lock").arg(match.captured(1), match.captured(2));
}

// "select COLUMNS from TABLE where CONDITION": one row of one table.
struct RowSelect
{
    QString columns;
    QString table;
    QString condition;
};

std::optional<RowSelect> rowSelect(const QString &sql)
{
    static const QRegularExpression select(
        QStringLiteral("^\\s*select\\s+(.+?)\\s+from\\s+(\\w+)\\s+where\\s+(.+?)\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = select.match(sql);
    if (!match.hasMatch())
        return std::nullopt;
    return RowSelect{match.captured(1).simplified(), match.captured(2), match.captured(3).simplified()};
}

// The re-read that compares the row, locking it as it reads, when it reads
// the very row the update writes: one statement where a lock and a re-read
// would be two. Empty otherwise.
QString lockingRereadSql(const QString &refreshSql, const QString &updateSql)
{
    static const QRegularExpression update(
        QStringLiteral("^\\s*update\\s+(\\w+)\\s+set\\s.*\\swhere\\s(.+?)\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression oldValue(QStringLiteral(":OLD_"), QRegularExpression::CaseInsensitiveOption);
    const std::optional<RowSelect> reread = rowSelect(refreshSql);
    const QRegularExpressionMatch written = update.match(updateSql);
    if (!reread || !written.hasMatch() || reread->table.compare(written.captured(1), Qt::CaseInsensitive) != 0)
        return QString();
    const QString condition = written.captured(2).simplified().replace(oldValue, QStringLiteral(":"));
    if (condition.compare(reread->condition, Qt::CaseInsensitive) != 0)
        return QString();
    return refreshSql + QStringLiteral(" with lock");
}

// The insert giving back what the re-read would read, when the re-read
// names its columns of the inserted table: one statement, not two. The only
// trigger that follows an insert writes other tables. Empty otherwise.
QString insertReturningSql(const QString &insertSql, const QString &refreshSql)
{
    static const QRegularExpression insert(QStringLiteral("^\\s*insert\\s+into\\s+(\\w+)\\s*\\("),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression namedColumns(QStringLiteral("^\\w+(\\s*,\\s*\\w+)*$"));
    static const QRegularExpression returning(QStringLiteral("\\breturning\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    const std::optional<RowSelect> reread = rowSelect(refreshSql);
    const QRegularExpressionMatch inserted = insert.match(insertSql);
    if (!reread || !inserted.hasMatch() || reread->table.compare(inserted.captured(1), Qt::CaseInsensitive) != 0
        || !namedColumns.match(reread->columns).hasMatch() || returning.match(insertSql).hasMatch())
        return QString();
    return insertSql + QStringLiteral(" returning ") + reread->columns;
}

} // namespace

Dataset::Dataset(Attachment &attachment, Transaction &transaction, QObject *parent)
    : QObject(parent)
    , m_attachment(attachment)
    , m_transaction(transaction)
    , m_idleReading(new QTimer(this))
{
    m_idleReading->setSingleShot(true);
    m_idleReading->setInterval(0);
    connect(m_idleReading, &QTimer::timeout, this, &Dataset::readInIdleTime);
}

Dataset::~Dataset()
{
    dropCursor();
}

void Dataset::setSelectSql(const QString &sql)
{
    m_selectSql = sql;
}

void Dataset::setParam(const QString &name, const QVariant &value)
{
    m_params.insert(name.toUpper(), value);
}

QVariantList Dataset::readRow(Statement &statement) const
{
    QVariantList row;
    row.reserve(statement.columnCount());
    for (int column = 0; column < statement.columnCount(); ++column)
        row << statement.value(column);
    return row;
}

int Dataset::dataFieldCount() const
{
    int count = 0;
    for (const Field &field : m_fields)
        count += field.kind == Field::Kind::Data ? 1 : 0;
    return count;
}

void Dataset::open()
{
    open(true);
}

void Dataset::openWithoutRows()
{
    open(false);
}

void Dataset::open(bool readRows)
{
    if (isOpen())
        close();
    auto opened = std::make_unique<Statement>(m_attachment, m_transaction);
    Statement &statement = *opened;
    statement.prepare(m_selectSql);
    for (const QString &name : statement.parameterNames())
        statement.setParameter(name, m_params.value(name));
    if (readRows)
        statement.execute();

    // Data fields follow the statement; calculated and look-up fields stay.
    std::vector<Field> fields;
    for (int column = 0; column < statement.columnCount(); ++column) {
        Field field;
        field.name = statement.columnName(column);
        field.length = statement.columnLength(column);
        fields.push_back(field);
    }
    for (const Field &field : m_fields) {
        if (field.kind != Field::Kind::Data)
            fields.push_back(field);
    }
    m_fields = fields;

    m_rows.clear();
    m_lookupIndex.clear();
    if (!readRows) {
        m_packed.reset();
    } else if (m_fetchOnDemand) {
        m_packed = std::make_unique<PackedRows>(statement.packedColumns());
        m_cursor = std::move(opened);
        // A commit or rollback would close the cursor under the rows still
        // to read, so they are read before it; a lost connection leaves
        // the dataset with what it has.
        m_endWatch = m_transaction.watchEnd([this](bool lost) {
            if (!lost) {
                try {
                    readRest();
                    return;
                } catch (const varnex::Error &error) {
                    qWarning().noquote() << "The rest of a list could not be read:" << error.message()
                                         << error.detail();
                }
            }
            dropCursor();
        });
        try {
            pullRows(kFirstRows);
        } catch (...) {
            dropCursor();
            m_packed.reset();
            throw;
        }
        if (m_cursor)
            m_idleReading->start();
    } else {
        m_packed.reset();
        while (statement.fetch())
            m_rows.push_back({nullptr, readRow(statement)});
    }
    m_current = m_rows.empty() ? -1 : 0;
    m_eof = m_rows.empty();
    m_modified = false;
    m_state = State::Browse;
    announceReset();
    if (m_scrollEvents && afterScroll)
        afterScroll(*this);
}

void Dataset::close()
{
    if (!isOpen())
        return;
    dropCursor();
    std::vector<Row>().swap(m_rows); // a closed list holds no room for rows
    m_packed.reset();
    m_lookupIndex.clear();
    m_current = -1;
    m_eof = true;
    m_buffer.clear();
    m_original.clear();
    m_modified = false;
    m_state = State::Inactive;
    announceReset();
}

void Dataset::reopen()
{
    close();
    open();
}

int Dataset::pullRows(int count) const
{
    // Reading rows changes what the dataset holds, not what it is, so the
    // const accessors read on; datasets are never made as const objects.
    auto &self = const_cast<Dataset &>(*this);
    std::vector<char> bytes;
    int read = 0;
    while (self.m_cursor && read < count) {
        if (!self.m_cursor->fetch()) {
            self.dropCursor();
            break;
        }
        self.m_cursor->packRow(bytes);
        self.m_rows.push_back({self.m_packed->store(bytes), {}});
        ++read;
    }
    return read;
}

void Dataset::announceFetched(int first) const
{
    auto &self = const_cast<Dataset &>(*this);
    if (fetchedCount() == first)
        return;
    m_lookupIndex.clear();
    if (controlsDisabled())
        self.m_pendingReset = true;
    else
        Q_EMIT self.rowsFetched(first, fetchedCount() - 1);
}

void Dataset::readRows(int count) const
{
    const int first = fetchedCount();
    try {
        pullRows(count);
    } catch (...) {
        announceFetched(first);
        throw;
    }
    announceFetched(first);
}

void Dataset::readRest() const
{
    readRows(INT_MAX);
}

bool Dataset::hasRow(int row) const
{
    if (row < fetchedCount())
        return row >= 0;
    if (row < 0 || !m_cursor)
        return false;
    readRows(qMax(row + 1 - fetchedCount(), kReadStep));
    return row < fetchedCount();
}

void Dataset::fetchMore(int rows)
{
    readRows(rows);
}

void Dataset::readInIdleTime()
{
    const int first = fetchedCount();
    QElapsedTimer burst;
    burst.start();
    try {
        while (m_cursor && burst.elapsed() < kIdleBurstMs)
            pullRows(kReadStep);
    } catch (const varnex::Error &error) {
        // The rest is left to be read on demand, where a failure reaches
        // the user through the command that asked.
        qWarning().noquote() << "Reading a list in the background stopped:" << error.message() << error.detail();
        announceFetched(first);
        return;
    }
    announceFetched(first);
    if (m_cursor)
        m_idleReading->start();
}

void Dataset::dropCursor()
{
    m_idleReading->stop();
    m_cursor.reset();
    if (m_endWatch) {
        m_transaction.unwatchEnd(m_endWatch);
        m_endWatch = 0;
    }
}

int Dataset::recordCount() const
{
    readRest();
    return fetchedCount();
}

bool Dataset::isEmpty() const
{
    return !hasRow(0);
}

QVariant Dataset::storedValue(int row, int field) const
{
    const Row &stored = m_rows.at(size_t(row));
    return stored.packed ? m_packed->value(stored.packed, field) : stored.values.value(field);
}

QVariantList Dataset::storedRow(int row) const
{
    const Row &stored = m_rows.at(size_t(row));
    return stored.packed ? m_packed->values(stored.packed) : stored.values;
}

void Dataset::announceReset()
{
    if (controlsDisabled()) {
        m_pendingReset = true;
        return;
    }
    Q_EMIT reset();
    Q_EMIT stateChanged();
    Q_EMIT currentChanged();
}

void Dataset::disableControls()
{
    ++m_disabledControls;
}

void Dataset::enableControls()
{
    if (m_disabledControls == 0 || --m_disabledControls > 0)
        return;
    if (m_pendingReset) {
        m_pendingReset = false;
        announceReset();
    }
}

void Dataset::setState(State state)
{
    m_state = state;
    if (controlsDisabled())
        m_pendingReset = true;
    else
        Q_EMIT stateChanged();
}

void Dataset::setCurrent(int row)
{
    hasRow(qMax(row, 0));
    if (m_rows.empty()) {
        m_eof = true;
        return;
    }
    row = qBound(0, row, fetchedCount() - 1);
    if (row == m_current)
        return;
    if (isEditing())
        post();
    if (m_scrollEvents && beforeScroll)
        beforeScroll(*this);
    m_current = row;
    if (controlsDisabled())
        m_pendingReset = true;
    else
        Q_EMIT currentChanged();
    if (m_scrollEvents && afterScroll)
        afterScroll(*this);
}

void Dataset::first()
{
    setCurrent(0);
    m_eof = m_rows.empty();
}

void Dataset::last()
{
    setCurrent(recordCount() - 1);
    m_eof = m_rows.empty();
}

void Dataset::next()
{
    if (!hasRow(m_current + 1)) {
        m_eof = true;
        return;
    }
    setCurrent(m_current + 1);
    m_eof = false;
}

void Dataset::prior()
{
    setCurrent(m_current - 1);
    m_eof = m_rows.empty();
}

void Dataset::moveTo(int row)
{
    setCurrent(row);
    m_eof = m_rows.empty();
}

QString Dataset::fieldName(int field) const
{
    return m_fields.at(size_t(field)).name;
}

int Dataset::fieldIndex(const QString &name) const
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

int Dataset::requireField(const QString &name) const
{
    const int field = fieldIndex(name);
    if (field < 0)
        throw varnex::Error(QStringLiteral("Field '%1' not found").arg(name));
    return field;
}

int Dataset::fieldLength(const QString &name) const
{
    const int field = fieldIndex(name);
    return field < 0 ? 0 : m_fields[size_t(field)].length;
}

QVariant Dataset::value(const QString &field) const
{
    if (m_current < 0)
        return QVariant();
    return value(m_current, requireField(field));
}

QVariant Dataset::value(int row, int field) const
{
    const Field &definition = m_fields.at(size_t(field));
    switch (definition.kind) {
    case Field::Kind::Data:
        if (row == m_current && isEditing())
            return m_buffer.value(field);
        hasRow(row);
        return storedValue(row, field);
    case Field::Kind::Calculated:
        return definition.compute(*this, row);
    case Field::Kind::Lookup: {
        const int keyField = fieldIndex(definition.keyField);
        if (keyField < 0 || !definition.lookup)
            return QVariant();
        return definition.lookup->lookupValue(definition.lookupKey, value(row, keyField), definition.lookupResult);
    }
    }
    return QVariant();
}

QString Dataset::displayText(int row, int field) const
{
    const QVariant raw = value(row, field);
    const QString name = m_fields.at(size_t(field)).name.toUpper();
    const DisplayRule rule = m_rules.value(name, DisplayRule::Plain);
    const QString format = m_formats.value(name);
    if (rule == DisplayRule::YesNo)
        return raw.toInt() == 1 ? QStringLiteral(" да ") : QStringLiteral(" не ");
    if (raw.isNull())
        return QString();
    if (rule == DisplayRule::Percent) {
        const double percent = raw.toDouble() * 100;
        return format.isEmpty() ? QLocale().toString(percent, 'g', 12) : varnex::formatFloat(format, percent);
    }
    if (!format.isEmpty() && isNumber(raw))
        return varnex::formatFloat(format, raw.toDouble());
    switch (raw.typeId()) {
    case QMetaType::QDate:
        return raw.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QDateTime:
        return raw.toDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    case QMetaType::QTime:
        return raw.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Double:
        return QLocale().toString(raw.toDouble(), 'g', 15);
    default:
        return raw.toString();
    }
}

QString Dataset::displayText(const QString &field) const
{
    if (m_current < 0)
        return QString();
    return displayText(m_current, requireField(field));
}

void Dataset::setValue(const QString &field, const QVariant &value)
{
    if (!isEditing())
        throw varnex::Error(QStringLiteral("Записът не е в режим на редакция."));
    const int index = requireField(field);
    if (m_fields[size_t(index)].kind != Field::Kind::Data)
        throw varnex::Error(QStringLiteral("Полето %1 не може да се променя.").arg(field));
    const QVariant stored = displayRule(field) == DisplayRule::Percent && isNumber(value)
                                ? QVariant(value.toDouble())
                                : value;
    if (sameValue(m_buffer.value(index), stored) && m_buffer.value(index).isNull() == stored.isNull())
        return;
    m_buffer[index] = stored;
    m_modified = true;
    if (!controlsDisabled())
        Q_EMIT rowChanged(m_current);
}

void Dataset::append()
{
    if (!isOpen())
        throw varnex::Error(QStringLiteral("Списъкът не е отворен."));
    if (isEditing())
        post();
    // A new row goes after every row of the result.
    readRest();
    if (m_scrollEvents && beforeScroll)
        beforeScroll(*this);
    m_buffer = QVariantList();
    for (int i = 0; i < dataFieldCount(); ++i)
        m_buffer << QVariant();
    m_original = m_buffer;
    m_rows.push_back({nullptr, m_buffer});
    m_lookupIndex.clear();
    m_current = recordCount() - 1;
    m_eof = false;
    m_state = State::Insert;
    if (onNewRecord)
        onNewRecord(*this);
    m_modified = false;
    if (controlsDisabled()) {
        m_pendingReset = true;
    } else {
        Q_EMIT rowInserted(m_current);
        Q_EMIT stateChanged();
        Q_EMIT currentChanged();
    }
    if (m_scrollEvents && afterScroll)
        afterScroll(*this);
}

void Dataset::edit()
{
    if (isEditing())
        return;
    if (!isOpen() || isEmpty())
        throw varnex::Error(QStringLiteral("Няма запис за редакция."));
    m_buffer = storedRow(m_current);
    m_original = m_buffer;
    m_modified = false;
    setState(State::Edit);
}

void Dataset::bindRow(Statement &statement, const QVariantList &current, const QVariantList &original) const
{
    for (const QString &name : statement.parameterNames()) {
        const bool old = name.startsWith(QLatin1String("OLD_"));
        const int field = fieldIndex(old ? name.mid(4) : name);
        if (field >= 0 && m_fields[size_t(field)].kind == Field::Kind::Data)
            statement.setParameter(name, (old ? original : current).value(field));
        else if (m_params.contains(name))
            statement.setParameter(name, m_params.value(name));
    }
}

qint64 Dataset::runChange(const QString &sql)
{
    if (sql.isEmpty())
        throw varnex::Error(QStringLiteral("Списъкът не може да бъде променян."));
    Statement statement(m_attachment, m_transaction);
    statement.prepare(sql);
    bindRow(statement, m_buffer, m_original);
    statement.execute();
    return statement.rowsAffected();
}

bool Dataset::insertRow()
{
    if (m_insertSql.isEmpty())
        throw varnex::Error(QStringLiteral("Списъкът не може да бъде променян."));
    // An insert either stores its row or fails, so its count is not asked.
    const QString returning = insertReturningSql(m_insertSql, m_refreshSql);
    Statement statement(m_attachment, m_transaction);
    statement.prepare(returning.isEmpty() ? m_insertSql : returning);
    bindRow(statement, m_buffer, m_original);
    statement.execute();
    if (returning.isEmpty() || !statement.fetch())
        return false;
    takeStoredValues(statement);
    return true;
}

void Dataset::takeStoredValues(Statement &statement)
{
    const QVariantList row = readRow(statement);
    for (int column = 0; column < statement.columnCount(); ++column) {
        const int field = fieldIndex(statement.columnName(column));
        if (field >= 0 && field < m_buffer.size())
            m_buffer[field] = row.at(column);
    }
}

bool Dataset::lockStoredRow()
{
    const QString sql = rowLockSql(m_updateSql);
    if (sql.isEmpty())
        return true;
    Statement lock(m_attachment, m_transaction);
    lock.prepare(sql);
    bindRow(lock, m_original, m_original);
    lock.execute();
    return lock.fetch();
}

void Dataset::releaseLocks() noexcept
{
    // Nothing else is pending in a transaction that commits every change at
    // once; a lost connection has let go of the locks already.
    try {
        m_transaction.commitRetaining();
    } catch (...) {
    }
}

bool Dataset::storedRowDiffers(const QString &sql)
{
    Statement stored(m_attachment, m_transaction);
    stored.prepare(sql);
    bindRow(stored, m_original, m_original);
    stored.execute();
    if (!stored.fetch())
        return true;
    for (int column = 0; column < stored.columnCount(); ++column) {
        const int field = fieldIndex(stored.columnName(column));
        if (field < 0 || field >= m_original.size())
            continue;
        const QVariant now = stored.value(column);
        const QVariant read = m_original.at(field);
        if (!sameValue(now, read) || now.isNull() != read.isNull())
            return true;
    }
    return false;
}

void Dataset::refuseAsChangedElsewhere(const QString &sql)
{
    // The row is found again by the key its statement names (":OLD_…"),
    // else the list stays near where it was.
    QStringList keys;
    QVariantList values;
    for (const QString &name : toPositional(sql).names) {
        const int field = name.startsWith(QLatin1String("OLD_")) ? fieldIndex(name.mid(4)) : -1;
        if (field >= 0 && m_fields[size_t(field)].kind == Field::Kind::Data && !keys.contains(name.mid(4))) {
            keys << name.mid(4);
            values << m_original.value(field);
        }
    }
    const int row = m_current;
    disableControls();
    try {
        close();
        open();
        if (keys.isEmpty() || !locate(keys, values))
            moveTo(row);
    } catch (...) {
        enableControls();
        throw;
    }
    enableControls();
    throw RecordConflict();
}

void Dataset::post()
{
    if (!isEditing())
        return;
    if (beforePost)
        beforePost(*this);
    bool reread = false;
    try {
        if (m_state == State::Insert) {
            reread = insertRow();
        } else {
            const QString lockingReread = lockingRereadSql(m_refreshSql, m_updateSql);
            const bool changed =
                (lockingReread.isEmpty()
                     ? !lockStoredRow() || (!m_refreshSql.isEmpty() && storedRowDiffers(m_refreshSql))
                     : storedRowDiffers(lockingReread))
                || runChange(m_updateSql) == 0;
            if (changed) {
                releaseLocks();
                refuseAsChangedElsewhere(m_updateSql);
            }
        }
    } catch (...) {
        // A lock taken by the check or the before-post step must not keep
        // other workstations waiting for this one's next change.
        releaseLocks();
        throw;
    }
    m_transaction.commitRetaining();

    if (!m_refreshSql.isEmpty() && !reread) {
        Statement stored(m_attachment, m_transaction);
        stored.prepare(m_refreshSql);
        bindRow(stored, m_buffer, m_original);
        stored.execute();
        if (stored.fetch())
            takeStoredValues(stored);
    }
    m_rows[size_t(m_current)] = {nullptr, m_buffer};
    m_lookupIndex.clear();
    m_modified = false;
    setState(State::Browse);
    if (!controlsDisabled())
        Q_EMIT rowChanged(m_current);
    if (afterPost)
        afterPost(*this);
}

void Dataset::cancel()
{
    if (m_state == State::Insert) {
        const int removed = m_current;
        m_rows.erase(m_rows.begin() + removed);
        m_lookupIndex.clear();
        m_current = qMin(removed, fetchedCount() - 1);
        m_eof = m_rows.empty();
        m_modified = false;
        m_state = State::Browse;
        if (controlsDisabled()) {
            m_pendingReset = true;
        } else {
            Q_EMIT rowRemoved(removed);
            Q_EMIT stateChanged();
            Q_EMIT currentChanged();
        }
        return;
    }
    if (m_state != State::Edit)
        return;
    m_modified = false;
    setState(State::Browse);
    if (!controlsDisabled())
        Q_EMIT rowChanged(m_current);
}

void Dataset::remove()
{
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (!isOpen() || isEmpty())
        throw varnex::Error(QStringLiteral("Няма запис за изтриване."));
    if (m_state == State::Edit)
        cancel();
    m_buffer = storedRow(m_current);
    m_original = m_buffer;
    checkNotUsed();
    if (runChange(m_deleteSql) == 0)
        refuseAsChangedElsewhere(m_deleteSql);
    m_transaction.commitRetaining();
    const int removed = m_current;
    m_rows.erase(m_rows.begin() + removed);
    m_lookupIndex.clear();
    // The row after the removed one may be still unread.
    m_current = hasRow(removed) ? removed : fetchedCount() - 1;
    m_eof = m_rows.empty();
    if (controlsDisabled()) {
        m_pendingReset = true;
    } else {
        Q_EMIT rowRemoved(removed);
        Q_EMIT currentChanged();
    }
    if (m_scrollEvents && afterScroll)
        afterScroll(*this);
}

bool Dataset::locate(const QStringList &fields, const QVariantList &values)
{
    std::vector<int> indexes;
    for (const QString &name : fields)
        indexes.push_back(requireField(name));
    for (int row = 0; hasRow(row); ++row) {
        bool all = true;
        for (size_t i = 0; i < indexes.size() && all; ++i)
            all = sameValue(value(row, indexes[i]), values.value(int(i)));
        if (all) {
            setCurrent(row);
            m_eof = false;
            return true;
        }
    }
    return false;
}

void Dataset::setUsageChecks(const QString &recordName, const QString &keyField, std::vector<UsageCheck> checks)
{
    m_usageRecordName = recordName;
    m_usageKeyField = keyField;
    m_usageChecks = std::move(checks);
}

void Dataset::checkNotUsed()
{
    if (m_usageChecks.empty() || m_current < 0)
        return;
    refuseDeleteIfUsed(m_attachment, m_transaction, m_usageRecordName, value(m_usageKeyField), m_usageChecks);
}

void Dataset::addCalculatedField(const QString &name, std::function<QVariant(const Dataset &, int)> compute)
{
    Field field;
    field.kind = Field::Kind::Calculated;
    field.name = name;
    field.compute = std::move(compute);
    m_fields.push_back(field);
}

void Dataset::addLookupField(const QString &name, const QString &keyField, Dataset *lookup, const QString &lookupKey,
                             const QString &lookupResult)
{
    Field field;
    field.kind = Field::Kind::Lookup;
    field.name = name;
    field.keyField = keyField;
    field.lookup = lookup;
    field.lookupKey = lookupKey;
    field.lookupResult = lookupResult;
    m_fields.push_back(field);
    if (lookup) {
        // Rows showing looked-up values change when the other list does.
        connect(lookup, &Dataset::reset, this, [this] {
            if (!controlsDisabled() && isOpen())
                Q_EMIT reset();
        });
    }
}

void Dataset::setDisplayFormat(const QString &field, const QString &format)
{
    m_formats.insert(field.toUpper(), format);
}

void Dataset::setDisplayRule(const QString &field, DisplayRule rule)
{
    m_rules.insert(field.toUpper(), rule);
}

DisplayRule Dataset::displayRule(const QString &field) const
{
    return m_rules.value(field.toUpper(), DisplayRule::Plain);
}

QVariant Dataset::lookupValue(const QString &keyField, const QVariant &key, const QString &resultField) const
{
    const int keyIndex = fieldIndex(keyField);
    const int resultIndex = fieldIndex(resultField);
    if (keyIndex < 0 || resultIndex < 0 || key.isNull())
        return QVariant();
    // Grids ask for every cell they show, so the key field gets an index of
    // its own at the first look-up; it is dropped whenever the rows change.
    // Numbers are found by their value, so an integer key and a double
    // holding it meet.
    readRest();
    auto index = m_lookupIndex.find(keyIndex);
    if (index == m_lookupIndex.end()) {
        index = m_lookupIndex.emplace(keyIndex, LookupIndex()).first;
        for (int row = fetchedCount() - 1; row >= 0; --row) {
            const QVariant rowKey = storedValue(row, keyIndex);
            if (rowKey.isNull())
                continue;
            if (isNumber(rowKey))
                index->second.numbers.insert(rowKey.toDouble(), row);
            else
                index->second.texts.insert(rowKey.toString(), row);
        }
    }
    const int row = isNumber(key) ? index->second.numbers.value(key.toDouble(), -1)
                                  : index->second.texts.value(key.toString(), -1);
    return row < 0 ? QVariant() : storedValue(row, resultIndex);
}

} // namespace db
