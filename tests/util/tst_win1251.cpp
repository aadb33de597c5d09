#include "support/QtPrinters.h"
#include "util/Error.h"
#include "util/Win1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

// The system converter is the reference for every byte and every UTF-16
// unit outside the surrogates.
TEST(Win1251, AgreesWithTheSystemConverterForEveryByteAndCharacter)
{
    QByteArray everyByte;
    for (int byte = 0; byte < 256; ++byte) {
        const QByteArray one(1, char(byte));
        QStringDecoder decoder("windows-1251");
        const QString expected = decoder.decode(one);
        ASSERT_FALSE(decoder.hasError());
        EXPECT_EQ(varnex::fromWin1251(one), expected) << "byte " << byte;
        everyByte += one;
    }
    EXPECT_EQ(varnex::fromWin1251(QByteArray("\x98", 1)), QString(QChar(0x98)));
    EXPECT_EQ(varnex::toWin1251(varnex::fromWin1251(everyByte)), everyByte);

    int encodable = 0;
    for (int unit = 0; unit < 0x10000; ++unit) {
        if (QChar::isSurrogate(char32_t(unit)))
            continue;
        const QString text{QChar(char16_t(unit))};
        QStringEncoder encoder("windows-1251");
        const QByteArray expected = encoder.encode(text);
        if (encoder.hasError()) {
            EXPECT_THROW(varnex::toWin1251(text), varnex::Error) << "U+" << QString::number(unit, 16).toStdString();
            EXPECT_EQ(varnex::firstCharOutsideWin1251(text), text);
        } else {
            ++encodable;
            EXPECT_EQ(varnex::toWin1251(text), expected) << "U+" << QString::number(unit, 16).toStdString();
            EXPECT_EQ(varnex::firstCharOutsideWin1251(text), QString());
        }
    }
    EXPECT_EQ(encodable, 256);
}

TEST(Win1251, RefusesEverySurrogateAndNamesItWithWhatFollows)
{
    const QString high(QChar(0xD83D));
    const QString low(QChar(0xDE00));
    EXPECT_EQ(varnex::firstCharOutsideWin1251(QStringLiteral("ab") + high + low + QStringLiteral("c")), high + low);
    EXPECT_EQ(varnex::firstCharOutsideWin1251(high + QStringLiteral("a")), high + QStringLiteral("a"));
    EXPECT_EQ(varnex::firstCharOutsideWin1251(QStringLiteral("a") + low), low);
    // A high surrogate at the very end used to vanish without a word.
    EXPECT_EQ(varnex::firstCharOutsideWin1251(QStringLiteral("a") + high), high);
    EXPECT_THROW(varnex::toWin1251(QStringLiteral("a") + high), varnex::Error);
    EXPECT_EQ(varnex::toWin1251(QString()), QByteArray());
    EXPECT_EQ(varnex::fromWin1251(QByteArray()), QString());
    EXPECT_EQ(varnex::toWin1251(QString(QChar(0))), QByteArray(1, '\0'));
}

} // namespace
