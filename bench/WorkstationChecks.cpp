#include "WorkstationChecks.h"

#include "core/Tdm.h"
#include "data/StockLookups.h"
#include "documents/DeliveryDocument.h"
#include "documents/DocumentRules.h"
#include "documents/SaleDocument.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace bench {

namespace {

const char *const kDocumentLines =
    "select t.TRANZ_ID, t.TRANZ_TYPE_ID, t.TRANZ_SUM, r.TRANZ_RED_TYPE_ID, r.TRANZ_RED_KOL1, r.TRANZ_RED_CENA, "
    "r.TRANZ_RED_OTSTUPKA from TRANZ t left join TRANZ_RED r on r.TRANZ_RED_TRANZ_ID = t.TRANZ_ID "
    "where t.TRANZ_TYPE_ID in (:SALE, :DELIVERY)";
const char *const kPaidAbove = "select count(*) from TRANZ where TRANZ_PLATENO > TRANZ_SUM + :TOLERANCE";
const char *const kNumbersTwice = "select TRANZ_DOCNO, count(*) from TRANZ where TRANZ_DOCNO is not null "
                                  "group by TRANZ_DOCNO having count(*) > 1 order by 2 desc, 1";
const char *const kGoodsOnLines = "select distinct TRANZ_RED_NOM_ID from TRANZ_RED";
const char *const kStockOfDocuments =
    "select TRANZ_RED_NOM_ID, sum(TRANZ_RED_IZNESENO * TRANZ_RED_TYPE_ID) from TRANZ_RED r "
    "where exists (select 1 from TRANZ t where t.TRANZ_ID = r.TRANZ_RED_TRANZ_ID) group by 1";
const char *const kLinesWithoutDocument =
    "select count(*) from TRANZ_RED r where not exists (select 1 from TRANZ t where t.TRANZ_ID = r.TRANZ_RED_TRANZ_ID)";

// Sums are stored as doubles; a cent's fraction apart is the same amount.
const double kSumTolerance = 0.005;

double number(const QVariant &value)
{
    return value.isNull() ? 0 : value.toDouble();
}

QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// The line signs whose sums make up the value of each document type.
QHash<int, QSet<int>> valueSigns()
{
    QHash<int, QSet<int>> signs;
    for (const documents::DocumentKind &kind : {documents::saleKind(), documents::deliveryKind()}) {
        for (const documents::LineAreaKind &area : kind.areas) {
            if (area.carriesValue)
                signs[kind.type].insert(area.sign);
        }
    }
    return signs;
}

struct Document
{
    double stored = 0;
    double ofLines = 0;
    int lines = 0;
};

QHash<int, Document> documentsOf(Tdm &dm)
{
    const QHash<int, QSet<int>> signs = valueSigns();
    QHash<int, Document> byId;
    for (const QVariantList &row : dm.QueryRows(QString::fromLatin1(kDocumentLines),
                                                {{QStringLiteral("SALE"), documents::Sale},
                                                 {QStringLiteral("DELIVERY"), documents::Delivery}})) {
        Document &document = byId[row.at(0).toInt()];
        document.stored = number(row.at(2));
        if (row.at(3).isNull())
            continue;
        ++document.lines;
        if (signs.value(row.at(1).toInt()).contains(row.at(3).toInt()))
            document.ofLines += documents::lineSum(number(row.at(4)), number(row.at(5)), number(row.at(6)));
    }
    return byId;
}

} // namespace

bool WorkstationLog::read(const QString &line)
{
    const QStringList parts = line.split(QLatin1Char('\t'));
    const QString &kind = parts.at(0);
    if (kind == QLatin1String("time") && parts.size() == 3)
        times[parts[1]].push_back(parts[2].toDouble());
    else if (kind == QLatin1String("conflict") && parts.size() == 3)
        ++conflicts[parts[1] + QStringLiteral(": ") + parts[2]];
    else if (kind == QLatin1String("key") && parts.size() == 3)
        keys.emplace_back(parts[1].toInt(), parts[2].toInt());
    else if (kind == QLatin1String("stored") && parts.size() == 4)
        stored.push_back({parts[1].toInt(), parts[2].toDouble(), parts[3].toInt()});
    else if (kind == QLatin1String("failure") && parts.size() == 2)
        failures << parts[1];
    else
        return false;
    return true;
}

QString WorkstationLog::timeLine(const QString &action, double ms)
{
    return QStringLiteral("time\t%1\t%2").arg(action).arg(ms, 0, 'f', 3);
}

QString WorkstationLog::conflictLine(const QString &action, const QString &outcome)
{
    return QStringLiteral("conflict\t%1\t%2").arg(action, oneLine(outcome));
}

