#pragma once

#include "invoicing/PrintValues.h"

#include <QString>
#include <QVariant>

#include <vector>

namespace documents {

class DocumentModel;

// The board values of a delivery's or sale's stock receipt, as the editor
// shows the document: the company and the counterparty (each when it
// exists), the document's kind, the lines that carry its value in the
// grid's order, their total and the document number.
invoicing::NamedValues receiptBoardValues(const DocumentModel &document);

// One line of an invoice started from a sale.
struct InvoiceDraftLine
{
    QString text;
    QString unit;
    double quantity = 0;
    // The unit price after the line's discount.
    double price = 0;
};

// What an invoice started from a sale is filled with: the buyer and the
// sale's goods lines; the invoice editor takes them as proposals.
struct SaleInvoice
{
    int saleId = 0;
    QVariant buyerId;
    bool buyerFound = false;
    QString name;
    QString city;
    QString address;
    QString taxNumber; // KONTR_DN
    QString bulstat;
    QString mol;
    std::vector<InvoiceDraftLine> lines;
};

SaleInvoice saleInvoice(const DocumentModel &sale);

} // namespace documents
