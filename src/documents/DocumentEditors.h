#pragma once

#include <memory>

class TfrmBaseForm;
class TfrmStockDocument;

// The editor window of a document type (TRANZ_TYPE_ID), a child of
// `owner`; none for a type without an editor.
std::unique_ptr<TfrmStockDocument> CreateDocumentEditor(int type, TfrmBaseForm &owner);
