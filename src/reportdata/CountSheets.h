#pragma once

#include "data/CountLookups.h"
#include "reportdata/ReportTable.h"

#include <QDate>

#include <vector>

namespace reportdata {

// The sheet the counters write on: every goods item of the count with its
// unit, the book quantity only when asked for, and an empty column for the
// count.
ReportTable countSheet(const std::vector<data::CountLine> &lines, const QString &heading, bool showBook);

// The goods whose counted quantity differs from the book, each difference
// valued at its price, with the surplus and the shortage added up.
ReportTable countResult(const std::vector<data::CountLine> &lines, const QString &heading);

} // namespace reportdata
