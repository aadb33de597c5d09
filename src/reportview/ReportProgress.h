#pragma once

#include "reportdata/ReportTable.h"

#include <functional>

class QWidget;

// Runs a report's query away from the window's thread, so the windows keep
// painting; once it has taken a second a progress window says that the
// report is being made. An error of the query is raised here, in the
// caller's thread.
reportdata::ReportTable runWithProgress(QWidget *owner, const QString &title,
                                        const std::function<reportdata::ReportTable()> &query);
