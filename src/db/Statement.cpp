#include "db/Statement.h"

#include "db/Attachment.h"
#include "db/FbClient.h"
#include "db/NamedParameters.h"
#include "db/Transaction.h"
#include "db/ValueDecoding.h"
#include "util/Win1251.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>
#include <cstring>
#include <ctime>
#include <vector>

namespace db {

namespace {

const short kWin1251 = 52;

// Bytes one character of a character set takes at most; the program's own
// texts are Windows-1251, one byte each.
int bytesPerCharacter(short charset)
{
    switch (charset & 0xFF) {
    case 3: // UNICODE_FSS
        return 3;
    case 4: // UTF8
        return 4;
    case 5: // SJIS_0208
    case 6: // EUCJ_0208
    case 44: // KSC_5601
    case 56: // BIG_5
    case 57: // GB_2312
        return 2;
    default:
        return 1;
    }
}

// An XSQLDA with room for its variables and their buffers.
class Descriptor
{
public:
    void resize(int count)
    {
        m_storage.assign(XSQLDA_LENGTH(qMax(count, 1)), 0);
        da()->version = SQLDA_VERSION1;
        da()->sqln = short(qMax(count, 1));
        m_buffers.assign(size_t(qMax(count, 1)), {});
        m_nullFlags.assign(size_t(qMax(count, 1)), 0);
    }
    XSQLDA *da() { return reinterpret_cast<XSQLDA *>(m_storage.data()); }
    const XSQLDA *da() const { return reinterpret_cast<const XSQLDA *>(m_storage.data()); }
    int count() const { return m_storage.empty() ? 0 : da()->sqld; }
    XSQLVAR &var(int i) { return da()->sqlvar[i]; }
    const XSQLVAR &var(int i) const { return da()->sqlvar[i]; }
    std::vector<char> &buffer(int i) { return m_buffers[size_t(i)]; }
    short &nullFlag(int i) { return m_nullFlags[size_t(i)]; }

private:
    std::vector<char> m_storage;
    std::vector<std::vector<char>> m_buffers;
    std::vector<short> m_nullFlags;
};

template<typename T>
void store(Descriptor &descriptor, int i, short type, const T &value)
{
    std::vector<char> &buffer = descriptor.buffer(i);
    buffer.resize(sizeof(T));
    std::memcpy(buffer.data(), &value, sizeof(T));
    XSQLVAR &var = descriptor.var(i);
    var.sqltype = short(type | 1);
    var.sqlscale = 0;
    var.sqllen = short(sizeof(T));
    var.sqldata = buffer.data();
}

// An empty date field gives an invalid date (or time, or moment): no value,
// as a null is, rather than a date the server refuses.
bool isEmptyMoment(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return !value.toDate().isValid();
    case QMetaType::QTime:
        return !value.toTime().isValid();
    case QMetaType::QDateTime:
        return !value.toDateTime().isValid();
    default:
        return false;
    }
}

// Values are sent in their own type and the server converts them to the
// column's; only texts need to know whether the target is a text too.
void bindValue(Descriptor &in, int i, const QVariant &value, bool textTarget, short targetCharset)
{
    XSQLVAR &var = in.var(i);
    in.nullFlag(i) = 0;
    var.sqlind = &in.nullFlag(i);
    if (value.isNull() || !value.isValid() || isEmptyMoment(value)) {
        store(in, i, SQL_INT64, ISC_INT64(0));
        in.nullFlag(i) = -1;
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
        store(in, i, SQL_INT64, ISC_INT64(value.toLongLong()));
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        store(in, i, SQL_DOUBLE, value.toDouble());
        return;
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        std::tm parts{};
        parts.tm_year = date.year() - 1900;
        parts.tm_mon = date.month() - 1;
        parts.tm_mday = date.day();
        ISC_DATE encoded;
        isc_encode_sql_date(&parts, &encoded);
        store(in, i, SQL_TYPE_DATE, encoded);
        return;
    }
    case QMetaType::QTime: {
        const QTime time = value.toTime();
        std::tm parts{};
        parts.tm_hour = time.hour();
        parts.tm_min = time.minute();
        parts.tm_sec = time.second();
        ISC_TIME encoded;
        isc_encode_sql_time(&parts, &encoded);
        encoded += ISC_TIME(time.msec() * 10);
        store(in, i, SQL_TYPE_TIME, encoded);
        return;
    }
    case QMetaType::QDateTime: {
        const QDateTime moment = value.toDateTime();
        std::tm parts{};
        parts.tm_year = moment.date().year() - 1900;
        parts.tm_mon = moment.date().month() - 1;
        parts.tm_mday = moment.date().day();
        parts.tm_hour = moment.time().hour();
        parts.tm_min = moment.time().minute();
        parts.tm_sec = moment.time().second();
        ISC_TIMESTAMP encoded;
        isc_encode_timestamp(&parts, &encoded);
        encoded.timestamp_time += ISC_TIME(moment.time().msec() * 10);
        store(in, i, SQL_TIMESTAMP, encoded);
        return;
    }
    default: {
        const QByteArray bytes = varnex::toWin1251(value.toString());
        if (bytes.size() > 32765)
            throw varnex::Error(QStringLiteral("Текстът е твърде дълъг."));
        std::vector<char> &buffer = in.buffer(i);
        buffer.resize(sizeof(short) + size_t(bytes.size()));
        const short length = short(bytes.size());
        std::memcpy(buffer.data(), &length, sizeof length);
        std::memcpy(buffer.data() + sizeof length, bytes.constData(), size_t(bytes.size()));
        var.sqltype = SQL_VARYING | 1;
        var.sqlsubtype = textTarget ? targetCharset : kWin1251;
        var.sqlscale = 0;
        var.sqllen = length;
        var.sqldata = buffer.data();
        return;
    }
    }
}