QString WorkstationLog::keyLine(int counter, int value)
{
    return QStringLiteral("key\t%1\t%2").arg(counter).arg(value);
}

QString WorkstationLog::storedLine(const StoredDocument &document)
{
    return QStringLiteral("stored\t%1\t%2\t%3").arg(document.id).arg(document.sum, 0, 'f', 4).arg(document.lines);
}

QString WorkstationLog::failureLine(const QString &message)
{
    return QStringLiteral("failure\t%1").arg(oneLine(message));
}

Verdict checkDatabase(Tdm &dm, const std::vector<WorkstationLog> &logs)
{
    Verdict verdict;
    // Each check with how many it found and the first few of them.
    const auto count = [&verdict](const QString &check, qsizetype found, const QStringList &examples) {
        const QString shown = examples.isEmpty() ? QString()
                                                 : QStringLiteral(" (%1)").arg(examples.mid(0, 5).join(QStringLiteral(", ")));
        verdict.lines << QStringLiteral("%1: %2%3").arg(check).arg(found).arg(shown);
        if (found > 0)
            verdict.faults << verdict.lines.last();
    };

    std::map<std::pair<int, int>, int> drawn;
    for (const WorkstationLog &log : logs) {
        for (const auto &key : log.keys)
            ++drawn[key];
    }
    QStringList twice;
    for (const auto &[key, times] : drawn) {
        if (times > 1)
            twice << QStringLiteral("counter %1 value %2 ×%3").arg(key.first).arg(key.second).arg(times);
    }
    count(QStringLiteral("keys drawn twice"), twice.size(), twice);

    const QHash<int, Document> stored = documentsOf(dm);
    QStringList lost;
    for (const WorkstationLog &log : logs) {
        for (const StoredDocument &told : log.stored) {
            const auto found = stored.constFind(told.id);
            if (found == stored.cend())
                lost << QStringLiteral("%1 missing").arg(told.id);
            else if (std::abs(found->stored - told.sum) > kSumTolerance || found->lines != told.lines)
                lost << QStringLiteral("%1 with %2 lines, sum %3 instead of %4 lines, sum %5")
                            .arg(told.id).arg(found->lines).arg(found->stored, 0, 'f', 2)
                            .arg(told.lines).arg(told.sum, 0, 'f', 2);
        }
    }
    count(QStringLiteral("documents told stored and not there whole"), lost.size(), lost);

    QStringList incomplete;
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        if (std::abs(it->stored - it->ofLines) > kSumTolerance)
            incomplete << QStringLiteral("%1: lines %2, sum %3").arg(it.key()).arg(it->ofLines, 0, 'f', 2)
                              .arg(it->stored, 0, 'f', 2);
    }
    std::sort(incomplete.begin(), incomplete.end());
    count(QStringLiteral("documents whose lines do not add up to their sum"), incomplete.size(), incomplete);

    const int paidAbove = dm.QueryValue(QString::fromLatin1(kPaidAbove), QString(),
                                        {{QStringLiteral("TOLERANCE"), documents::kAmountTolerance}}).toInt();
    count(QStringLiteral("payments above their document's sum"), paidAbove, {});

    QHash<int, double> ofDocuments;
    for (const QVariantList &row : dm.QueryRows(QString::fromLatin1(kStockOfDocuments)))
        ofDocuments.insert(row.at(0).toInt(), number(row.at(1)));
    QStringList stock;
    for (const QVariantList &row : dm.QueryRows(QString::fromLatin1(kGoodsOnLines))) {
        const int goods = row.at(0).toInt();
        const double shown = data::stockOnHand(dm, goods);
        const double expected = std::max(0.0, ofDocuments.value(goods));
        if (std::abs(shown - expected) > documents::kAmountTolerance)
            stock << QStringLiteral("goods %1: %2 instead of %3").arg(goods).arg(shown).arg(expected);
    }
    count(QStringLiteral("goods whose stock on hand is not the sum of their documents' lines"), stock.size(), stock);

    const int orphans = dm.QueryValue(QString::fromLatin1(kLinesWithoutDocument)).toInt();
    count(QStringLiteral("lines without a document"), orphans, {});

    QStringList numbers;
    for (const QVariantList &row : dm.QueryRows(QString::fromLatin1(kNumbersTwice)))
        numbers << QStringLiteral("%1 ×%2").arg(row.at(0).toLongLong(), 6, 10, QLatin1Char('0')).arg(row.at(1).toInt());
    // The bench types no number: each was proposed, and a proposed number
    // is stored once.
    count(QStringLiteral("document numbers stored more than once"), numbers.size(), numbers);
    return verdict;
}

} // namespace bench
