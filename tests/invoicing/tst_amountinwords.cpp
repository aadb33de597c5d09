#include "invoicing/AmountInWords.h"
#include "invoicing/DocumentCurrency.h"
#include "util/Error.h"

#include <gtest/gtest.h>

#include <limits>

using namespace invoicing;

namespace {

QString leva(double amount)
{
    return spellAmount(amount, QStringLiteral("лева"), QStringLiteral("ст."), QStringLiteral("и"));
}

struct Example
{
    double amount;
    const char *text;
};

TEST(AmountInWords, SpellsTheWorkedExamplesInLeva)
{
    const Example examples[] = {
        {0.50, "лева и 50 ст."},
        {1, "един лева"},
        {2, "два лева"},
        {11, "единадесет лева"},
        {21, "двадесет и един лева"},
        {101, "сто и един лева"},
        {110, "сто и десет лева"},
        {121, "сто двадесет и един лева"},
        {412, "четиристотин и дванадесет лева"},
        {1000, "хиляда лева"},
        {1001, "хиляда и един лева"},
        {1021, "хиляда двадесет и един лева"},
        {1100, "хиляда и сто лева"},
        {1105, "хиляда сто и пет лева"},
        {1234.56, "хиляда двеста тридесет и четири лева и 56 ст."},
        {2015, "две хиляди и петнадесет лева"},
        {21000, "двадесет и една хиляди лева"},
        {101000, "сто и една хиляди лева"},
        {1001000, "един милион и хиляда лева"},
        {1100000, "един милион и сто хиляди лева"},
        {1021005, "един милион двадесет и една хиляди и пет лева"},
        {2000002, "два милиона и два лева"},
        {2500000000, "два милиарда и петстотин милиона лева"},
        {12.05, "дванадесет лева и 05 ст."},
        {12.996, "тринадесет лева"},
        {12.00, "дванадесет лева"},
        {999999999999.99, "деветстотин деветдесет и девет милиарда деветстотин деветдесет и девет милиона "
                          "деветстотин деветдесет и девет хиляди деветстотин деветдесет и девет лева и 99 ст."},
    };
    for (const Example &example : examples)
        EXPECT_EQ(leva(example.amount), QString::fromUtf8(example.text)) << example.amount;
}

TEST(AmountInWords, WholeNumbersTakeTheGenderOfTheirUnits)
{
    EXPECT_EQ(spellNumber(1, Gender::Neuter), QStringLiteral("едно"));
    EXPECT_EQ(spellNumber(1, Gender::Masculine), QStringLiteral("един"));
    EXPECT_EQ(spellNumber(1, Gender::Feminine), QStringLiteral("една"));
    EXPECT_EQ(spellNumber(2, Gender::Neuter), QStringLiteral("две"));
    EXPECT_EQ(spellNumber(2, Gender::Masculine), QStringLiteral("два"));
    EXPECT_EQ(spellNumber(2, Gender::Feminine), QStringLiteral("две"));
    // The groups keep their own gender whatever the units take.
    EXPECT_EQ(spellNumber(2002, Gender::Masculine), QStringLiteral("две хиляди и два"));
    EXPECT_EQ(spellNumber(1001001, Gender::Neuter), QStringLiteral("един милион хиляда и едно"));
    EXPECT_EQ(spellNumber(0, Gender::Masculine), QString());
    EXPECT_EQ(spellNumber(10, Gender::Masculine), QStringLiteral("десет"));
    EXPECT_EQ(spellNumber(300, Gender::Masculine), QStringLiteral("триста"));
    EXPECT_EQ(spellNumber(1000000000, Gender::Masculine), QStringLiteral("един милиард"));
    EXPECT_EQ(spellNumber(120, Gender::Masculine), QStringLiteral("сто и двадесет"));
}

TEST(AmountInWords, RefusesWhatTheFourGroupsCannotHold)
{
    EXPECT_THROW(spellNumber(kLargestSpelledNumber + 1, Gender::Masculine), varnex::Error);
    EXPECT_THROW(spellNumber(-1, Gender::Masculine), varnex::Error);
    EXPECT_THROW(leva(1e12), varnex::Error);
    // Rounded to the printed cents, this is already 10^12.
    EXPECT_THROW(leva(999999999999.996), varnex::Error);
    EXPECT_THROW(leva(std::numeric_limits<double>::infinity()), varnex::Error);
    EXPECT_THROW(leva(std::numeric_limits<double>::quiet_NaN()), varnex::Error);
    EXPECT_THROW(spellEuroAmount(1e15), varnex::Error);
}

TEST(AmountInWords, NegativeAmountsAreSpelledAfterMinus)
{
    EXPECT_EQ(leva(-21.5), QStringLiteral("минус двадесет и един лева и 50 ст."));
    EXPECT_EQ(spellEuroAmount(-2), QStringLiteral("минус две евро"));
    // What prints as 0.00 is no negative amount.
    EXPECT_EQ(leva(-0.001), QStringLiteral("лева"));
}

TEST(AmountInWords, EuroIsNeuterWithoutPluralAndCentsAreSpelled)
{
    const Example examples[] = {
        {1, "едно евро"},
        {2, "две евро"},
        {21, "двадесет и едно евро"},
        {100, "сто евро"},
        {1000, "хиляда евро"},
        {1000000, "един милион евро"},
        {2000, "две хиляди евро"},
        {0.01, "нула евро и един цент"},
        {0.02, "нула евро и два цента"},
        {0.21, "нула евро и двадесет и един цента"},
        {30.60, "тридесет евро и шестдесет цента"},
        {1234.56, "хиляда двеста тридесет и четири евро и петдесет и шест цента"},
        {12.996, "тринадесет евро"},
    };
    for (const Example &example : examples)
        EXPECT_EQ(spellEuroAmount(example.amount), QString::fromUtf8(example.text)) << example.amount;
}

TEST(AmountInWords, HalfACentRoundsAwayFromZero)
{
    // Each of these is held a little below the half as a binary double.
    EXPECT_EQ(moneyText(25.5 * 0.09), QStringLiteral("2.30"));
    EXPECT_EQ(moneyText(0.285), QStringLiteral("0.29"));
    EXPECT_EQ(moneyText(1.005), QStringLiteral("1.01"));
    EXPECT_EQ(moneyText(-1.005), QStringLiteral("-1.01"));
    EXPECT_EQ(moneyText(-0.001), QStringLiteral("0.00"));
    EXPECT_EQ(moneyText(2.2949), QStringLiteral("2.29"));
    EXPECT_EQ(moneyText(999999999999.99), QStringLiteral("999999999999.99"));
    EXPECT_EQ(leva(1.005), QStringLiteral("един лева и 01 ст."));
}

TEST(DocumentCurrency, FollowsTheDateOfIssue)
{
    const DocumentCurrency leva = DocumentCurrency::on(QDate(2025, 12, 31));
    const DocumentCurrency euro = DocumentCurrency::on(QDate(2026, 1, 1));
    EXPECT_FALSE(leva.isEuro());
    EXPECT_TRUE(euro.isEuro());
    EXPECT_EQ(leva.money(30.6), QStringLiteral("30.60 лв."));
    EXPECT_EQ(euro.money(30.6), QStringLiteral("30.60 EUR"));
    EXPECT_EQ(leva.inWords(1234.56), QStringLiteral("хиляда двеста тридесет и четири лева и 56 ст."));
    EXPECT_EQ(euro.inWords(1234.56), QStringLiteral("хиляда двеста тридесет и четири евро и петдесет и шест цента"));
    EXPECT_TRUE(DocumentCurrency::on(QDate()).isEuro()); // undated: printed today, in 2026 or later
}

} // namespace
