#include "catalogues/BarcodeRules.h"
#include "util/Error.h"

#include <gtest/gtest.h>

namespace {

// The refusal of a typed code, or the code as stored prefixed with "=".
QString outcome(const QString &typed)
{
    try {
        return QStringLiteral("=") + checkedBarcode(typed);
    } catch (const varnex::Error &error) {
        return error.message();
    }
}

TEST(Barcodes, CheckDigitsOfTheThreeKindsAreVerifiedOthersTakenAsTyped)
{
    const struct
    {
        const char *typed;
        const char *expected;
    } cases[] = {
        {"4006381333931", "=4006381333931"},           // EAN-13
        {" 3800065711135 ", "=3800065711135"},         // blanks around are not part of it
        {"4006381333932", "грешна контролна цифра (трябва да е 1)"},
        {"96385074", "=96385074"},                     // EAN-8
        {"96385070", "грешна контролна цифра (трябва да е 4)"},
        {"036000291452", "=036000291452"},             // UPC-A
        {"036000291450", "грешна контролна цифра (трябва да е 2)"},
        {"12345", "=12345"},                           // the shop's own
        {"123456789", "=123456789"},
        {"ABC-0042", "=ABC-0042"},
        {"12 34", "интервал"},
        {"", "въведете баркод"},
        {"   ", "въведете баркод"},
        {"1234567890123456789012345678901234567890X", "най-много 40"},
    };
    for (const auto &c : cases) {
        const QString got = outcome(QString::fromUtf8(c.typed));
        EXPECT_TRUE(got.contains(QString::fromUtf8(c.expected))) << c.typed << " gave " << got.toStdString();
    }
}

TEST(Barcodes, AScannedCodeIsToldFromWords)
{
    EXPECT_TRUE(looksScanned(QStringLiteral("4006381333931")));
    EXPECT_TRUE(looksScanned(QStringLiteral("96385074")));
    EXPECT_FALSE(looksScanned(QStringLiteral("Кафе 250 г")));
    EXPECT_FALSE(looksScanned(QStringLiteral("12345")));
    EXPECT_FALSE(looksScanned(QStringLiteral("12345678"))); // the check digit does not fit
}

TEST(Barcodes, ScanningTheSameItemAgainAddsToItsLastLine)
{
    const std::vector<int> lines{7, 9, 7, 3};
    EXPECT_EQ(lineToAddOneTo(lines, 7, true), 2);
    EXPECT_EQ(lineToAddOneTo(lines, 3, true), 3);
    EXPECT_EQ(lineToAddOneTo(lines, 5, true), -1);
    EXPECT_EQ(lineToAddOneTo(lines, 7, false), -1);
    EXPECT_EQ(lineToAddOneTo({}, 7, true), -1);
}

} // namespace
