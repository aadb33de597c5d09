#pragma once

#include "ui/GridColumn.h"

#include <QStringList>

#include <vector>

class DataGrid;
class QPagedPaintDevice;

// What a printed list holds: the title, the visible columns in their
// order, and every row's shown texts.
struct GridPrintContent
{
    QString title;
    std::vector<GridColumn> columns;
    std::vector<QStringList> rows;
};

GridPrintContent gridPrintContent(const DataGrid &grid, const QString &title);

// Column widths in device units: the grid fitted to the page width, each
// column in proportion to its width on screen.
std::vector<double> scaledColumnWidths(const std::vector<GridColumn> &columns, double pageWidth);

// Draws the list onto the pages of a printer or PDF writer, in Arial, rows
// growing to fit their text.
void renderGridPrint(const GridPrintContent &content, QPagedPaintDevice &device);

// Shows the list in the print preview (portrait unless landscape), from
// which it can be printed or saved as PDF.
void PrintGrid(const DataGrid &grid, const QString &title, bool landscape = false);
