#include "support/QtPrinters.h"
#include "util/Error.h"
#include "util/Win1251.h"

#include <gtest/gtest.h>

namespace {

TEST(Win1251, ConvertsCyrillicAndTheEuroSignBothWays)
{
    const QString text = QStringLiteral("Склад №1 € „Ъъ“");
    const QByteArray bytes = varnex::toWin1251(text);
    EXPECT_EQ(bytes, QByteArray("\xD1\xEA\xEB\xE0\xE4 \xB9" "1 \x88 \x84\xDA\xFA\x93"));
    EXPECT_EQ(varnex::fromWin1251(bytes), text);
}

TEST(Win1251, RefusesTextItCannotHoldAndNamesTheCharacter)
{
    EXPECT_EQ(varnex::firstCharOutsideWin1251(QStringLiteral("ok ✓ ☃")), QStringLiteral("✓"));
    EXPECT_EQ(varnex::firstCharOutsideWin1251(QStringLiteral("emoji 😀")), QStringLiteral("😀"));
    EXPECT_EQ(varnex::firstCharOutsideWin1251(QStringLiteral("всичко е наред")), QString());
    try {
        varnex::toWin1251(QStringLiteral("Отметка ✓"));
        FAIL() << "no error";
    } catch (const varnex::Error &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("„✓“")));
    }
}

} // namespace
