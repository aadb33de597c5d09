#include "reportdata/ReportTable.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "util/Error.h"

#include <QDate>
#include <QFile>

#include <gtest/gtest.h>

using namespace reportdata;

namespace {

ReportTable sample()
{
    ReportTable table;
    table.title = QStringLiteral("Наличност към дата");
    table.parameters = QStringLiteral("Към 30.11.2026");
    table.columns = {{QStringLiteral("Код"), CellFormat::Code, 8, 6},
                     {QStringLiteral("Наименование"), CellFormat::Text, 30},
                     {QStringLiteral("Дата"), CellFormat::Date, 10},
                     {QStringLiteral("Количество"), CellFormat::Quantity, 10},
                     {QStringLiteral("Стойност"), CellFormat::Money, 10}};
    table.rows = {{101, QStringLiteral("Брашно \"Добруджа\"; тип 500"), QDate(2026, 11, 2), 110.5, 1234.567},
                  {7, QStringLiteral("Захар"), QVariant(), -0.0001, -0.001},
                  {8, QStringLiteral("ред\r\nвтори"), QDate(2026, 1, 9), 3.0, 0.005}};
    table.totals = {QVariant(), QStringLiteral("Общо"), QVariant(), QVariant(), 1234.571};
    return table;
}

TEST(Csv, IsUtf8WithABomSemicolonsCrLfQuotedFieldsAndDecimalCommas)
{
    const QByteArray expected = QByteArray("\xEF\xBB\xBF")
        + QStringLiteral("Наличност към дата\r\n"
                         "Към 30.11.2026\r\n"
                         "\r\n"
                         "Код;Наименование;Дата;Количество;Стойност\r\n"
                         "000101;\"Брашно \"\"Добруджа\"\"; тип 500\";02.11.2026;110,5;1234,57\r\n"
                         "000007;Захар;;0;0,00\r\n"
                         "000008;\"ред\r\nвтори\";09.01.2026;3;0,01\r\n"
                         ";Общо;;;1234,57\r\n")
              .toUtf8();
    EXPECT_EQ(csvBytes(sample()), expected);
}

TEST(Csv, WritesTheFileAndRefusesAPlaceItCannotWrite)
{
    testing_support::TempDir dir;
    const QString path = dir.path(QStringLiteral("наличност.csv"));
    writeCsv(sample(), path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), csvBytes(sample()));
    EXPECT_THROW(writeCsv(sample(), dir.path(QStringLiteral("няма/такава.csv"))), varnex::Error);
}

TEST(ReportCells, ShowCodesWithTheirDigitsAndLabelsInNumericColumnsAsText)
{
    const ReportColumn code{QStringLiteral("Код"), CellFormat::Code, 8, 6};
    const ReportColumn money{QStringLiteral("Стойност"), CellFormat::Money, 10};
    EXPECT_EQ(displayText(code, 42), QStringLiteral("000042"));
    EXPECT_EQ(displayText(money, QStringLiteral("Общо")), QStringLiteral("Общо"));
    EXPECT_EQ(displayText(money, QVariant()), QString());
    EXPECT_TRUE(money.alignRight());
    const ReportColumn date{QStringLiteral("Дата"), CellFormat::Date, 10};
    EXPECT_FALSE(date.alignRight());
}

} // namespace
