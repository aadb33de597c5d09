#pragma once

#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <vector>

namespace testing_support {

// The text of a PDF file as pdftotext reads it, one page or all of them,
// line by line as laid out; runs of blanks become one, so tests need not
// know the columns. "-raw" reads in the order drawn, also turned text.
inline QString pdfText(const QString &path, int page = 0, const QString &mode = QStringLiteral("-layout"))
{
    QStringList arguments{mode};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    arguments << path << QStringLiteral("-");
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

// Pages of a PDF file as pdfinfo counts them.
inline int pdfPages(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    process.waitForFinished(30000);
    for (const QString &line : QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

// One word of a PDF page and where pdftotext finds it, in points from the
// page's top left corner.
struct PdfWord
{
    QString text;
    QRectF box;
};

inline std::vector<PdfWord> pdfWords(const QString &path, int page)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                                QStringLiteral("-l"), QString::number(page), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<PdfWord> words;
    for (auto match = word.globalMatch(QString::fromUtf8(process.readAllStandardOutput())); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        words.push_back({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                               QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return words;
}

} // namespace testing_support
