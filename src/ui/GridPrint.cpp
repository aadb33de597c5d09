#include "ui/GridPrint.h"

#include "db/Dataset.h"
#include "ui/DataGrid.h"
#include "ui/DatasetModel.h"
#include "ui/TfrmPrintPreview.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <numeric>

GridPrintContent gridPrintContent(const DataGrid &grid, const QString &title)
{
    GridPrintContent content;
    content.title = title;
    content.columns = grid.visibleColumns();
    const db::Dataset *dataset = grid.dataset();
    if (!dataset)
        return content;
    for (int row = 0; row < dataset->recordCount(); ++row) {
        QStringList texts;
        for (const GridColumn &column : content.columns) {
            const int field = dataset->fieldIndex(column.field);
            texts << (field < 0 ? QString() : dataset->displayText(row, field));
        }
        content.rows.push_back(texts);
    }
    return content;
}

std::vector<double> scaledColumnWidths(const std::vector<GridColumn> &columns, double pageWidth)
{
    const double total = std::accumulate(columns.begin(), columns.end(), 0.0,
                                         [](double sum, const GridColumn &column) { return sum + qMax(1, column.width); });
    std::vector<double> widths;
    for (const GridColumn &column : columns)
        widths.push_back(pageWidth * qMax(1, column.width) / total);
    return widths;
}

void renderGridPrint(const GridPrintContent &content, QPagedPaintDevice &device)
{
    QPainter painter(&device);
    const QRectF page = painter.viewport();
    const double mm = device.logicalDpiX() / 25.4;
    const double padding = 1.0 * mm;
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    QFont titleFont(font);
    titleFont.setPointSizeF(14);
    titleFont.setBold(true);
    QFont headerFont(font);
    headerFont.setBold(true);

    const std::vector<double> widths = scaledColumnWidths(content.columns, page.width());
    const auto rowHeight = [&](const QStringList &texts, const QFont &rowFont) {
        painter.setFont(rowFont);
        double height = painter.fontMetrics().height();
        for (size_t i = 0; i < widths.size(); ++i) {
            const QRectF bounds = painter.boundingRect(QRectF(0, 0, widths[i] - 2 * padding, 1e6),
                                                       Qt::TextWordWrap, texts.value(int(i)));
            height = qMax(height, bounds.height());
        }
        return height + 2 * padding;
    };
    const auto drawRow = [&](double top, const QStringList &texts, const QFont &rowFont, const QColor &fill) {
        const double height = rowHeight(texts, rowFont);
        double left = page.left();
        painter.setFont(rowFont);
        for (size_t i = 0; i < widths.size(); ++i) {
            const QRectF cell(left, top, widths[i], height);
            if (fill.isValid())
                painter.fillRect(cell, fill);
            painter.drawRect(cell);
            painter.drawText(cell.adjusted(padding, padding, -padding, -padding), Qt::TextWordWrap | Qt::AlignVCenter,
                             texts.value(int(i)));
            left += widths[i];
        }
        return height;
    };

    QStringList titles;
    for (const GridColumn &column : content.columns)
        titles << column.title;

    painter.setFont(titleFont);
    double top = page.top();
    painter.drawText(QRectF(page.left(), top, page.width(), painter.fontMetrics().height()), Qt::AlignLeft, content.title);
    top += painter.fontMetrics().height() + 3 * mm;
    top += drawRow(top, titles, headerFont, QColor(230, 230, 230));
    for (const QStringList &row : content.rows) {
        if (top + rowHeight(row, font) > page.bottom()) {
            device.newPage();
            top = page.top();
            top += drawRow(top, titles, headerFont, QColor(230, 230, 230));
        }
        top += drawRow(top, row, font, QColor());
    }
}

void PrintGrid(const DataGrid &grid, const QString &title, bool landscape)
{
    const GridPrintContent content = gridPrintContent(grid, title);
    TfrmPrintPreview preview(
        title, [content](QPagedPaintDevice &device) { renderGridPrint(content, device); }, landscape,
        grid.window());
    preview.exec();
}
