#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

class TBaseDM;

namespace reports {

// One report a module offers: what the tree shows and the index the module
// knows it by (its line's position in the module's list).
struct ReportEntry
{
    QString name;
    QString group;
    int index = 0;
};

struct ReportGroup
{
    QString name;
    std::vector<ReportEntry> reports;
};

// The module's list as it wrote it into the buffer: Windows-1251 text up to
// the first zero byte (or the buffer's end, should the module not end it),
// one "report=group" line per report. A line without "=" is a report named
// by the whole line in the group without a name; an empty line is no report
// but keeps its place, so the lines after it keep the module's indexes.
std::vector<ReportEntry> parseReportNames(const QByteArray &buffer);

// Groups in text order, the reports of each group in text order; a group is
// matched by its exact text. Letter case is ignored in the order, and the
// Cyrillic letters in their code order are already in the Bulgarian
// alphabet's order, so the tree does not depend on the workstation's locale.
std::vector<ReportGroup> groupReports(const std::vector<ReportEntry> &entries);

// A short string as the module reads it: a length byte followed by at most
// 255 bytes of Windows-1251; longer text is cut. Text Windows-1251 cannot
// hold is refused (varnex::Error), as everywhere else it leaves the program.
QByteArray shortString(const QString &text);

// What the module needs to reach the database this program works on: the
// name the connection is opened with and its parameters, in the order the
// connection gives them, as name=value lines separated by CR LF.
struct ConnectionData
{
    QString databaseName;
    QString parameters;
};
ConnectionData connectionOf(const TBaseDM &data);

} // namespace reports
