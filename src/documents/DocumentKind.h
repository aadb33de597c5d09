#pragma once

#include <QString>
#include <QVariant>

#include <vector>

// How one kind of stock document differs from the others: its header
// defaults and checks, and its line areas. The document model and the
// editor window follow the description, so a delivery, a sale, a
// production or a scrap document is a configuration of the same code.
namespace documents {

// Document types (TRANZ_TYPE_ID) and line signs (TRANZ_RED_TYPE_ID).
enum DocumentType { Production = 10, Sale = 11, Delivery = 12, Scrap = 13, StockCount = 14 };
constexpr int kIntoStock = 1;
constexpr int kOutOfStock = -1;

// A field that must not be empty (null), and what the user is told.
struct FieldCheck
{
    QString field;
    QString message;
};

// When a line gets its TRANZ_RED_ID from the line counter.
enum class LineIds {
    // Each time the list starts editing a row; a value drawn for a row that
    // already has an id is dropped.
    OnEditing,
    // Just before a row without an id is stored.
    BeforeStoring,
    // As the row is created.
    OnCreation,
};

// Where a line area's goods drop-downs read from.
enum class GoodsList {
    Shared,    // the data module's goods list
    Private,   // a copy of the same query, narrowed by this area alone
    Packaging, // the data module's list of returnable packaging
};

// One list of lines of the document: the lines of one sign.
struct LineAreaKind
{
    QString name; // names the area's widgets and settings ("Lines")
    QString selectSql;
    int sign = kOutOfStock;
    // Whether the line sums make up the document's value (TRANZ_SUM).
    bool carriesValue = true;
    LineIds ids = LineIds::OnEditing;
    GoodsList goods = GoodsList::Shared;
    // TRANZ_RED_NOM_ID of a new line; null leaves the goods to be chosen.
    QVariant newGoods;
    // The taken quantity may not exceed the quantity (refused, then
    // lowered to it) …
    bool takenWithinQuantity = false;
    // … or it is always the quantity.
    bool takenIsQuantity = false;
    // Fields a line must have before it is stored, in order.
    std::vector<FieldCheck> checks;
    // The document check's question when the area has no line; without
    // one the area may stay empty.
    QString emptyMessage;
    // Storing a line that takes more than the stock on hand asks first,
    // unless the database's configuration turns the question off.
    bool askOnShortage = false;
    // What the question calls the quantity the line takes.
    QString shortageWording = QStringLiteral("взетото количество");
};

// The configuration key (APP_CONFIG_KEYS) whose value "0" turns the
// shortage question off.
QString shortageQuestionKey();

struct DocumentKind
{
    int type = Scrap;
    QString headerSelect = QStringLiteral("select * from TRANZ where TRANZ_ID =:TRANZ_ID");
    std::vector<LineAreaKind> areas;
    // Header fields that must not be empty when the document is saved, in
    // order; they follow the areas' checks for lines.
    std::vector<FieldCheck> headerChecks;
    // The paid amount may not exceed the total (deliveries and sales).
    bool paidWithinTotal = false;
    // TRANZ_KONT_ID of a new document and the value written at every
    // header save; null for neither.
    QVariant newCounterparty;
    QVariant storedCounterparty;
    // TRANZ_SUM := 0 as the document is created.
    bool zeroSumOnCreation = false;
    // "Унищожи" also for a document that was never stored.
    bool destroyNew = false;
};

// The header checks every kind starts with.
FieldCheck documentNumberCheck();
FieldCheck entryDateCheck();

} // namespace documents
