#include "DatabaseGenerator.h"

#include "core/Tdm.h"
#include "db/Script.h"

namespace bench {

namespace {

// Server-side loops: a million rows go in far faster than through the client.
void runBlock(Tdm &dm, const QString &block)
{
    db::Script(dm.database(), dm.mainTransaction()).execute(QLatin1String("SET TERM ^ ;\n") + block + QLatin1String("^\n"));
    dm.CommitRetaining();
}

const char *const kGoods = R"(
EXECUTE BLOCK AS
DECLARE I INTEGER = 1;
BEGIN
  WHILE (I <= %1) DO BEGIN
    INSERT INTO NOM (NOM_ID, NOM_CODE, NOM_NAME, NOM_MERKI_ID1, NOM_MERKI_ID2, NOM_INREPORT, NOM_AMBALAJ,
                     NOM_CATEGORY_ID, SELL_PRICE)
    VALUES (:I, :I, 'Стока ' || :I, 1 + MOD(:I, 7), -1, IIF(MOD(:I, 10) = 0, 0, 1), 0, 0, 1 + MOD(:I, 97));
    I = I + 1;
  END
END)";

const char *const kCounterparties = R"(
EXECUTE BLOCK AS
DECLARE I INTEGER = 2;
BEGIN
  WHILE (I <= %1 + 1) DO BEGIN
    INSERT INTO KONTR (KONTR_ID, KONTR_CODE, KONTR_NAME, KONTR_CITY, KONTR_IS_CLIENT)
    VALUES (:I, :I, 'Контрагент ' || :I, 'София', MOD(:I, 3));
    I = I + 1;
  END
END)";

// Documents %1..%2 of %3, evenly over the days from %4 (a date) to the
// last day, each with %5 lines; %6 goods, %7 counterparties.
const char *const kDocuments = R"(
EXECUTE BLOCK AS
DECLARE I INTEGER = %1;
DECLARE L INTEGER;
DECLARE DOC_TYPE INTEGER;
DECLARE KONTR INTEGER;
DECLARE MOMENT TIMESTAMP;
DECLARE R DOUBLE PRECISION;
DECLARE GOODS INTEGER;
DECLARE DIRECTION INTEGER;
DECLARE QUANTITY DOUBLE PRECISION;
DECLARE TOTAL DOUBLE PRECISION;
DECLARE PRICE DOUBLE PRECISION;
BEGIN
  WHILE (I <= %2) DO BEGIN
    R = RAND();
    DOC_TYPE = IIF(R < 0.45, 11, IIF(R < 0.85, 12, IIF(R < 0.95, 10, 13)));
    KONTR = IIF(DOC_TYPE IN (11, 12), 2 + CAST(FLOOR(RAND() * %7) AS INTEGER), -1);
    MOMENT = DATEADD(CAST((:I - 1) * (DATEDIFF(DAY FROM DATE '%4' TO DATE '%8') + 1) * 1440.0 / %3 AS INTEGER)
                     MINUTE TO CAST(DATE '%4' AS TIMESTAMP));
    TOTAL = 0;
    L = 1;
    WHILE (L <= %5) DO BEGIN
      GOODS = 1 + CAST(FLOOR(%6 * POWER(RAND(), 2.354)) AS INTEGER);
      IF (GOODS > %6) THEN GOODS = %6;
      DIRECTION = IIF(DOC_TYPE = 12 OR (DOC_TYPE = 10 AND L = 1), 1, -1);
      QUANTITY = 1 + FLOOR(RAND() * 20);
      PRICE = 1 + FLOOR(RAND() * 5000) / 100;
      TOTAL = TOTAL + QUANTITY * PRICE;
      INSERT INTO TRANZ_RED (TRANZ_RED_ID, TRANZ_RED_TRANZ_ID, TRANZ_RED_TYPE_ID, TRANZ_RED_NOM_ID, TRANZ_RED_CAT_ID,
                             TRANZ_RED_KOL1, TRANZ_RED_KOL2, TRANZ_RED_CENA, TRANZ_RED_OTSTUPKA, TRANZ_RED_IZNESENO)
      VALUES ((:I - 1) * %5 + :L, :I, :DIRECTION, :GOODS, 0, :QUANTITY, 0, :PRICE,
              IIF(RAND() < 0.2, 0.05, 0), IIF(RAND() < 0.02, 0, :QUANTITY));
      L = L + 1;
    END
    INSERT INTO TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_KONT_ID, TRANZ_TIME, TRANZ_PADEJ, TRANZ_NOTE,
                       TRANZ_SUM, TRANZ_PLATENO)
    VALUES (:I, :DOC_TYPE, :I, :KONTR, :MOMENT, CAST(:MOMENT AS DATE) + 14, NULL, :TOTAL,
            IIF(RAND() < 0.03, 0, :TOTAL));
    I = I + 1;
  END
END)";

const char *const kRecomputeIndexStatistics = R"(
EXECUTE BLOCK AS
DECLARE NAME VARCHAR(63);
BEGIN
  FOR SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 INTO :NAME DO
    EXECUTE STATEMENT 'SET STATISTICS INDEX "' || NAME || '"';
END)";

} // namespace

void generateDatabase(Tdm &dm, const Sizes &sizes, const QDate &lastDay,
                      const std::function<void(const QString &)> &progress)
{
    const QDate firstDay = lastDay.addYears(-sizes.years).addDays(1);
    progress(QStringLiteral("goods and counterparties"));
    runBlock(dm, QString::fromUtf8(kGoods).arg(sizes.goods));
    runBlock(dm, QString::fromUtf8(kCounterparties).arg(sizes.counterparties));

    const int batch = 20000;
    for (int first = 1; first <= sizes.documents; first += batch) {
        const int last = qMin(first + batch - 1, sizes.documents);
        progress(QStringLiteral("documents %1-%2 of %3").arg(first).arg(last).arg(sizes.documents));
        runBlock(dm, QString::fromUtf8(kDocuments)
                         .arg(first)
                         .arg(last)
                         .arg(sizes.documents)
                         .arg(firstDay.toString(Qt::ISODate))
                         .arg(sizes.linesPerDocument)
                         .arg(sizes.goods)
                         .arg(sizes.counterparties)
                         .arg(lastDay.toString(Qt::ISODate)));
    }
    progress(QStringLiteral("index statistics and counters"));
    runBlock(dm, QString::fromUtf8(kRecomputeIndexStatistics));
    dm.AdjustCounters(data::CounterAdjustment::Reset);
}

} // namespace bench
