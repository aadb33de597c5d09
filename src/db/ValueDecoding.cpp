#include "db/ValueDecoding.h"

#include "db/FbClient.h"
#include "util/Error.h"
#include "util/Win1251.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>
#include <cstring>
#include <ctime>

namespace db {

namespace {

double scaled(ISC_INT64 raw, int scale)
{
    return double(raw) / std::pow(10.0, -scale);
}

} // namespace

QVariant decodeValue(int type, int scale, int length, const char *data)
{
    switch (type) {
    case SQL_TEXT:
        return varnex::fromWin1251(QByteArray(data, length));
    case SQL_VARYING: {
        const short size = readUnaligned<short>(data);
        return varnex::fromWin1251(QByteArray(data + sizeof size, size));
    }
    case SQL_SHORT: {
        const short v = readUnaligned<short>(data);
        return scale < 0 ? QVariant(scaled(v, scale)) : QVariant(int(v));
    }
    case SQL_LONG: {
        const ISC_LONG v = readUnaligned<ISC_LONG>(data);
        return scale < 0 ? QVariant(scaled(v, scale)) : QVariant(int(v));
    }
    case SQL_INT64: {
        const ISC_INT64 v = readUnaligned<ISC_INT64>(data);
        return scale < 0 ? QVariant(scaled(v, scale)) : QVariant::fromValue<qlonglong>(v);
    }
    case SQL_FLOAT:
        return double(readUnaligned<float>(data));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return readUnaligned<double>(data);
    case SQL_BOOLEAN:
        return bool(readUnaligned<unsigned char>(data));
    case SQL_TYPE_DATE: {
        const ISC_DATE raw = readUnaligned<ISC_DATE>(data);
        std::tm parts{};
        isc_decode_sql_date(&raw, &parts);
        return QDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
    }
    case SQL_TYPE_TIME: {
        const ISC_TIME raw = readUnaligned<ISC_TIME>(data);
        std::tm parts{};
        isc_decode_sql_time(&raw, &parts);
        return QTime(parts.tm_hour, parts.tm_min, parts.tm_sec, int(raw % 10000) / 10);
    }
    case SQL_TIMESTAMP: {
        const ISC_TIMESTAMP raw = readUnaligned<ISC_TIMESTAMP>(data);
        std::tm parts{};
        isc_decode_timestamp(&raw, &parts);
        return QDateTime(QDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday),
                         QTime(parts.tm_hour, parts.tm_min, parts.tm_sec, int(raw.timestamp_time % 10000) / 10));
    }
    default:
        throw varnex::Error(QStringLiteral("Неподдържан тип на колона: %1").arg(type));
    }
}

int fixedValueSize(int type, int length)
{
    switch (type) {
    case SQL_VARYING:
        return int(sizeof(short));
    case SQL_SHORT:
        return int(sizeof(short));
    case SQL_LONG:
    case SQL_FLOAT:
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
        return 4;
    case SQL_INT64:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
    case SQL_TIMESTAMP:
        return 8;
    case SQL_BOOLEAN:
        return 1;
    default:
        return length;
    }
}

} // namespace db
