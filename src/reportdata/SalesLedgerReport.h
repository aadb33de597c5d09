#pragma once

#include "reportdata/ReportTable.h"

#include <QDate>

namespace data {
class SqlSession;
}

namespace reportdata {

// The month's sales ledger for the accountant: a row per invoice and
// notification with its tax base in the column of its rate (one column per
// rate of the month, highest first), VAT and total as printed, a cancelled
// document marked and counted as zero, and the sums of those figures.
ReportTable salesLedger(data::SqlSession &session, const QDate &month);

} // namespace reportdata