void allocateOutput(Descriptor &out)
{
    for (int i = 0; i < out.count(); ++i) {
        XSQLVAR &var = out.var(i);
        const short type = short(var.sqltype & ~1);
        size_t size = size_t(var.sqllen);
        if (type == SQL_VARYING)
            size += sizeof(short);
        out.buffer(i).assign(qMax<size_t>(size, 8), 0);
        var.sqldata = out.buffer(i).data();
        var.sqlind = &out.nullFlag(i);
    }
}

QByteArray readBlobBytes(Handle *attachment, Handle *transaction, const ISC_QUAD &id)
{
    Handle blob = 0;
    ISC_QUAD blobId = id;
    Status status;
    isc_open_blob2(&status, attachment, transaction, &blob, &blobId, 0, nullptr);
    status.check();
    QByteArray bytes;
    char segment[8192];
    for (;;) {
        unsigned short length = 0;
        const ISC_STATUS result = isc_get_segment(&status, &blob, &length, sizeof segment, segment);
        if (result != 0 && result != isc_segment)
            break;
        bytes.append(segment, length);
    }
    Status closeStatus;
    isc_close_blob(&closeStatus, &blob);
    return bytes;
}

// Text blobs (what LIST() and long texts give) as text.
QString readBlob(Handle *attachment, Handle *transaction, const ISC_QUAD &id)
{
    return varnex::fromWin1251(readBlobBytes(attachment, transaction, id));
}

QVariant decode(const XSQLVAR &var, Handle *attachment, Handle *transaction)
{
    if ((var.sqltype & 1) && *var.sqlind < 0)
        return QVariant();
    const int type = var.sqltype & ~1;
    if (type == SQL_BLOB)
        return readBlob(attachment, transaction, *reinterpret_cast<const ISC_QUAD *>(var.sqldata));
    return decodeValue(type, var.sqlscale, var.sqllen, var.sqldata);
}

int statementType(Handle *handle, const QString &sql)
{
    const char items[] = {isc_info_sql_stmt_type};
    char buffer[16];
    Status status;
    isc_dsql_sql_info(&status, handle, sizeof items, items, sizeof buffer, buffer);
    status.check(sql);
    const short length = short(isc_vax_integer(buffer + 1, 2));
    return int(isc_vax_integer(buffer + 3, length));
}

} // namespace

struct Statement::Data
{
    Data(Attachment &a, Transaction &t)
        : attachment(a)
        , transaction(t)
    {
    }

    Attachment &attachment;
    Transaction &transaction;
    Handle handle = 0;
    Descriptor in;
    Descriptor out;
    QStringList names;
    std::vector<QVariant> values; // one per marker
    std::vector<bool> textTargets;
    std::vector<short> targetCharsets;
    int type = 0;
    bool cursorOpen = false;
    bool pendingProcedureRow = false;
};

