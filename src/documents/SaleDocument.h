#pragma once

#include "documents/DocumentKind.h"

namespace documents {

// The line areas of a sale, in the kind's order.
enum SaleArea { SaleGoods = 0, SalePackaging = 1 };

// A sale: goods to a buyer out of stock by the quantity taken, and the
// returnable packaging the buyer brings back, into stock and without value.
DocumentKind saleKind();

} // namespace documents
