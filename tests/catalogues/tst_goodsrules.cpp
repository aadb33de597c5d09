#include "catalogues/GoodsRules.h"
#include "db/Dataset.h"

#include <gtest/gtest.h>

namespace {

TEST(GoodsCode, FollowsTheLargestPositiveCode)
{
    EXPECT_EQ(proposedGoodsCode(QVariant()), 1); // an empty catalogue
    EXPECT_EQ(proposedGoodsCode(0), 1);
    EXPECT_EQ(proposedGoodsCode(-5), 1);
    EXPECT_EQ(proposedGoodsCode(7), 8);
    EXPECT_EQ(proposedGoodsCode(qlonglong(999999)), 1000000);
}

QString refusal(const QVariant &name, const QVariant &unit, QString *field)
{
    try {
        checkGoodsFilled(name, unit);
    } catch (const db::FieldError &error) {
        *field = error.field();
        return error.message();
    }
    return QString();
}

TEST(GoodsChecks, TheNameIsCheckedBeforeTheBaseUnit)
{
    QString field;
    const QString noName = QStringLiteral("Полето \"Название\" трябва да бъде попълнено");
    EXPECT_EQ(refusal(QVariant(), QVariant(), &field), noName);
    EXPECT_EQ(field, QStringLiteral("NOM_NAME"));
    EXPECT_EQ(refusal(QStringLiteral(" \t "), 2, &field), noName);
    EXPECT_EQ(refusal(QStringLiteral("Олио"), QVariant(), &field),
              QStringLiteral("Моля, изберете основна мярка за артикула !"));
    EXPECT_EQ(field, QStringLiteral("NOM_MERKI_ID1"));
    EXPECT_EQ(refusal(QStringLiteral("Олио"), 2, &field), QString());
}

TEST(GoodsFilter, NarrowsToTheChosenCategoryOnly)
{
    const GoodsFilter drinks = categoryFilter(5, QStringLiteral("Напитки"));
    EXPECT_EQ(drinks.condition, QStringLiteral("(1=1) and (NOM_CATEGORY_ID = 5)"));
    EXPECT_EQ(drinks.description, QStringLiteral("от категория Напитки"));

    const GoodsFilter none = categoryFilter(QVariant(), QString());
    EXPECT_TRUE(none.condition.isEmpty());
    EXPECT_TRUE(none.description.isEmpty());
    // Only a number reaches the statement, whatever the list handed over.
    EXPECT_TRUE(categoryFilter(QStringLiteral("1) or (1=1"), QStringLiteral("x")).condition.isEmpty());
}

} // namespace