Statement::Statement(Attachment &attachment, Transaction &transaction)
    : d(std::make_unique<Data>(attachment, transaction))
{
}

Statement::~Statement()
{
    if (!d->handle)
        return;
    Status status;
    isc_dsql_free_statement(&status, &d->handle, DSQL_drop);
}

void Statement::prepare(const QString &sql, Parameters parameters)
{
    m_sql = sql;
    if (d->handle) {
        Status status;
        isc_dsql_free_statement(&status, &d->handle, DSQL_drop);
        d->handle = 0;
    }
    d->cursorOpen = false;
    d->pendingProcedureRow = false;
    d->transaction.start();

    QString text = sql;
    d->names.clear();
    if (parameters == Parameters::Named) {
        PositionalStatement positional = toPositional(sql);
        text = positional.text;
        d->names = positional.names;
    }
    const QByteArray bytes = varnex::toWin1251(text);

    Status status;
    isc_dsql_allocate_statement(&status, d->attachment.handle(), &d->handle);
    status.check(sql);
    d->out.resize(1);
    isc_dsql_prepare(&status, d->transaction.handle(), &d->handle, 0, bytes.constData(), 3, d->out.da());
    status.check(sql);
    if (d->out.count() > d->out.da()->sqln) {
        d->out.resize(d->out.count());
        isc_dsql_describe(&status, &d->handle, 1, d->out.da());
        status.check(sql);
    }
    allocateOutput(d->out);

    d->in.resize(1);
    isc_dsql_describe_bind(&status, &d->handle, 1, d->in.da());
    status.check(sql);
    if (d->in.count() > d->in.da()->sqln) {
        d->in.resize(d->in.count());
        isc_dsql_describe_bind(&status, &d->handle, 1, d->in.da());
        status.check(sql);
    }
    d->values.assign(size_t(d->in.count()), QVariant());
    d->textTargets.clear();
    d->targetCharsets.clear();
    for (int i = 0; i < d->in.count(); ++i) {
        const short type = short(d->in.var(i).sqltype & ~1);
        d->textTargets.push_back(type == SQL_TEXT || type == SQL_VARYING);
        d->targetCharsets.push_back(d->in.var(i).sqlsubtype);
    }
    d->type = statementType(&d->handle, sql);
}

const QStringList &Statement::parameterNames() const
{
    return d->names;
}

bool Statement::hasParameter(const QString &name) const
{
    return d->names.contains(name.toUpper());
}

void Statement::setParameter(const QString &name, const QVariant &value)
{
    const QString upper = name.toUpper();
    bool found = false;
    for (int i = 0; i < d->names.size(); ++i) {
        if (d->names.at(i) == upper) {
            d->values[size_t(i)] = value;
            found = true;
        }
    }
    if (!found)
        throw varnex::Error(QStringLiteral("Няма параметър %1").arg(name), m_sql);
}

void Statement::execute()
{
    if (!d->handle)
        throw varnex::Error(QStringLiteral("Заявката не е подготвена."));
    close();
    for (int i = 0; i < d->in.count(); ++i)
        bindValue(d->in, i, d->values[size_t(i)], d->textTargets[size_t(i)], d->targetCharsets[size_t(i)]);
    XSQLDA *in = d->in.count() ? d->in.da() : nullptr;
    d->transaction.start();

    Status status;
    if (d->type == isc_info_sql_stmt_exec_procedure) {
        isc_dsql_execute2(&status, d->transaction.handle(), &d->handle, 1, in,
                          d->out.count() ? d->out.da() : nullptr);
        status.check(m_sql);
        d->pendingProcedureRow = d->out.count() > 0;
        return;
    }
    isc_dsql_execute(&status, d->transaction.handle(), &d->handle, 1, in);
    status.check(m_sql);
    d->cursorOpen = d->type == isc_info_sql_stmt_select || d->type == isc_info_sql_stmt_select_for_upd;
}

bool Statement::fetch()
{
    if (d->pendingProcedureRow) {
        d->pendingProcedureRow = false;
        return true;
    }
    if (!d->cursorOpen)
        return false;
    Status status;
    const ISC_STATUS result = isc_dsql_fetch(&status, &d->handle, 1, d->out.da());
    if (result == 100) {
        close();
        return false;
    }
    status.check(m_sql);
    return true;
}

