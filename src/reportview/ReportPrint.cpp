#include "reportview/ReportPrint.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <numeric>

bool reportNeedsLandscape(const reportdata::ReportTable &table)
{
    const int width = std::accumulate(table.columns.begin(), table.columns.end(), 0,
                                      [](int sum, const reportdata::ReportColumn &column) { return sum + column.width; });
    return width > 100;
}

void renderReport(const reportdata::ReportTable &table, QPagedPaintDevice &device)
{
    QPainter painter(&device);
    const QRectF page = painter.viewport();
    const double mm = device.logicalDpiX() / 25.4;
    const double padding = 0.8 * mm;
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    QFont bold(font);
    bold.setBold(true);
    QFont titleFont(font);
    titleFont.setPointSizeF(14);
    titleFont.setBold(true);

    const double totalWidth = std::accumulate(table.columns.begin(), table.columns.end(), 0.0,
                                              [](double sum, const reportdata::ReportColumn &c) { return sum + qMax(1, c.width); });
    std::vector<double> widths;
    for (const reportdata::ReportColumn &column : table.columns)
        widths.push_back(page.width() * qMax(1, column.width) / totalWidth);

    const auto texts = [&](const QVariantList &values) {
        QStringList result;
        for (size_t i = 0; i < table.columns.size(); ++i)
            result << reportdata::displayText(table.columns[i], values.value(int(i)));
        return result;
    };
    QStringList titles;
    for (const reportdata::ReportColumn &column : table.columns)
        titles << column.title;

    const double footer = 6 * mm;
    const auto rowHeight = [&](const QStringList &cells, const QFont &rowFont) {
        painter.setFont(rowFont);
        double height = painter.fontMetrics().height();
        for (size_t i = 0; i < widths.size(); ++i)
            height = qMax(height, painter.boundingRect(QRectF(0, 0, widths[i] - 2 * padding, 1e6), Qt::TextWordWrap,
                                                       cells.value(int(i)))
                                      .height());
        return height + 2 * padding;
    };
    const auto drawRow = [&](double top, const QStringList &cells, const QFont &rowFont, bool shaded) {
        const double height = rowHeight(cells, rowFont);
        double left = page.left();
        painter.setFont(rowFont);
        for (size_t i = 0; i < widths.size(); ++i) {
            const QRectF cell(left, top, widths[i], height);
            if (shaded)
                painter.fillRect(cell, QColor(230, 230, 230));
            painter.drawRect(cell);
            const Qt::Alignment align = table.columns[i].alignRight() ? Qt::AlignRight : Qt::AlignLeft;
            painter.drawText(cell.adjusted(padding, padding, -padding, -padding),
                             int(align | Qt::AlignVCenter) | Qt::TextWordWrap, cells.value(int(i)));
            left += widths[i];
        }
        return height;
    };
    int pageNumber = 1;
    const auto drawFooter = [&] {
        painter.setFont(font);
        painter.drawText(QRectF(page.left(), page.bottom() - footer + mm, page.width(), footer - mm), Qt::AlignRight,
                         QStringLiteral("стр. %1").arg(pageNumber));
    };

    double top = page.top();
    painter.setFont(titleFont);
    painter.drawText(QRectF(page.left(), top, page.width(), painter.fontMetrics().height()), Qt::AlignLeft, table.title);
    top += painter.fontMetrics().height() + mm;
    painter.setFont(font);
    const QRectF parameters = painter.boundingRect(QRectF(page.left(), top, page.width(), 1e6), Qt::TextWordWrap,
                                                   table.parameters);
    painter.drawText(parameters, Qt::TextWordWrap, table.parameters);
    top += parameters.height() + 3 * mm;
    top += drawRow(top, titles, bold, true);

    std::vector<std::pair<QStringList, bool>> lines;
    for (const QVariantList &row : table.rows)
        lines.emplace_back(texts(row), false);
    if (!table.totals.isEmpty())
        lines.emplace_back(texts(table.totals), true);
    for (const auto &[cells, totals] : lines) {
        const QFont &rowFont = totals ? bold : font;
        if (top + rowHeight(cells, rowFont) > page.bottom() - footer) {
            drawFooter();
            device.newPage();
            ++pageNumber;
            top = page.top();
            top += drawRow(top, titles, bold, true);
        }
        top += drawRow(top, cells, rowFont, false);
    }
    drawFooter();
}
