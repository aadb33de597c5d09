#include "support/StockData.h"

#include "core/Tdm.h"
#include "db/Statement.h"

namespace testing_support {

void addGoods(Tdm &dm, int id, int code, const QString &name, double sellPrice, bool inReport)
{
    dm.ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_CODE, NOM_NAME, NOM_MERKI_ID1, NOM_MERKI_ID2, "
                              "NOM_INREPORT, NOM_AMBALAJ, NOM_CATEGORY_ID, SELL_PRICE) "
                              "values (:ID, :CODE, :NAME, 2, -1, :INREPORT, 0, 0, :PRICE)"),
               {{QStringLiteral("ID"), id},
                {QStringLiteral("CODE"), code},
                {QStringLiteral("NAME"), name},
                {QStringLiteral("INREPORT"), inReport ? 1 : 0},
                {QStringLiteral("PRICE"), sellPrice}});
}

void addDocument(Tdm &dm, int id, int type, int counterparty, const QDateTime &time)
{
    dm.ExecSQL(QStringLiteral("insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_KONT_ID, TRANZ_TIME) "
                              "values (:ID, :TYPE, :ID, :KONTR, :TIME)"),
               {{QStringLiteral("ID"), id},
                {QStringLiteral("TYPE"), type},
                {QStringLiteral("KONTR"), counterparty},
                {QStringLiteral("TIME"), time}});
}

void addDocuments(Tdm &dm, int firstId, int count, const QDateTime &start)
{
    db::Statement insert(dm.database(), dm.mainTransaction());
    insert.prepare(QStringLiteral("insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_KONT_ID, TRANZ_TIME, "
                                  "TRANZ_PADEJ, TRANZ_NOTE) values (:ID, :TYPE, :ID, :KONTR, :TIME, :PADEJ, :NOTE)"));
    const int types[] = {12, 11, 10, 13};
    for (int i = 0; i < count; ++i) {
        const int type = types[i % 4];
        insert.setParameter(QStringLiteral("ID"), firstId + i);
        insert.setParameter(QStringLiteral("TYPE"), type);
        insert.setParameter(QStringLiteral("KONTR"), type == 10 || type == 13 ? -1 : 2);
        insert.setParameter(QStringLiteral("TIME"), start.addSecs(60 * i));
        insert.setParameter(QStringLiteral("PADEJ"), i % 5 == 0 ? QVariant(start.date().addDays(i % 30)) : QVariant());
        insert.setParameter(QStringLiteral("NOTE"), i % 3 == 0 ? QVariant(QStringLiteral("бележка %1").arg(i)) : QVariant());
        insert.execute();
    }
    dm.CommitRetaining();
}

void addLine(Tdm &dm, int id, int document, int goods, int direction, double quantity, double taken, double price,
             double discount)
{
    dm.ExecSQL(QStringLiteral("insert into TRANZ_RED (TRANZ_RED_ID, TRANZ_RED_TRANZ_ID, TRANZ_RED_TYPE_ID, "
                              "TRANZ_RED_NOM_ID, TRANZ_RED_KOL1, TRANZ_RED_KOL2, TRANZ_RED_CENA, TRANZ_RED_OTSTUPKA, "
                              "TRANZ_RED_IZNESENO) values (:ID, :DOC, :DIR, :NOM, :KOL, 0, :PRICE, :DISCOUNT, :TAKEN)"),
               {{QStringLiteral("ID"), id},
                {QStringLiteral("DOC"), document},
                {QStringLiteral("DIR"), direction},
                {QStringLiteral("NOM"), goods},
                {QStringLiteral("KOL"), quantity},
                {QStringLiteral("PRICE"), price},
                {QStringLiteral("DISCOUNT"), discount},
                {QStringLiteral("TAKEN"), taken}});
}

void addCounterparty(Tdm &dm, int id, int code, const QString &name, int kind, const QString &city,
                     const QString &address)
{
    dm.ExecSQL(QStringLiteral("update or insert into KONTR (KONTR_ID, KONTR_CODE, KONTR_NAME, KONTR_DN, KONTR_BULSTAT, "
                              "KONTR_ADDRESS, KONTR_CITY, KONTR_MOL, KONTR_IS_CLIENT) values (:ID, :CODE, :NAME, :DN, "
                              ":BULSTAT, :ADDRESS, :CITY, :MOL, :KIND) matching (KONTR_ID)"),
               {{QStringLiteral("ID"), id},
                {QStringLiteral("CODE"), code},
                {QStringLiteral("NAME"), name},
                {QStringLiteral("DN"), QStringLiteral("DN%1").arg(id)},
                {QStringLiteral("BULSTAT"), QStringLiteral("BS%1").arg(id)},
                {QStringLiteral("ADDRESS"), address},
                {QStringLiteral("CITY"), city},
                {QStringLiteral("MOL"), QStringLiteral("МОЛ %1").arg(id)},
                {QStringLiteral("KIND"), kind}});
}

void addPackaging(Tdm &dm, int id, int code, const QString &name)
{
    dm.ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_CODE, NOM_NAME, NOM_MERKI_ID1, NOM_MERKI_ID2, "
                              "NOM_INREPORT, NOM_AMBALAJ, NOM_CATEGORY_ID, SELL_PRICE) "
                              "values (:ID, :CODE, :NAME, 1, -1, 1, 1, 0, 0)"),
               {{QStringLiteral("ID"), id}, {QStringLiteral("CODE"), code}, {QStringLiteral("NAME"), name}});
}

void addBarcode(Tdm &dm, int goods, const QString &code)
{
    dm.ExecSQL(QStringLiteral("insert into NOM_BARCODES (BARCODE, NOM_ID) values (:CODE, :NOM_ID)"),
               {{QStringLiteral("CODE"), code}, {QStringLiteral("NOM_ID"), goods}});
}

} // namespace testing_support
