#include "util/Win1251.h"

#include "util/Error.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace varnex {

namespace {
const char *const kCodec = "windows-1251";

bool encodes(QStringView text)
{
    QStringEncoder encoder(kCodec);
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError();
}
} // namespace

QString firstCharOutsideWin1251(const QString &text)
{
    if (encodes(text))
        return {};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QStringView piece = QStringView(text).mid(i, len);
        if (!encodes(piece))
            return piece.toString();
        i += len - 1;
    }
    return {};
}

QByteArray toWin1251(const QString &text)
{
    QStringEncoder encoder(kCodec);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) {
        throw Error(QStringLiteral("Текстът съдържа знака „%1“, който не може да се запише "
                                   "в кодовата таблица Windows-1251.")
                        .arg(firstCharOutsideWin1251(text)));
    }
    return bytes;
}

QString fromWin1251(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodec);
    return decoder.decode(bytes);
}

} // namespace varnex
