#include "db/PackedRows.h"

#include "db/FbClient.h"
#include "db/ValueDecoding.h"
#include "util/Win1251.h"

#include <cstring>

namespace db {

namespace {

// Large enough that the block headers cost nothing per row, small enough
// that a short list does not hold much it never uses.
const size_t kBlockSize = 64 * 1024;

} // namespace

PackedRows::PackedRows(std::vector<PackedColumn> columns)
    : m_columns(std::move(columns))
{
    for (const PackedColumn &column : m_columns)
        m_fixedSizes.push_back(fixedValueSize(column.type, column.length));
}

const char *PackedRows::store(const std::vector<char> &row)
{
    if (m_blocks.empty() || row.size() > m_blockSize - m_used) {
        m_blockSize = std::max(kBlockSize, row.size());
        m_blocks.push_back(std::make_unique<char[]>(m_blockSize));
        m_used = 0;
    }
    char *at = m_blocks.back().get() + m_used;
    std::memcpy(at, row.data(), row.size());
    m_used += row.size();
    return at;
}

const char *PackedRows::skip(const char *at, int column) const
{
    if (*at == 0)
        return at + 1;
    ++at;
    switch (m_columns[size_t(column)].type) {
    case SQL_VARYING:
        return at + sizeof(short) + readUnaligned<short>(at);
    case SQL_BLOB:
        return at + sizeof(qint32) + readUnaligned<qint32>(at);
    default:
        return at + m_fixedSizes[size_t(column)];
    }
}

QVariant PackedRows::decodeAt(const char *at, int column) const
{
    if (*at == 0)
        return QVariant();
    const PackedColumn &described = m_columns[size_t(column)];
    const char *data = at + 1;
    if (described.type == SQL_BLOB)
        return varnex::fromWin1251(QByteArray(data + sizeof(qint32), readUnaligned<qint32>(data)));
    return decodeValue(described.type, described.scale, described.length, data);
}

QVariant PackedRows::value(const char *row, int column) const
{
    if (column < 0 || column >= columnCount())
        return QVariant();
    for (int before = 0; before < column; ++before)
        row = skip(row, before);
    return decodeAt(row, column);
}

QVariantList PackedRows::values(const char *row) const
{
    QVariantList result;
    result.reserve(columnCount());
    for (int column = 0; column < columnCount(); ++column) {
        result << decodeAt(row, column);
        row = skip(row, column);
    }
    return result;
}

} // namespace db
