#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <vector>

namespace reportdata {

// How a column's values are shown, printed and exported.
enum class CellFormat {
    Text,
    Code,     // whole number with leading zeros to its digits
    Count,    // whole number
    Quantity, // up to three decimals
    Price,    // four decimals
    Money,    // two decimals
    Date,
};

struct ReportColumn
{
    QString title;
    CellFormat format = CellFormat::Text;
    // Relative width on screen and paper, in characters.
    int width = 10;
    // Digits of a code column.
    int digits = 0;

    bool numeric() const;
    bool alignRight() const { return numeric(); }
};

// One report's result: what the preview shows, the print draws and the CSV
// holds. Values are numbers, dates or texts; a null value is an empty cell.
// A text in a numeric column (a label in the totals line) is shown as it is.
struct ReportTable
{
    QString title;
    QString parameters;
    std::vector<ReportColumn> columns;
    std::vector<QVariantList> rows;
    // One value per column, or empty when the report has no totals line.
    QVariantList totals;
};

// The text of a value on screen and on paper: the locale's separators and
// thousands grouping.
QString displayText(const ReportColumn &column, const QVariant &value);

// The file a Bulgarian spreadsheet opens with its columns and numbers: UTF-8
// with a byte-order mark, ";" between fields, CR LF after every line, a field
// holding ";", a quote or a line break in quotes (inner quotes doubled),
// numbers with a decimal comma and no grouping, dates as dd.MM.yyyy. The
// title and the parameter line come first, an empty line, then the column
// titles, the rows and the totals.
QByteArray csvBytes(const ReportTable &table);
// Raises the user's message when the file cannot be written.
void writeCsv(const ReportTable &table, const QString &path);

} // namespace reportdata
