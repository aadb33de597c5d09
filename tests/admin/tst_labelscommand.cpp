#include "invoicing/PdfText.h"
#include "reportdata/ShelfLabels.h"
#include "support/AdminTool.h"
#include "support/FreshDatabase.h"
#include "support/StockData.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TEST(ShelfLabels, BothCurrenciesOnlyWhileTheLawAsksForThem)
{
    const struct
    {
        bool euro;
        QDate day;
        const char *main;
        const char *other;
    } cases[] = {
        {false, QDate(2025, 8, 7), "19.56 лв.", ""},
        {false, QDate(2025, 8, 8), "19.56 лв.", "10.00 EUR"},
        {true, QDate(2026, 1, 1), "10.00 EUR", "19.56 лв."},
        {true, QDate(2026, 8, 8), "10.00 EUR", "19.56 лв."},
        {true, QDate(2026, 8, 9), "10.00 EUR", ""},
    };
    for (const auto &c : cases) {
        const reportdata::LabelPrice shown = reportdata::labelPrice(c.euro ? 10 : 19.5583, c.euro, c.day);
        EXPECT_EQ(shown.main, QString::fromUtf8(c.main)) << c.day.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(shown.other, QString::fromUtf8(c.other)) << c.day.toString(Qt::ISODate).toStdString();
    }
}

// What zbarimg reads off the first page of a PDF rendered at 300 dpi.
QStringList barcodesRead(const QString &pdf, const QString &png)
{
    QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-gray"),
                                                  QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, png});
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), png + QStringLiteral(".png")});
    zbar.waitForFinished(60000);
    QStringList codes = QString::fromUtf8(zbar.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    codes.sort();
    return codes;
}

TEST(ShelfLabels, TheToolPrintsSheetsWhoseBarsReadBack)
{
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty() && qEnvironmentVariableIsEmpty("CI"))
        GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
    FreshDatabase database;
    {
        auto dm = database.connect();
        addGoods(*dm, 1, 1, QStringLiteral("Кафе мляно 250 г"), 12.5);
        addGoods(*dm, 2, 2, QStringLiteral("Чай билков"), 3.2);
        addGoods(*dm, 3, 3, QStringLiteral("Хляб"), 1.1);
        addBarcode(*dm, 1, QStringLiteral("4006381333931"));
        addBarcode(*dm, 2, QStringLiteral("VN-0042"));
        addBarcode(*dm, 2, QStringLiteral("96385074")); // only the first code is printed
        addBarcode(*dm, 3, QStringLiteral("ХЛ-1"));     // no bars can carry it: shown as text
    }
    TempDir dir;
    const QString pdf = dir.path(QStringLiteral("labels.pdf"));
    const ToolResult result = runAdminTool({QStringLiteral("print-labels"), database.path(), QStringLiteral("--goods"),
                                            QStringLiteral("1,2,3"), QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.err, QString());
    EXPECT_EQ(pdfPages(pdf), 1);
    const QString text = pdfText(pdf);
    for (const char *expected : {"Кафе мляно 250 г", "12.50 EUR", "Чай билков", "3.20 EUR", "Хляб", "1.10 EUR", "ХЛ-1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << " in " << text.toStdString();
    EXPECT_EQ(barcodesRead(pdf, dir.path(QStringLiteral("labels"))),
              (QStringList{QStringLiteral("4006381333931"), QStringLiteral("VN-0042")}));

    const ToolResult unknown = runAdminTool({QStringLiteral("print-labels"), database.path(), QStringLiteral("--goods"),
                                             QStringLiteral("1,99"), QStringLiteral("--pdf"), pdf});
    EXPECT_NE(unknown.code, 0);
    EXPECT_EQ(unknown.err.trimmed(), QStringLiteral("Няма артикул с № 99."));
}

} // namespace
