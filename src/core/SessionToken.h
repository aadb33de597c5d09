#pragma once

#include <QtGlobal>

// The next session token after `previous`: a linear congruential step
// (× 134775813 + 1 mod 2^32) scaled to 0 … 2147483646.
quint32 nextSessionToken(quint32 previous);

// The token a start-up writes: the next one, except that it never equals
// the previous one. From 0, where every run begins, the step gives 0 again
// and a session that never ended would go unnoticed; the step is then taken
// from the following seed.
quint32 newStartupToken(quint32 previous);