void Statement::close()
{
    d->pendingProcedureRow = false;
    if (!d->cursorOpen)
        return;
    d->cursorOpen = false;
    Status status;
    isc_dsql_free_statement(&status, &d->handle, DSQL_close);
}

int Statement::columnCount() const
{
    return d->out.count();
}

QString Statement::columnName(int column) const
{
    const XSQLVAR &var = d->out.var(column);
    return varnex::fromWin1251(QByteArray(var.aliasname, var.aliasname_length));
}

int Statement::columnIndex(const QString &name) const
{
    for (int i = 0; i < columnCount(); ++i) {
        if (columnName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Statement::value(int column) const
{
    return decode(d->out.var(column), d->attachment.handle(), d->transaction.handle());
}

void Statement::packRow(std::vector<char> &row) const
{
    row.clear();
    const auto append = [&row](const void *bytes, size_t size) {
        const char *from = static_cast<const char *>(bytes);
        row.insert(row.end(), from, from + size);
    };
    for (int column = 0; column < columnCount(); ++column) {
        const XSQLVAR &var = d->out.var(column);
        if ((var.sqltype & 1) && *var.sqlind < 0) {
            row.push_back(0);
            continue;
        }
        row.push_back(1);
        const int type = var.sqltype & ~1;
        if (type == SQL_BLOB) {
            const QByteArray text = readBlobBytes(d->attachment.handle(), d->transaction.handle(),
                                                  *reinterpret_cast<const ISC_QUAD *>(var.sqldata));
            const qint32 size = qint32(text.size());
            append(&size, sizeof size);
            append(text.constData(), size_t(size));
        } else if (type == SQL_VARYING) {
            short size;
            std::memcpy(&size, var.sqldata, sizeof size);
            append(var.sqldata, sizeof size + size_t(size));
        } else {
            append(var.sqldata, size_t(fixedValueSize(type, var.sqllen)));
        }
    }
}

std::vector<PackedColumn> Statement::packedColumns() const
{
    std::vector<PackedColumn> columns;
    for (int column = 0; column < columnCount(); ++column) {
        const XSQLVAR &var = d->out.var(column);
        columns.push_back({var.sqltype & ~1, var.sqlscale, var.sqllen});
    }
    return columns;
}

int Statement::columnLength(int column) const
{
    const XSQLVAR &var = d->out.var(column);
    const short type = short(var.sqltype & ~1);
    if (type != SQL_TEXT && type != SQL_VARYING)
        return 0;
    return var.sqllen / bytesPerCharacter(var.sqlsubtype);
}

QVariant Statement::value(const QString &name) const
{
    const int column = columnIndex(name);
    if (column < 0)
        throw varnex::Error(QStringLiteral("Няма поле %1").arg(name), m_sql);
    return value(column);
}

qint64 Statement::rowsAffected()
{
    const char items[] = {isc_info_sql_records};
    char buffer[64];
    Status status;
    isc_dsql_sql_info(&status, &d->handle, sizeof items, items, sizeof buffer, buffer);
    if (status.failed() || buffer[0] != isc_info_sql_records)
        return -1;
    qint64 changed = 0;
    const char *p = buffer + 3;
    while (p < buffer + sizeof buffer && *p != isc_info_end) {
        const char item = *p++;
        const short length = short(isc_vax_integer(p, 2));
        p += 2;
        const qint64 count = isc_vax_integer(p, length);
        p += length;
        if (item == isc_info_req_insert_count || item == isc_info_req_update_count
            || item == isc_info_req_delete_count)
            changed += count;
    }
    return changed;
}

} // namespace db

namespace db {

QString Statement::plan()
{
    const char items[] = {isc_info_sql_get_plan};
    std::vector<char> buffer(16384);
    Status status;
    isc_dsql_sql_info(&status, &d->handle, sizeof items, items, short(buffer.size()), buffer.data());
    status.check(m_sql);
    if (buffer[0] != isc_info_sql_get_plan)
        return QString();
    const int length = int(isc_vax_integer(buffer.data() + 1, 2));
    return QString::fromLatin1(buffer.data() + 3, length).trimmed();
}

} // namespace db
