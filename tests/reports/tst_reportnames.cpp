#include "core/Tdm.h"
#include "reports/ReportModuleContract.h"
#include "reports/ReportNames.h"
#include "support/FreshDatabase.h"
#include "util/Error.h"
#include "util/Win1251.h"

#include <gtest/gtest.h>

using namespace reports;

namespace {

QByteArray win1251(const char *utf8)
{
    return varnex::toWin1251(QString::fromUtf8(utf8));
}

struct Shown
{
    QString name;
    QString group;
    int index;
    bool operator==(const Shown &other) const
    {
        return name == other.name && group == other.group && index == other.index;
    }
};

std::vector<Shown> shown(const std::vector<ReportEntry> &entries)
{
    std::vector<Shown> result;
    for (const ReportEntry &entry : entries)
        result.push_back({entry.name, entry.group, entry.index});
    return result;
}

void PrintTo(const Shown &entry, std::ostream *out)
{
    *out << entry.name.toStdString() << "=" << entry.group.toStdString() << " #" << entry.index;
}

TEST(ReportNames, EachLineIsAReportOfItsGroupIndexedByItsPlace)
{
    const QByteArray list = win1251("Наличност=Склад\r\nДвижение на стока=Склад\r\nПродажби по стоки=Продажби");
    EXPECT_EQ(shown(parseReportNames(list)),
              (std::vector<Shown>{{QStringLiteral("Наличност"), QStringLiteral("Склад"), 0},
                                  {QStringLiteral("Движение на стока"), QStringLiteral("Склад"), 1},
                                  {QStringLiteral("Продажби по стоки"), QStringLiteral("Продажби"), 2}}));
}

TEST(ReportNames, TheTextIsSplitAsTheModuleWroteIt)
{
    // Only the first "=" divides; a line without one has no group; the
    // trailing break starts no line.
    EXPECT_EQ(shown(parseReportNames(QByteArray("A=B=C\r\nWhole line\r\n=Nameless\r\n"))),
              (std::vector<Shown>{{QStringLiteral("A"), QStringLiteral("B=C"), 0},
                                  {QStringLiteral("Whole line"), QString(), 1},
                                  {QString(), QStringLiteral("Nameless"), 2}}));
    // An empty line is no report, yet the reports after it keep their places.
    EXPECT_EQ(shown(parseReportNames(QByteArray("A=X\r\n\r\nB=X"))),
              (std::vector<Shown>{{QStringLiteral("A"), QStringLiteral("X"), 0}, {QStringLiteral("B"), QStringLiteral("X"), 2}}));
    // Lines ended by a lone LF or CR count as lines too.
    EXPECT_EQ(shown(parseReportNames(QByteArray("A=X\nB=X\rC=Y"))),
              (std::vector<Shown>{{QStringLiteral("A"), QStringLiteral("X"), 0},
                                  {QStringLiteral("B"), QStringLiteral("X"), 1},
                                  {QStringLiteral("C"), QStringLiteral("Y"), 2}}));
}

TEST(ReportNames, TheTextEndsAtItsZeroOrAtTheBufferEnd)
{
    QByteArray buffer(ReportNamesBufferSize, 'x');
    buffer.replace(0, 8, QByteArray("A=X\0B=Y", 8));
    EXPECT_EQ(shown(parseReportNames(buffer)), (std::vector<Shown>{{QStringLiteral("A"), QStringLiteral("X"), 0}}));

    QByteArray full(ReportNamesBufferSize, 'x');
    full.replace(0, 2, "A=");
    const std::vector<ReportEntry> entries = parseReportNames(full);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].group.size(), ReportNamesBufferSize - 2);
    EXPECT_TRUE(parseReportNames(QByteArray(ReportNamesBufferSize, '\0')).empty());
}

TEST(ReportNames, GroupsAndTheirReportsComeInTextOrder)
{
    const std::vector<ReportGroup> groups = groupReports(parseReportNames(QByteArray("B=X\r\nA=X\r\nC=Y")));
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].name, QStringLiteral("X"));
    EXPECT_EQ(shown(groups[0].reports),
              (std::vector<Shown>{{QStringLiteral("A"), QStringLiteral("X"), 1}, {QStringLiteral("B"), QStringLiteral("X"), 0}}));
    EXPECT_EQ(groups[1].name, QStringLiteral("Y"));
    EXPECT_EQ(shown(groups[1].reports), (std::vector<Shown>{{QStringLiteral("C"), QStringLiteral("Y"), 2}}));
}

TEST(ReportNames, TheOrderIsAlphabeticalWhateverTheLetterCase)
{
    // Code order alone would put every capital before every small letter.
    const std::vector<ReportGroup> groups =
        groupReports(parseReportNames(win1251("яка=Склад\r\nВходящи=склад\r\nбаланс=Склад\r\nАрхив=Склад\r\nZ=Склад")));
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].name, QStringLiteral("Склад"));
    EXPECT_EQ(groups[1].name, QStringLiteral("склад")); // groups match exactly, not ignoring case
    QStringList names;
    for (const ReportEntry &entry : groups[0].reports)
        names << entry.name;
    EXPECT_EQ(names, (QStringList{QStringLiteral("Z"), QStringLiteral("Архив"), QStringLiteral("баланс"), QStringLiteral("яка")}));
}

TEST(ShortStrings, ALengthByteThenAtMost255Bytes)
{
    EXPECT_EQ(shortString(QString()), QByteArray(1, '\0'));
    EXPECT_EQ(shortString(QStringLiteral("Склад")), QByteArray("\x05") + win1251("Склад"));

    const QString exact(ShortStringCapacity, QLatin1Char('a'));
    EXPECT_EQ(shortString(exact), QByteArray("\xff") + exact.toLatin1());
    const QByteArray cut = shortString(exact + QStringLiteral("bcd"));
    EXPECT_EQ(cut.size(), ShortStringCapacity + 1);
    EXPECT_EQ(cut, QByteArray("\xff") + exact.toLatin1());
}

TEST(ShortStrings, TextWindows1251CannotHoldIsRefused)
{
    EXPECT_THROW(shortString(QStringLiteral("/данни/✓.fdb")), varnex::Error);
}

TEST(ConnectionData, TheConnectionsOwnNameAndParameters)
{
    testing_support::RecordedMessages messages;
    Tdm data(messages);
    data.host = QStringLiteral("server");
    data.databasePath = QStringLiteral("/srv/varnex/Varnex.fdb");
    data.user = QStringLiteral("OFFICE");
    data.password = QStringLiteral("таен");
    data.ApplyConnectionConfig();
    ConnectionData connection = connectionOf(data);
    EXPECT_EQ(connection.databaseName, QStringLiteral("server:/srv/varnex/Varnex.fdb"));
    EXPECT_EQ(connection.parameters, QStringLiteral("user_name=OFFICE\r\npassword=таен\r\nlc_ctype=WIN1251"));

    data.embeddedMode = true;
    data.ApplyConnectionConfig();
    EXPECT_EQ(connectionOf(data).databaseName, QStringLiteral("/srv/varnex/Varnex.fdb"));
}

} // namespace
