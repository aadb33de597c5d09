#include "util/Win1251.h"

#include "util/Error.h"

namespace varnex {

namespace {

// What the bytes 0x80–0xFF stand for; 0x00–0x7F are ASCII. 0x98 is not
// assigned in the code page and goes both ways as U+0098, as the system
// converters take it. A table instead of a converter per text: texts are
// converted for every value bound and every column read.
const char16_t kHighHalf[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C,
    0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A,
    0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9,
    0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415,
    0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431,
    0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D,
    0x044E, 0x044F,
};

// The reverse of the table for every UTF-16 unit, 0 where the code page has
// no byte (the byte 0 itself is never looked up here).
class Encoding
{
public:
    Encoding()
    {
        for (int byte = 0; byte < 128; ++byte)
            m_bytes[kHighHalf[byte]] = char(0x80 + byte);
    }
    // False when the unit has no byte.
    bool encode(char16_t unit, char &byte) const
    {
        if (unit < 0x80) {
            byte = char(unit);
            return true;
        }
        byte = m_bytes[unit];
        return byte != 0;
    }

private:
    char m_bytes[0x10000] = {};
};

const Encoding &encoding()
{
    static const Encoding table;
    return table;
}

} // namespace

QString firstCharOutsideWin1251(const QString &text)
{
    const Encoding &table = encoding();
    char byte;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (table.encode(unit.unicode(), byte))
            continue;
        // A surrogate is never in the code page: name the whole pair (or the
        // high one with what follows it) as one character.
        const qsizetype length = (unit.isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        return text.mid(i, length);
    }
    return {};
}

QByteArray toWin1251(const QString &text)
{
    const Encoding &table = encoding();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar unit : text) {
        if (!table.encode(unit.unicode(), *out++)) {
            throw Error(QStringLiteral("Текстът съдържа знака „%1“, който не може да се запише "
                                       "в кодовата таблица Windows-1251.")
                            .arg(firstCharOutsideWin1251(text)));
        }
    }
    return bytes;
}

QString fromWin1251(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto unsignedByte = static_cast<unsigned char>(byte);
        *out++ = QChar(unsignedByte < 0x80 ? char16_t(unsignedByte) : kHighHalf[unsignedByte - 0x80]);
    }
    return text;
}

} // namespace varnex
