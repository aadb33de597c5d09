#pragma once

#include "reportdata/ReportTable.h"

class QPagedPaintDevice;

// Whether a report needs the page's width across: many or wide columns.
bool reportNeedsLandscape(const reportdata::ReportTable &table);

// Draws the report onto the pages of a printer or PDF writer: title,
// parameter line, the column titles again on every page, numbers to the
// right, the totals line in bold, and "стр. N" at the foot of each page.
void renderReport(const reportdata::ReportTable &table, QPagedPaintDevice &device);
