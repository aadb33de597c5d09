#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

namespace db {
class Attachment;
}

namespace data {

class SqlSession;

// Leva for one euro, fixed by law.
extern const double kLevaPerEuro;
// The day Bulgaria's currency became the euro.
QDate euroDay();

// The configuration value (APP_CONFIG) that records a database's changeover
// to the euro: "<day>;<moment>" in ISO form. Without it the stock side of a
// database is in leva.
const int kEuroChangeoverKey = 402;
extern const char *const kEuroChangeoverKeyName;

// `leva` in euro, rounded half away from zero to `decimals` places. The
// division is exact in decimal: an amount that converts to exactly half a
// cent is rounded up, whatever its nearest binary value is.
double levaToEuro(double leva, int decimals);

// A document's sum and paid amount in euro: the sum and the outstanding
// amount are converted and the paid amount is their difference, so a
// document paid in full stays paid in full and what is outstanding is the
// converted outstanding amount.
struct DocumentAmounts
{
    double sum = 0;
    double paid = 0;
};
DocumentAmounts documentAmountsInEuro(double sum, double paid);

struct EuroChangeoverRecord
{
    // Documents dated before it were converted.
    QDate day;
    // When the conversion was made (or the database was made in euro).
    QDateTime moment;
};

// The database's changeover; none while its stock side is in leva.
std::optional<EuroChangeoverRecord> euroChangeover(SqlSession &session);
QString euroChangeoverValue(const EuroChangeoverRecord &record);
std::optional<EuroChangeoverRecord> parseEuroChangeoverValue(const QString &value);

// "Базата данни е преминала към евро на …": why a second changeover is refused.
QString alreadyInEuroText(const EuroChangeoverRecord &record);

// What a changeover converts, counted and added up.
struct MoneyTotals
{
    int goods = 0;        // goods with a sell price
    double sellPrices = 0;
    int documents = 0;    // stock documents dated before the day
    double sums = 0;
    double paid = 0;
    int lines = 0;        // their lines with a price
    double lineValue = 0; // quantity × price × (1 − discount)

    double outstanding() const { return sums - paid; }
};

struct EuroChangeoverSummary
{
    QDate day;
    MoneyTotals leva;
    MoneyTotals euro;
};

// The lines printed before a changeover is confirmed and after it is made.
QString euroChangeoverSummaryText(const EuroChangeoverSummary &summary);

// Refuses a database already in euro, or one whose structure does not know
// the changeover yet.
void requireLevaDatabase(db::Attachment &attachment);

// Reads what a changeover on `day` would convert, changing nothing. Refuses
// a database already in euro.
EuroChangeoverSummary planEuroChangeover(db::Attachment &attachment, const QDate &day);

// Converts the goods' sell prices and the line prices (four decimals), sums
// and paid amounts (two decimals) of the stock documents dated before `day`,
// and records the changeover, all in one transaction: a failure or a kill
// leaves the database wholly in leva. Invoices and notifications are legal
// documents and keep their amounts. Refused while other workstations are
// connected, since they would go on entering leva into converted documents,
// and refused for a database already in euro. Returns what was converted.
EuroChangeoverSummary convertToEuro(db::Attachment &attachment, const QDate &day,
                                    const QDateTime &moment = QDateTime::currentDateTime());

} // namespace data
