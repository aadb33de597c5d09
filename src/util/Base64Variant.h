#pragma once

#include <QByteArray>
#include <QString>

namespace varnex {

// The Base64 of the stored grid layouts: standard alphabet, no line
// breaks and no "=" fill; a last group of 2 or 4 bits becomes one more
// character filled with zeros. Decoding stops at the first character
// outside the alphabet and drops bits that do not make a whole byte.
QString encodeBase64Variant(const QByteArray &bytes);
QByteArray decodeBase64Variant(const QString &text);

} // namespace varnex
