#pragma once

#include "data/SqlSession.h"
#include "invoicing/DocumentCurrency.h"

#include <QDate>
#include <QString>
#include <QVariantHash>

#include <optional>
#include <vector>

namespace invoicing {

// The pages of the invoice editor a refused check switches to.
enum class EditorPage { Header, People, Rate, Circumstances };

// What the checks before storing an invoice look at: the row's values as
// edited and the state of the boxes that are not columns.
struct InvoiceEntry
{
    QVariantHash row;
    QString numberText;
    bool notification = false;
    bool bankPayment = false;
    QString rateText;
    bool nonchargeVat = false;
    bool requestedVat = false;
    bool newVehicle = false;
};

// Invoice and notification numbers run from 1 to the highest ten-digit one.
constexpr qint64 kHighestInvoiceNumber = 9999999999LL;

// The first check that refuses: the message, the column whose editor takes
// the focus ("RATE" for the rate box, which is no column) and the page.
struct InvoiceRefusal
{
    QString message;
    QString field;
    EditorPage page = EditorPage::Header;
};

// The checks in the order the user meets them on the form.
std::optional<InvoiceRefusal> checkInvoice(const InvoiceEntry &entry);

// What a stored document may become: an issued one keeps its number and
// may only be cancelled; a cancelled one stays as it is. Otherwise a
// renumbered, reopened or restored document would leave a gap or a number
// used twice in the sequence. `stored` and `edited` are the rows before and
// after the edit; a waiting document may change freely.
std::optional<InvoiceRefusal> checkStoredStatus(const QVariantHash &stored, const QVariantHash &edited);

// A line (its INVOICE_DETAILS columns) needs what a lawful invoice shows of
// it: the goods or service, the quantity and the unit price. The refusal's
// field is the line's column.
std::optional<InvoiceRefusal> checkInvoiceLine(const QVariantHash &line);
// Whether nothing at all was typed into a line.
bool invoiceLineBlank(const QVariantHash &line);

// Whether another invoice or notification (any row but `ownId`) already
// has the number.
bool invoiceNumberTaken(data::SqlSession &session, qint64 number, int ownId);
// The refusal of a number already used, with the proposal that replaces it.
QString numberTakenMessage(qint64 number, qint64 proposal);

// A footer figure: two decimals and the document's currency while the sum
// is above 0, else "-".
QString footerFigure(double value, double sum, const DocumentCurrency &currency);
// "ДДС(20%):" from the text of the rate box.
QString vatCaption(const QString &rateText);

// The warning that stops a print whose lines the form cannot hold; empty
// when they fit.
QString printLimitWarning(int printLines, bool halfPage);

// The client's catalogue details as the invoice keeps them, each cut to the
// width of its invoice column (wide enough for the catalogue's values).
QVariantHash clientCopy(const QVariantHash &counterparty);

// An issued or cancelled document keeps its number for good: the sequence
// the tax authority reads has no gaps. A notification refers to a document
// by its number (INVOICE_NUMBER, ten digits) and stands until it is itself
// cancelled.
bool invoiceCancelled(const QVariantHash &row);
// Why the invoice may not be deleted; empty when it may. Issued ("Издадена") and
// cancelled ("Анулирана") ones never are; a waiting one only while no later number
// exists and no notification that stands refers to it.
QString deletionRefusal(data::SqlSession &session, int invoiceId);
// Why the invoice (its number `number`, its own row `ownId`) may not be cancelled;
// empty when it may: refused while a notification that is not cancelled refers to it.
QString cancellationRefusal(data::SqlSession &session, qint64 number, int ownId);
// Sets the status "Анулирана" (IS_WAITING 2), number and lines kept; throws
// varnex::Error with cancellationRefusal's text when refused.
void cancelInvoice(data::SqlSession &session, int invoiceId);

// A value for a recently-used list: the list, the value, the list's size.
struct RecentValue
{
    int list = 0;
    QString value;
    int maxCount = 0;
};
// The values a print records, those of blanks only left out.
std::vector<RecentValue> recentValues(const QVariantHash &row);
constexpr int kCreatorsList = 6;
constexpr int kCreatorsListSize = 100;

// Lines are stored as they are posted, before their invoice is; these
// remove the lines of an invoice that was never stored. Lines of an
// invoice that exists are never touched.
void removeLinesOfUnstoredInvoice(data::SqlSession &session, int invoiceId);
// Lines whose invoice does not exist, left by an editor that ended without
// storing (a crash); only safe to remove while no other workstation may
// be writing the lines of a new invoice.
int abandonedLineCount(data::SqlSession &session);
void removeAbandonedLines(data::SqlSession &session);

// The status tabs of the list, in their order.
enum class StatusTab { All, Issued, Waiting, Cancelled };

// What the list's filter bar holds.
struct InvoiceListFilter
{
    StatusTab tab = StatusTab::All;
    QDate from;
    QDate to;
    QString client;
    QString idNumber;
};

// The list's condition with its values bound as parameters, and the text
// the title shows; an empty condition means no filter.
struct ListCondition
{
    QString condition;
    QString description;
    data::SqlParams params;
};
// Dates in the description are written with `separator`, the system's.
ListCondition invoiceListCondition(const InvoiceListFilter &filter, QChar separator = QLatin1Char('.'));
// The window title for a description.
QString invoiceListTitle(const QString &description);

enum class Period { Today, Yesterday, ThisWeek, ThisMonth };
// From and to of a period button; a week runs Monday to Sunday, and on a
// Sunday it is the week that starts the next day.
std::pair<QDate, QDate> periodDates(Period period, const QDate &today);

// The field the list's search looks in.
enum class SearchField { None, Number, Client, IdNumber };
// Whether a row's value holds the text: a number as its plain value
// without leading zeros, texts ignoring letter case.
bool searchMatches(SearchField field, const QVariant &value, const QString &text);
// The column searched.
QString searchColumn(SearchField field);
// The notice of a search that found nothing (or had no field chosen).
QString searchNotice(SearchField field, bool next);

// A new invoice filled in beforehand (a sale's buyer and lines), handed
// over on the parameter board with the show command "NEW".
struct InvoicePrefill
{
    int clientId = 0; // 0: none
    struct Line
    {
        QString text;
        QString unit;
        double quantity = 0;
        double price = 0;
    };
    std::vector<Line> lines;
};
QString prefillClientBoardName();
QString prefillLinesBoardName();
// Lines as the board carries them: a list of [text, unit, quantity, price].
QVariant prefillLinesValue(const std::vector<InvoicePrefill::Line> &lines);
std::vector<InvoicePrefill::Line> prefillLines(const QVariant &value);

} // namespace invoicing
