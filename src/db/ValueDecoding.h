#pragma once

// Internal to the Firebird layer: one value in the engine's own form.

#include <QVariant>

#include <cstring>

namespace db {

// A value of the engine's type (without the nullable bit), scale and
// declared length, its bytes as the engine delivers them (a varying text
// starts with its two-byte length), decoded as the program reads it.
// Blobs are not values of this kind: they are read through their id.
QVariant decodeValue(int type, int scale, int length, const char *data);

// Packed rows keep values unaligned, so every value is copied out.
template<typename T>
T readUnaligned(const char *data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

// The bytes a value of the type takes in the engine's form, not counting
// the text of a varying text.
int fixedValueSize(int type, int length);

} // namespace db
