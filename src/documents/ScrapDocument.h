#pragma once

#include "documents/DocumentKind.h"

namespace documents {

// A scrap document: goods written off at a stated unit value, one list of
// lines leaving stock by their whole quantity, no counterparty.
DocumentKind scrapKind();

} // namespace documents
