#include "core/SessionToken.h"

quint32 nextSessionToken(quint32 previous)
{
    const quint32 seed = quint32(quint64(previous) * 134775813u + 1u);
    return quint32((quint64(seed) * 2147483647u) >> 32);
}

quint32 newStartupToken(quint32 previous)
{
    const quint32 token = nextSessionToken(previous);
    return token != previous ? token : nextSessionToken(previous + 1);
}
