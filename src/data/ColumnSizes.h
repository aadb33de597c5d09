#pragma once

// Sizes, in characters, of text columns: those that prompts outside any
// dataset let users type into (editors bound to a dataset take theirs from
// the statement's description), and those the schema upgrade widens to hold
// what is copied into them. An editor limited to its column's size cannot
// hand the database a value it would refuse; keep these in step with the
// install script and the schema upgrade.
namespace data {

// USERS
constexpr int kUserLoginSize = 20;
constexpr int kUserPasswordSize = 40;

// INVOICES: the recipient's full name and address as the law wants them
// printed, the people and places at least as wide as the catalogue columns
// they are copied from (KONTR_MOL, KONTR_CITY, CITIES.NAME), a whole IBAN.
constexpr int kInvoiceCompanySize = 200;
constexpr int kInvoiceAddressSize = 200;
constexpr int kInvoicePersonSize = 80; // MOL, RECIEVER, INVOICE_CREATOR
constexpr int kInvoicePlaceSize = 80;  // PLACE, CITY, MVR
constexpr int kInvoiceBankSize = 80;   // BANK, BANK_VAT
constexpr int kInvoiceAccountSize = 34; // ACCOUNT, ACCOUNT_VAT
constexpr int kInvoiceIdNumberSize = 20; // DANNUM, BULSTAT
constexpr int kInvoiceNotesSize = 1000;
constexpr int kZeroVatGroundSize = 200;

// MRU_ITEMS: the recently-used lists hold the invoice's names and addresses.
constexpr int kRecentValueSize = 200;

// NOM_BARCODES.BARCODE: EAN and UPC codes and the shop's own.
constexpr int kBarcodeSize = 40;

} // namespace data
