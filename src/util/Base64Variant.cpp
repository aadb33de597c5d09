#include "util/Base64Variant.h"

#include <cstring>

namespace varnex {

namespace {
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

QString encodeBase64Variant(const QByteArray &bytes)
{
    QString text;
    quint32 buffer = 0;
    int bits = 0;
    for (const char byte : bytes) {
        buffer = (buffer << 8) | quint8(byte);
        bits += 8;
        while (bits >= 6) {
            bits -= 6;
            text += QLatin1Char(kAlphabet[(buffer >> bits) & 0x3F]);
        }
    }
    if (bits > 0)
        text += QLatin1Char(kAlphabet[(buffer << (6 - bits)) & 0x3F]);
    return text;
}

QByteArray decodeBase64Variant(const QString &text)
{
    QByteArray bytes;
    quint32 buffer = 0;
    int bits = 0;
    for (const QChar c : text) {
        const char *found = c.unicode() < 128 && c.unicode() != 0 ? strchr(kAlphabet, char(c.unicode())) : nullptr;
        if (!found)
            break;
        buffer = (buffer << 6) | quint32(found - kAlphabet);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += char((buffer >> bits) & 0xFF);
        }
    }
    return bytes;
}

} // namespace varnex
