#include "reports/ReportNames.h"

#include "core/TBaseDM.h"
#include "reports/ReportModuleContract.h"
#include "util/Win1251.h"

#include <algorithm>

namespace reports {

namespace {

// Lines end with CR LF; a lone CR or LF also ends one, and a break at the
// very end starts no further line.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, at - start);
        if (c == QLatin1Char('\r') && at + 1 < text.size() && text.at(at + 1) == QLatin1Char('\n'))
            ++at;
        start = at + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

bool inTextOrder(const QString &a, const QString &b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
}

} // namespace

std::vector<ReportEntry> parseReportNames(const QByteArray &buffer)
{
    const qsizetype end = buffer.indexOf('\0');
    const QStringList lines = splitLines(varnex::fromWin1251(end < 0 ? buffer : buffer.left(end)));
    std::vector<ReportEntry> entries;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.isEmpty())
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            entries.push_back({line, QString(), i});
        else
            entries.push_back({line.left(equals), line.mid(equals + 1), i});
    }
    return entries;
}

std::vector<ReportGroup> groupReports(const std::vector<ReportEntry> &entries)
{
    std::vector<ReportGroup> groups;
    for (const ReportEntry &entry : entries) {
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const ReportGroup &known) { return known.name == entry.group; });
        if (group == groups.end())
            group = groups.insert(groups.end(), ReportGroup{entry.group, {}});
        group->reports.push_back(entry);
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const ReportGroup &a, const ReportGroup &b) { return inTextOrder(a.name, b.name); });
    for (ReportGroup &group : groups) {
        std::stable_sort(group.reports.begin(), group.reports.end(),
                         [](const ReportEntry &a, const ReportEntry &b) { return inTextOrder(a.name, b.name); });
    }
    return groups;
}

QByteArray shortString(const QString &text)
{
    const QByteArray bytes = varnex::toWin1251(text).left(ShortStringCapacity);
    return char(static_cast<unsigned char>(bytes.size())) + bytes;
}

ConnectionData connectionOf(const TBaseDM &data)
{
    const QString lineBreak = QStringLiteral("\r\n");
    return {data.connectionName(), QStringLiteral("user_name=") + data.user + lineBreak + QStringLiteral("password=")
                                       + data.password + lineBreak + QStringLiteral("lc_ctype=WIN1251")};
}

} // namespace reports
