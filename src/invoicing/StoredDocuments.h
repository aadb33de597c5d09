#pragma once

#include "invoicing/PrintValues.h"

class TBaseDM;

namespace data {
class SqlSession;
}

namespace invoicing {

// The board values of a print made from what is stored, as the editors
// would put them: for printing without the editors.

// The stored invoice's values; varnex::Error when there is no such invoice.
NamedValues storedInvoiceBoardValues(TBaseDM &data, int invoiceId, bool onlyCopy);

// A stored delivery's or sale's receipt values: the company (counterparty 1)
// and the document's counterparty, each when it exists, and the lines that
// carry the document's value (all of a delivery, the goods of a sale).
// varnex::Error for a missing document or one of another kind.
NamedValues storedReceiptBoardValues(data::SqlSession &session, int documentId);

} // namespace invoicing
