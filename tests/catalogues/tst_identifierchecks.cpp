#include "catalogues/IdentifierChecks.h"

#include <gtest/gtest.h>

namespace {

TEST(PersonalNumber, BirthDatesOfBothCenturiesWithTheirCheckDigit)
{
    EXPECT_TRUE(IsValidEGN(QStringLiteral("7503161231"))); // 16.03.1975
    EXPECT_TRUE(IsValidEGN(QStringLiteral("8801014569"))); // 01.01.1988
    EXPECT_TRUE(IsValidEGN(QStringLiteral("0545151239"))); // 15.05.2005
    EXPECT_TRUE(IsValidEGN(QStringLiteral("0552151232"))); // 15.12.2005
    EXPECT_FALSE(IsValidEGN(QStringLiteral("0553151237"))); // month 13 of the 2000s
    EXPECT_FALSE(IsValidEGN(QStringLiteral("7503161232")));
    EXPECT_FALSE(IsValidEGN(QStringLiteral("0545151230")));
}

TEST(PersonalNumber, AMonthOfTheTwentiesIsNoCenturyMark)
{
    // The same person born in 2005 written with the month 21–32, its check
    // digit recomputed: no such month exists.
    EXPECT_FALSE(IsValidEGN(QStringLiteral("0525151234")));
    EXPECT_FALSE(IsValidEGN(QStringLiteral("0500151237"))); // month 0
    EXPECT_FALSE(IsValidEGN(QStringLiteral("0545001239"))); // day 0
    EXPECT_TRUE(IsValidEGN(QStringLiteral("0545311234")));  // 31 May 2005
    EXPECT_FALSE(IsValidEGN(QStringLiteral("0546311239"))); // 31 June
    EXPECT_FALSE(IsValidEGN(QStringLiteral("0544311230"))); // 31 April
}

TEST(PersonalNumber, TheTwentyNinthOfFebruaryOnlyInLeapYears)
{
    EXPECT_TRUE(IsValidEGN(QStringLiteral("9602291238")));  // 1996
    EXPECT_FALSE(IsValidEGN(QStringLiteral("9702291231"))); // 1997
    EXPECT_TRUE(IsValidEGN(QStringLiteral("0042291239")));  // 2000
    EXPECT_FALSE(IsValidEGN(QStringLiteral("0002291230"))); // 1900 is not a leap year
    EXPECT_FALSE(IsValidEGN(QStringLiteral("0142291232"))); // 2001
}

TEST(PersonalNumber, OnlyTenDigitsAsTyped)
{
    EXPECT_FALSE(IsValidEGN(QStringLiteral("750316123")));
    EXPECT_FALSE(IsValidEGN(QStringLiteral("75031612310")));
    EXPECT_FALSE(IsValidEGN(QStringLiteral("7503161231 ")));
    EXPECT_FALSE(IsValidEGN(QStringLiteral("75O3161231"))); // a letter O
    EXPECT_FALSE(IsValidEGN(QString()));
    EXPECT_FALSE(IsValidEGN(QStringLiteral("'); DELETE")));
}

TEST(TaxNumber, TenDigitsWithTheirCheckDigit)
{
    EXPECT_TRUE(IsValidTaxNumber(QStringLiteral("1234567892")));
    EXPECT_TRUE(IsValidTaxNumber(QStringLiteral("2002563722")));
    EXPECT_FALSE(IsValidTaxNumber(QStringLiteral("1234567890")));
    EXPECT_FALSE(IsValidTaxNumber(QStringLiteral("123456789")));
    EXPECT_FALSE(IsValidTaxNumber(QStringLiteral("12345678921")));
    EXPECT_FALSE(IsValidTaxNumber(QStringLiteral("12345678a2")));
}

TEST(TaxNumber, IsCheckedApartFromThePersonalNumber)
{
    // Month 34 is no birth date, yet the tax check digit fits.
    EXPECT_FALSE(IsValidEGN(QStringLiteral("1234567892")));
    EXPECT_TRUE(IsValidTaxNumber(QStringLiteral("1234567892")));
    // A personal number is not a tax number merely by its ten digits.
    EXPECT_TRUE(IsValidEGN(QStringLiteral("7503161231")));
    EXPECT_FALSE(IsValidTaxNumber(QStringLiteral("7503161231")));
}

TEST(RegistryNumber, NineDigitsWithTheirCheckDigit)
{
    EXPECT_TRUE(IsValidBulstat(QStringLiteral("831642181")));
    EXPECT_TRUE(IsValidBulstat(QStringLiteral("175127895")));
    EXPECT_TRUE(IsValidBulstat(QStringLiteral("121212121")));
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("831642182")));
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("175127890")));
}

TEST(RegistryNumber, ARemainderOfTenTakesTheSecondWeightsThenZero)
{
    EXPECT_TRUE(IsValidBulstat(QStringLiteral("100000086")));
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("100000080")));
    EXPECT_TRUE(IsValidBulstat(QStringLiteral("100000550")));
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("100000551")));
}

TEST(RegistryNumber, NineDigitsAndAnyTenthCharacter)
{
    EXPECT_TRUE(IsValidBulstat(QStringLiteral("8316421810")));
    EXPECT_TRUE(IsValidBulstat(QStringLiteral("831642181Б")));
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("8316421820")));
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("83164218X0")));
}

TEST(RegistryNumber, ThirteenDigitsOfABranch)
{
    EXPECT_TRUE(IsValidBulstat(QStringLiteral("8316421810017")));
    EXPECT_TRUE(IsValidBulstat(QStringLiteral("1751278950009"))); // second weights
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("8316421810018")));
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("8316421820017"))); // the company's own digits wrong
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("831642181001A")));
}

TEST(RegistryNumber, OtherLengthsAreRefused)
{
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("83164218")));
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("83164218100")));
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("831642181001")));
    EXPECT_FALSE(IsValidBulstat(QStringLiteral("83164218100170")));
    EXPECT_FALSE(IsValidBulstat(QString()));
}

} // namespace
