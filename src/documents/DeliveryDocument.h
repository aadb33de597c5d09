#pragma once

#include "documents/DocumentKind.h"

namespace documents {

// A delivery: goods received from a supplier, every line into stock by
// the quantity received, paid within its value.
DocumentKind deliveryKind();

// The header checks a delivery and a sale share, with the message for a
// missing counterparty.
std::vector<FieldCheck> tradeHeaderChecks(const QString &counterpartyMessage);

// The line checks of goods bought or sold.
std::vector<FieldCheck> tradeLineChecks();

} // namespace documents
