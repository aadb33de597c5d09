#pragma once

#include <QVariantList>

#include <memory>
#include <vector>

namespace db {

// A column as the engine describes it: its type, scale and declared length.
struct PackedColumn
{
    int type = 0;
    int scale = 0;
    int length = 0;
};

// Rows kept as the engine delivered them, each in as few bytes as its
// values need (a mark for null, then the value's bytes; texts as long as
// they are), and decoded only when a value is asked for. A stored row never
// moves, so callers hold it by its address until the rows are freed.
class PackedRows
{
public:
    explicit PackedRows(std::vector<PackedColumn> columns);

    // Copies the row's bytes, as Statement::packRow lays them out.
    const char *store(const std::vector<char> &row);
    QVariant value(const char *row, int column) const;
    QVariantList values(const char *row) const;
    int columnCount() const { return int(m_columns.size()); }

private:
    const char *skip(const char *at, int column) const;
    QVariant decodeAt(const char *at, int column) const;

    std::vector<PackedColumn> m_columns;
    std::vector<int> m_fixedSizes;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    size_t m_blockSize = 0; // of the last block
    size_t m_used = 0;      // of the last block
};

} // namespace db
