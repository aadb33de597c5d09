#pragma once

#include <QDate>
#include <QString>
#include <QVariantHash>

namespace data {

// The journal of stock documents: the statement for one document type
// (0: every type) and the parameters for a period, where an invalid date
// sets no bound on its side.
QString journalStatement(int documentType, const QDate &from, const QDate &to);
QVariantHash journalPeriodParams(const QDate &from, const QDate &to);

} // namespace data
