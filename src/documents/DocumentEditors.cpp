#include "documents/DocumentEditors.h"

#include "core/TSettings.h"

#include "documents/DocumentKind.h"
#include "documents/TfrmBrak.h"
#include "documents/TfrmProizvodstvo.h"

std::unique_ptr<TfrmStockDocument> CreateDocumentEditor(int type, TfrmBaseForm &owner)
{
    switch (type) {
    case documents::Production:
        return std::unique_ptr<TfrmStockDocument>(owner.CreateChildForm<TfrmProizvodstvo>());
    case documents::Scrap:
        return std::unique_ptr<TfrmStockDocument>(owner.CreateChildForm<TfrmBrak>());
    default:
        return nullptr;
    }
}
