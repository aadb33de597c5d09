#pragma once

#include <QString>

class QPagedPaintDevice;
class TdmInvoice;

// The name printed at the foot of every document.
QString issuingSoftware();

// The invoice's pages as the prepared values choose them, on A4.
void renderInvoice(const TdmInvoice &module, QPagedPaintDevice &device);
// The stock receipt, continued on further pages when its rows need them.
void renderReceipt(const TdmInvoice &module, QPagedPaintDevice &device);
