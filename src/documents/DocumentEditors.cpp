#include "documents/DocumentEditors.h"

#include "core/TSettings.h"

#include "documents/DocumentKind.h"
#include "documents/TfrmBrak.h"
#include "documents/TfrmProizvodstvo.h"
#include "documents/TfrmDostavki.h"
#include "documents/TfrmProdajbi.h"

namespace {

std::function<void(const documents::SaleInvoice &)> &saleInvoiceHandler()
{
    static std::function<void(const documents::SaleInvoice &)> handler;
    return handler;
}

} // namespace

std::unique_ptr<TfrmStockDocument> CreateDocumentEditor(int type, TfrmBaseForm &owner)
{
    switch (type) {
    case documents::Production:
        return std::unique_ptr<TfrmStockDocument>(owner.CreateChildForm<TfrmProizvodstvo>());
    case documents::Delivery:
        return std::unique_ptr<TfrmStockDocument>(owner.CreateChildForm<TfrmDostavki>());
    case documents::Sale: {
        auto *sale = owner.CreateChildForm<TfrmProdajbi>();
        sale->invoiceFromSale = saleInvoiceHandler();
        return std::unique_ptr<TfrmStockDocument>(sale);
    }
    case documents::Scrap:
        return std::unique_ptr<TfrmStockDocument>(owner.CreateChildForm<TfrmBrak>());
    default:
        return nullptr;
    }
}

void SetSaleInvoiceHandler(std::function<void(const documents::SaleInvoice &)> handler)
{
    saleInvoiceHandler() = std::move(handler);
}
