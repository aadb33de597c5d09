#include "reportdata/ReportTable.h"

#include "util/Error.h"
#include "util/NumberFormat.h"

#include <QDate>
#include <QDateTime>
#include <QSaveFile>

#include <cmath>
#include <optional>

namespace reportdata {

namespace {

bool isText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString;
}

int decimals(CellFormat format)
{
    switch (format) {
    case CellFormat::Quantity:
        return 3;
    case CellFormat::Price:
        return 4;
    case CellFormat::Money:
        return 2;
    default:
        return 0;
    }
}

QDate dateOf(const QVariant &value)
{
    return value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
}

// A number rounded to the column's decimals, with a decimal comma; a
// quantity drops the zeros a whole number would carry.
QString csvNumber(const ReportColumn &column, double value)
{
    const int places = decimals(column.format);
    // A negative zero after rounding would be written "-0,00".
    const double scale = std::pow(10.0, places);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0)
        rounded = 0;
    QString text = QString::number(rounded, 'f', places);
    if (column.format == CellFormat::Quantity && text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

// Empty cells, texts, dates and codes read the same on screen and in the
// CSV; only numbers differ (grouping, decimal sign).
std::optional<QString> textOtherThanNumber(const ReportColumn &column, const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (isText(value) || column.format == CellFormat::Text)
        return value.toString();
    switch (column.format) {
    case CellFormat::Date:
        return dateOf(value).toString(QStringLiteral("dd.MM.yyyy"));
    case CellFormat::Code:
        return QStringLiteral("%1").arg(value.toLongLong(), column.digits, 10, QLatin1Char('0'));
    default:
        return std::nullopt;
    }
}

QString csvText(const ReportColumn &column, const QVariant &value)
{
    if (const std::optional<QString> text = textOtherThanNumber(column, value))
        return *text;
    if (column.format == CellFormat::Count)
        return QString::number(value.toLongLong());
    return csvNumber(column, value.toDouble());
}

QByteArray csvField(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(';') || bytes.contains('"') || bytes.contains('\r') || bytes.contains('\n')) {
        bytes.replace("\"", "\"\"");
        bytes = '"' + bytes + '"';
    }
    return bytes;
}

void appendLine(QByteArray &out, const QStringList &fields)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ';';
        out += csvField(fields.at(i));
    }
    out += "\r\n";
}

QStringList csvRow(const ReportTable &table, const QVariantList &values)
{
    QStringList fields;
    for (size_t i = 0; i < table.columns.size(); ++i)
        fields << csvText(table.columns[i], values.value(int(i)));
    return fields;
}

} // namespace

bool ReportColumn::numeric() const
{
    return format != CellFormat::Text && format != CellFormat::Date;
}

QString displayText(const ReportColumn &column, const QVariant &value)
{
    if (const std::optional<QString> text = textOtherThanNumber(column, value))
        return *text;
    switch (column.format) {
    case CellFormat::Count:
        return varnex::formatFloat(QStringLiteral(",0"), value.toDouble());
    case CellFormat::Quantity:
        return varnex::formatFloat(QStringLiteral(",0.###"), value.toDouble());
    case CellFormat::Price:
        return varnex::formatFloat(QStringLiteral(",0.0000"), value.toDouble());
    default:
        return varnex::formatFloat(QStringLiteral(",0.00"), value.toDouble());
    }
}

QByteArray csvBytes(const ReportTable &table)
{
    QByteArray out("\xEF\xBB\xBF");
    appendLine(out, {table.title});
    if (!table.parameters.isEmpty())
        appendLine(out, {table.parameters});
    out += "\r\n";
    QStringList titles;
    for (const ReportColumn &column : table.columns)
        titles << column.title;
    appendLine(out, titles);
    for (const QVariantList &row : table.rows)
        appendLine(out, csvRow(table, row));
    if (!table.totals.isEmpty())
        appendLine(out, csvRow(table, table.totals));
    return out;
}

void writeCsv(const ReportTable &table, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csvBytes(table)) < 0 || !file.commit())
        throw varnex::Error(QStringLiteral("Файлът \"%1\" не може да бъде записан.").arg(path), file.errorString());
}

} // namespace reportdata
