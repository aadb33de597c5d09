#pragma once

#include "documents/DocumentKind.h"

namespace documents {

// A production document: the materials consumed leave stock at their unit
// value, which makes up the document's value; the products made enter it
// without one. No counterparty.
DocumentKind productionKind();

} // namespace documents
