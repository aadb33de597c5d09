#pragma once

#include <QString>

// Checks of the Bulgarian identifiers a counterparty carries. Each takes the
// value as typed; surrounding blanks make it invalid.

// A personal number (ЕГН): ten digits whose check digit fits and whose first
// six give an existing birth date (a month above 40 means the 2000s).
bool IsValidEGN(const QString &value);
// A tax number: ten digits whose check digit fits.
bool IsValidTaxNumber(const QString &value);
// A registry number (БУЛСТАТ/ЕИК): nine digits, nine digits and one more
// character, or thirteen digits, their check digits fitting.
bool IsValidBulstat(const QString &value);
