#pragma once

#include <QString>

#include <vector>

// The barcodes goods carry. EAN-13, EAN-8 and UPC-A codes (13, 8 and 12
// digits) end in a check digit that must fit; any other code is the shop's
// own and is taken as typed.

// The check digit the digits before it call for (weights 3 and 1 from the
// right), or -1 when `payload` is not all digits.
int barcodeCheckDigit(const QString &payload);

// Whether `code` is one of the three kinds that carry a check digit.
bool hasCheckDigit(const QString &code);

// The code as it is stored: without the blanks around it. Throws
// varnex::Error when it cannot be a barcode: empty, too long, blanks or
// control characters inside, or a check digit that does not fit.
QString checkedBarcode(const QString &typed);

// Whether text typed where a goods item's name is expected is a code a
// scanner gave rather than words: a barcode of the three kinds, its check
// digit fitting.
bool looksScanned(const QString &text);

// The configuration value that, set to 0, makes every scan in a sale a line
// of its own; without it a scan adds to the item's line.
QString scanAddsToLineKey();

// Scanning in a sale: which line the scanned goods item adds one to, or -1
// when it starts a new line. With `addsToLine` off every scan is a line of
// its own; otherwise it is the last line of the same goods item, so the one
// last scanned grows.
int lineToAddOneTo(const std::vector<int> &lineGoods, int scannedGoods, bool addsToLine);
