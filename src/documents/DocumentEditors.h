#pragma once

#include <functional>
#include <memory>

class TfrmBaseForm;
class TfrmStockDocument;
namespace documents {
struct SaleInvoice;
}

// The editor window of a document type (TRANZ_TYPE_ID), a child of
// `owner`; none for a type without an editor.
std::unique_ptr<TfrmStockDocument> CreateDocumentEditor(int type, TfrmBaseForm &owner);

// Where the sale editors send an invoice started from a sale (the invoice
// editor, once the program has made it); without one the sale is stored
// and nothing else happens.
void SetSaleInvoiceHandler(std::function<void(const documents::SaleInvoice &)> handler);
