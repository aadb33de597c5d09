#pragma once

#include <QString>

#include <optional>

namespace data {

class SqlSession;

// The goods item carrying `code` among its barcodes; none for a code no
// goods item carries. The code is taken as the scanner typed it, without
// the spaces around it.
std::optional<int> goodsByBarcode(SqlSession &session, const QString &code);

} // namespace data
