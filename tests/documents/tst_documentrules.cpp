#include "documents/DocumentRules.h"
#include "documents/ScrapDocument.h"
#include "support/QtPrinters.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace documents;

namespace {

// Numbers are written with the locale's decimal point; these tests read a dot.
const bool kDotDecimals = (QLocale::setDefault(QLocale::c()), true);

TEST(DocumentRules, LineSumIsQuantityTimesPriceLessTheDiscount)
{
    EXPECT_DOUBLE_EQ(lineSum(2.5, 10.00, 0.10), 22.5);
    EXPECT_DOUBLE_EQ(lineSum(4, 0, 0), 0);
    EXPECT_DOUBLE_EQ(lineSum(3, 1.5, 0), 4.5);
    EXPECT_DOUBLE_EQ(lineSum(1, 100, 1), 0);
}

TEST(DocumentRules, DiscountsShowAsTheirShortestPercentage)
{
    EXPECT_EQ(percentText(0.1006), QStringLiteral("10.06")); // not 10.059999999999999
    EXPECT_EQ(percentText(0.05), QStringLiteral("5"));
    EXPECT_EQ(percentText(0), QStringLiteral("0"));
    EXPECT_EQ(percentText(0.123), QStringLiteral("12.3"));
    EXPECT_EQ(discountText(0.1), QStringLiteral("10 %"));
    EXPECT_EQ(discountText(0.0725), QStringLiteral("7.25 %"));
}

TEST(DocumentRules, RoundingIsHalfToEven)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(100.4), 100);
    EXPECT_EQ(roundHalfEven(100.6), 101);
}

TEST(DocumentRules, ATypedDiscountIsStoredOnlyWhenItDiffersByHalfATenth)
{
    EXPECT_FALSE(discountEntryDiffers(0.1, 10.04));
    EXPECT_TRUE(discountEntryDiffers(0.1, 10.06));
    EXPECT_FALSE(discountEntryDiffers(0.1, 10));
    EXPECT_TRUE(discountEntryDiffers(0, 5));
    EXPECT_FALSE(discountEntryDiffers(0.1006, 10.06));
    // Exactly half a tenth goes to the even tenth: 10.25 counts as 10.2.
    EXPECT_FALSE(discountEntryDiffers(0.102, 10.25));
}

TEST(DocumentRules, ThePaidAmountIsKeptWithinTheTotal)
{
    PaidOutcome within = settlePaid(100.00005, 100);
    EXPECT_FALSE(within.refused);
    EXPECT_EQ(within.paid, 100);
    within = settlePaid(99.99995, 100);
    EXPECT_FALSE(within.refused);
    EXPECT_EQ(within.paid, 100);

    const PaidOutcome beyond = settlePaid(100.0002, 100);
    EXPECT_TRUE(beyond.refused);
    EXPECT_EQ(beyond.paid, 100);

    const PaidOutcome part = settlePaid(40, 100);
    EXPECT_FALSE(part.refused);
    EXPECT_EQ(part.paid, 40);
    EXPECT_EQ(settlePaid(0, 0).paid, 0);
}

TEST(DocumentRules, TheNumberProposalFollowsTheLargestNumber)
{
    EXPECT_EQ(proposedDocumentNumber(QVariant()), QStringLiteral("000001"));
    EXPECT_EQ(proposedDocumentNumber(0), QStringLiteral("000001"));
    EXPECT_EQ(proposedDocumentNumber(41), QStringLiteral("000042"));
    EXPECT_EQ(proposedDocumentNumber(999998), QStringLiteral("999999"));
    EXPECT_EQ(proposedDocumentNumber(999999), QStringLiteral("1000000"));
    // The largest number as the server hands over a computed maximum.
    EXPECT_EQ(proposedDocumentNumber(QVariant(qint64(12345678))), QStringLiteral("12345679"));
    EXPECT_EQ(nextDocumentNumber(2147483647), qint64(2147483648));
}

TEST(DocumentKinds, ScrapChecksItsLinesAndHeaderInOrder)
{
    const DocumentKind scrap = scrapKind();
    EXPECT_EQ(scrap.type, 13);
    EXPECT_EQ(scrap.newCounterparty, QVariant(1));
    EXPECT_EQ(scrap.storedCounterparty, QVariant(-1));
    EXPECT_TRUE(scrap.zeroSumOnCreation);
    EXPECT_FALSE(scrap.paidWithinTotal);
    ASSERT_EQ(scrap.areas.size(), 1u);
    const LineAreaKind &lines = scrap.areas.front();
    EXPECT_EQ(lines.sign, -1);
    EXPECT_TRUE(lines.carriesValue);
    EXPECT_TRUE(lines.takenIsQuantity);
    EXPECT_TRUE(lines.newGoods.isNull());
    EXPECT_EQ(lines.emptyMessage, QStringLiteral("Документът е празен! Въведете стоки!"));
    ASSERT_EQ(lines.checks.size(), 3u);
    EXPECT_EQ(lines.checks[0].field, QStringLiteral("TRANZ_RED_NOM_ID"));
    EXPECT_EQ(lines.checks[1].message, QStringLiteral("Моля, попълнете цена/ед.мярка!"));
    EXPECT_EQ(lines.checks[2].message, QStringLiteral("Моля, попълнете количество!"));
    ASSERT_EQ(scrap.headerChecks.size(), 2u);
    EXPECT_EQ(scrap.headerChecks[0].message, QStringLiteral("Моля, попълнете № на документа!"));
    EXPECT_EQ(scrap.headerChecks[1].message, QStringLiteral("Моля, попълнете Дата на въвеждане!"));
}

} // namespace
