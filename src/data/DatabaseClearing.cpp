#include "data/DatabaseClearing.h"

#include "data/SqlSession.h"

namespace data {

void deleteAllData(SqlSession &session)
{
    static const char *const statements[] = {
        "DELETE FROM APP_CONFIG WHERE (KEY_ID <> 1) and (KEY_ID <> 101)",
        "DELETE FROM BANK_ACCOUNTS",
        "DELETE FROM BELEJKA_DETAILS",
        "DELETE FROM CATEGORY where (ID <> 0)",
        "DELETE FROM CITIES",
        "DELETE FROM CONTACTINFO",
        "DELETE FROM INVOICES",
        "DELETE FROM INVOICE_DETAILS",
        "DELETE FROM KONTR where (KONTR_ID <> 1)",
        "DELETE FROM MERKI where (MERKI_ID <> -1) and ((MERKI_ID < 1) or (MERKI_ID > 7))",
        "DELETE FROM MRU_ITEMS",
        "DELETE FROM NOM where (NOM_ID <> -1)",
        "DELETE FROM STOCK_COUNT_LINES",
        "DELETE FROM TRANZ",
        "DELETE FROM TRANZ_RED",
        // Last: deleting the documents noted their months as changed.
        "DELETE FROM STOCK_SNAPSHOT_GOODS",
        "DELETE FROM STOCK_SNAPSHOTS",
        "DELETE FROM STOCK_SNAPSHOT_CHANGES",
    };
    for (const char *statement : statements)
        session.ExecSQL(QString::fromLatin1(statement));
}

void deleteDocument(SqlSession &session, int documentId)
{
    const SqlParams id{{QStringLiteral("ID"), documentId}};
    session.ExecSQL(QStringLiteral("Delete from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID"), id);
    // A stock count's counted goods, none for other documents.
    session.ExecSQL(QStringLiteral("Delete from STOCK_COUNT_LINES where TRANZ_ID = :ID"), id);
    session.ExecSQL(QStringLiteral("Delete from TRANZ where TRANZ_ID =  :ID"), id);
}

} // namespace data
