#pragma once

#include <QtGlobal>

// The next session token after `previous`: a linear congruential step
// (× 134775813 + 1 mod 2^32) scaled to 0 … 2147483646.
quint32 nextSessionToken(quint32 previous);
