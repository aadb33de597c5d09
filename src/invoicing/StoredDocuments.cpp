#include "invoicing/StoredDocuments.h"

#include "core/TBaseDM.h"
#include "data/SqlSession.h"
#include "invoicing/DocumentCurrency.h"
#include "util/Error.h"

namespace invoicing {

namespace {

const char kDocument[] = "select TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_KONT_ID from TRANZ where TRANZ_ID = :TRANZ_ID";
const char kParty[] = "select KONTR_NAME, KONTR_CITY, KONTR_ADDRESS, KONTR_DN, KONTR_BULSTAT, KONTR_MOL "
                      "from KONTR where (KONTR_ID = :KONTR_ID) and (KONTR_ID > 0)";
const char kLines[] = "select n.NOM_NAME, m.MERKI_ZNAK, r.TRANZ_RED_KOL1, r.TRANZ_RED_CENA, r.TRANZ_RED_OTSTUPKA "
                      "from TRANZ_RED r left join NOM n on n.NOM_ID = r.TRANZ_RED_NOM_ID "
                      "left join MERKI m on m.MERKI_ID = n.NOM_MERKI_ID1 "
                      "where (r.TRANZ_RED_TRANZ_ID = :TRANZ_ID) and ((:ALL_LINES = 1) or (r.TRANZ_RED_TYPE_ID = -1)) "
                      "order by r.TRANZ_RED_ID";

constexpr int kSale = 11;
constexpr int kDelivery = 12;

QString text(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

void putParty(data::SqlSession &session, const QVariant &id, bool company, NamedValues &values)
{
    const auto rows = session.QueryRows(QString::fromLatin1(kParty), {{QStringLiteral("KONTR_ID"), id}});
    if (rows.empty())
        return;
    const QVariantList &row = rows.front();
    const QStringList names = receipt::partyBoardNames(company);
    const QStringList details{text(row.at(0)), text(row.at(1)) + QStringLiteral(", ") + text(row.at(2)), text(row.at(3)),
                              text(row.at(4)), text(row.at(5))};
    for (int i = 0; i < names.size(); ++i)
        values.emplace_back(names.at(i), details.at(i));
}

} // namespace

NamedValues storedInvoiceBoardValues(TBaseDM &data, int invoiceId, bool onlyCopy)
{
    const QVariantHash invoice = storedInvoice(data, invoiceId);
    if (invoice.isEmpty())
        throw varnex::Error(QStringLiteral("Фактура с ID %1 не съществува.").arg(invoiceId));
    return invoiceBoardValues(invoice, invoiceLines(data, invoiceId), data.GetConfigByName(QStringLiteral("BG_VAT")),
                              onlyCopy);
}

NamedValues storedReceiptBoardValues(data::SqlSession &session, int documentId)
{
    const auto documents = session.QueryRows(QString::fromLatin1(kDocument), {{QStringLiteral("TRANZ_ID"), documentId}});
    if (documents.empty())
        throw varnex::Error(QStringLiteral("Документ с ID %1 не съществува.").arg(documentId));
    const QVariantList &document = documents.front();
    const int type = document.at(0).toInt();
    if (type != kSale && type != kDelivery)
        throw varnex::Error(QStringLiteral("Стокова разписка се печата само за доставка или продажба."));

    NamedValues values;
    putParty(session, 1, true, values);
    putParty(session, document.at(2), false, values);
    values.emplace_back(receipt::document(), type == kDelivery ? QStringLiteral("DOSTAVKA") : QStringLiteral("PRODAJBA"));
    QVariantList rows;
    double total = 0;
    for (const QVariantList &line :
         session.QueryRows(QString::fromLatin1(kLines),
                           {{QStringLiteral("TRANZ_ID"), documentId}, {QStringLiteral("ALL_LINES"), type == kDelivery ? 1 : 0}})) {
        const double quantity = line.at(2).toDouble();
        const double price = line.at(3).toDouble() * (1 - line.at(4).toDouble());
        rows << QVariant(QVariantList{text(line.at(0)), text(line.at(1)), quantity, price});
        total += quantity * price;
    }
    values.emplace_back(receipt::dataRows(), rows);
    values.emplace_back(receipt::sumTotal(), moneyText(total));
    values.emplace_back(receipt::docNo(), text(document.at(1)));
    return values;
}

} // namespace invoicing
