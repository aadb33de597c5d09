#include "support/QtPrinters.h"
#include "util/Base64Variant.h"
#include "util/NumberFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatFloat, FollowsThePicturesTheProgramUses)
{
    const QLocale c = QLocale::c();
    EXPECT_EQ(varnex::formatFloat(QStringLiteral("000000"), 42, c), QStringLiteral("000042"));
    EXPECT_EQ(varnex::formatFloat(QStringLiteral("000000"), 1234567, c), QStringLiteral("1234567"));
    EXPECT_EQ(varnex::formatFloat(QStringLiteral("0.0000"), 2.5, c), QStringLiteral("2.5000"));
    EXPECT_EQ(varnex::formatFloat(QStringLiteral("0.00"), 0.005, c), QStringLiteral("0.01"));
    EXPECT_EQ(varnex::formatFloat(QStringLiteral("0.00"), -1.234, c), QStringLiteral("-1.23"));
    EXPECT_EQ(varnex::formatFloat(QStringLiteral(",.##"), 1234567.5, c), QStringLiteral("1,234,567.5"));
    EXPECT_EQ(varnex::formatFloat(QStringLiteral(",.##"), 12, c), QStringLiteral("12"));
    EXPECT_EQ(varnex::formatFloat(QStringLiteral(",.##"), 0, c), QStringLiteral("0"));
    EXPECT_EQ(varnex::formatFloat(QStringLiteral("0,.00"), 1234.5, c), QStringLiteral("1,234.50"));
    EXPECT_EQ(varnex::formatFloat(QStringLiteral("0.00"), -0.001, c), QStringLiteral("0.00"));
}

TEST(FormatFloat, UsesTheLocalesSeparators)
{
    const QLocale bulgarian(QLocale::Bulgarian, QLocale::Bulgaria);
    const QString text = varnex::formatFloat(QStringLiteral("0,.00"), 1234.5, bulgarian);
    EXPECT_EQ(text, QStringLiteral("1") + bulgarian.groupSeparator() + QStringLiteral("234") + bulgarian.decimalPoint()
                        + QStringLiteral("50"));
}

TEST(Base64Variant, EncodesWithoutFillAndDecodesUpToTheFirstStranger)
{
    EXPECT_EQ(varnex::encodeBase64Variant(QByteArray()), QString());
    EXPECT_EQ(varnex::encodeBase64Variant("abc"), QStringLiteral("YWJj"));
    EXPECT_EQ(varnex::encodeBase64Variant("ab"), QStringLiteral("YWI"));
    EXPECT_EQ(varnex::encodeBase64Variant("a"), QStringLiteral("YQ"));
    EXPECT_EQ(varnex::decodeBase64Variant(QStringLiteral("YWI")), QByteArray("ab"));
    EXPECT_EQ(varnex::decodeBase64Variant(QStringLiteral("YWI=")), QByteArray("ab"));
    EXPECT_EQ(varnex::decodeBase64Variant(QStringLiteral("YWJj\r\nYWJj")), QByteArray("abc"));
    EXPECT_EQ(varnex::decodeBase64Variant(QStringLiteral("Я")), QByteArray());

    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all += char(i);
    EXPECT_EQ(varnex::decodeBase64Variant(varnex::encodeBase64Variant(all)), all);
    EXPECT_EQ(varnex::encodeBase64Variant(all), QString::fromLatin1(all.toBase64()).remove(QLatin1Char('=')));
}

} // namespace
