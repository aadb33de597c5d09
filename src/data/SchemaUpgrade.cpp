#include "data/SchemaUpgrade.h"

#include "data/ColumnSizes.h"
#include "data/Counters.h"
#include "data/EuroChangeover.h"
#include "data/SqlSession.h"

#include <QStringList>

#include <iterator>
#include <utility>

namespace data {

namespace {

const char *const kColumnExists =
    "select 1 from RDB$RELATION_FIELDS where RDB$RELATION_NAME = :TABLE_NAME and RDB$FIELD_NAME = :COLUMN_NAME";
const char *const kColumnDomain =
    "select trim(RDB$FIELD_SOURCE) from RDB$RELATION_FIELDS "
    "where RDB$RELATION_NAME = :TABLE_NAME and RDB$FIELD_NAME = :COLUMN_NAME";
const char *const kDomainExists = "select 1 from RDB$FIELDS where RDB$FIELD_NAME = :DOMAIN_NAME";
const char *const kDomainLength = "select RDB$CHARACTER_LENGTH from RDB$FIELDS where RDB$FIELD_NAME = :DOMAIN_NAME";
const char *const kDocumentTypeExists = "select 1 from TRANZ_TYPES where TRANZ_TYPES_ID = :ID";
const char *const kConfigKeyExists = "select 1 from APP_CONFIG_KEYS where NAME = :NAME";
const char *const kTableExists = "select 1 from RDB$RELATIONS where RDB$RELATION_NAME = :TABLE_NAME";
const char *const kIndexExists = "select 1 from RDB$INDICES where RDB$INDEX_NAME = :INDEX_NAME";
const char *const kSequenceExists = "select 1 from RDB$GENERATORS where RDB$GENERATOR_NAME = :SEQUENCE_NAME";
const char *const kCountersDrawnFromSequences =
    "select 1 from RDB$PROCEDURES where RDB$PROCEDURE_NAME = 'GETCOUNTERVAL' and RDB$PROCEDURE_SOURCE containing 'GEN_ID'";
const char *const kCounterRowExists = "select 1 from COUNTERS where ID = :ID";
// The embedded engine refuses to change a procedure another attachment has
// prepared, and the refusal would stay in the upgrade's transaction.
const char *const kCounterProcedureHeld =
    "select 1 from MON$ATTACHMENTS a where a.MON$ATTACHMENT_ID = current_connection "
    "and a.MON$REMOTE_PROTOCOL is null and exists (select 1 from MON$STATEMENTS s "
    "where s.MON$ATTACHMENT_ID <> current_connection and s.MON$SQL_TEXT containing 'GETCOUNTERVAL')";
const char *const kColumnType =
    "select f.RDB$FIELD_TYPE, f.RDB$CHARACTER_LENGTH from RDB$RELATION_FIELDS r "
    "join RDB$FIELDS f on f.RDB$FIELD_NAME = r.RDB$FIELD_SOURCE "
    "where r.RDB$RELATION_NAME = :TABLE_NAME and r.RDB$FIELD_NAME = :COLUMN_NAME";
const char *const kParameterLength =
    "select f.RDB$CHARACTER_LENGTH from RDB$PROCEDURE_PARAMETERS p "
    "join RDB$FIELDS f on f.RDB$FIELD_NAME = p.RDB$FIELD_SOURCE "
    "where p.RDB$PROCEDURE_NAME = :PROCEDURE_NAME and p.RDB$PARAMETER_NAME = :PARAMETER_NAME";
// RDB$FIELD_TYPE of a BIGINT column.
const int kBigintType = 16;

// Every change of a document's paid amount, whoever writes it, becomes a
// dated record, so the amount paid up to any moment can be told later. A
// transaction that only restates the amounts (the euro changeover) marks
// itself and is not taken for a payment. A document given another key takes
// its records along.
const char *const kPaymentRecordTrigger =
    "SET TERM ^ ;\n"
    "CREATE OR ALTER TRIGGER TRANZ_PAYMENT_RECORDS FOR TRANZ ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 0\n"
    "AS\n"
    "BEGIN\n"
    "  IF (DELETING) THEN\n"
    "  BEGIN\n"
    "    DELETE FROM TRANZ_PAYMENTS WHERE TRANZ_ID = OLD.TRANZ_ID;\n"
    "    EXIT;\n"
    "  END\n"
    "  IF (UPDATING AND NEW.TRANZ_ID <> OLD.TRANZ_ID) THEN\n"
    "    UPDATE TRANZ_PAYMENTS SET TRANZ_ID = NEW.TRANZ_ID WHERE TRANZ_ID = OLD.TRANZ_ID;\n"
    "  IF (RDB$GET_CONTEXT('USER_TRANSACTION', 'VARNEX_NO_PAYMENT_RECORD') IS NOT NULL) THEN\n"
    "    EXIT;\n"
    "  IF (INSERTING) THEN\n"
    "  BEGIN\n"
    "    IF (COALESCE(NEW.TRANZ_PLATENO, 0) <> 0) THEN\n"
    "      INSERT INTO TRANZ_PAYMENTS (TRANZ_ID, PAID_AT, AMOUNT) VALUES (NEW.TRANZ_ID, CURRENT_TIMESTAMP, "
    "NEW.TRANZ_PLATENO);\n"
    "  END\n"
    "  ELSE IF (COALESCE(NEW.TRANZ_PLATENO, 0) <> COALESCE(OLD.TRANZ_PLATENO, 0)) THEN\n"
    "    INSERT INTO TRANZ_PAYMENTS (TRANZ_ID, PAID_AT, AMOUNT) VALUES (NEW.TRANZ_ID, CURRENT_TIMESTAMP, "
    "COALESCE(NEW.TRANZ_PLATENO, 0) - COALESCE(OLD.TRANZ_PLATENO, 0));\n"
    "END^\n"
    "SET TERM ; ^";

// The recently-used lists take values as long as the invoice's names and
// addresses; the body is the install script's.
const char *const kRecentValueProcedure =
    "SET TERM ^ ;\n"
    "CREATE OR ALTER PROCEDURE UPDATE_MRU_ITEMS (MRU_ID INTEGER, MRU_VAL VARCHAR(%1) CHARACTER SET WIN1251, "
    "MAX_VALS INTEGER)\n"
    "AS\n"
    "DECLARE VARIABLE NEW_ID INTEGER;\n"
    "BEGIN\n"
    "  IF (TRIM(COALESCE(:MRU_VAL, '')) = '') THEN\n"
    "    EXIT;\n"
    "  DELETE FROM MRU_ITEMS WHERE MRU_ID = :MRU_ID AND MRU_VAL = :MRU_VAL;\n"
    "  EXECUTE PROCEDURE GETCOUNTERVAL(35) RETURNING_VALUES :NEW_ID;\n"
    "  INSERT INTO MRU_ITEMS (ID, MRU_ID, MRU_VAL) VALUES (:NEW_ID, :MRU_ID, :MRU_VAL);\n"
    "  DELETE FROM MRU_ITEMS\n"
    "   WHERE MRU_ID = :MRU_ID\n"
    "     AND ID NOT IN (SELECT FIRST (:MAX_VALS) M.ID FROM MRU_ITEMS M\n"
    "                     WHERE M.MRU_ID = :MRU_ID ORDER BY M.ID DESC);\n"
    "END^\n"
    "SET TERM ; ^";

// One upgrade statement and the test that tells it has already taken effect.
class Upgrade
{
public:
    explicit Upgrade(SqlSession &session)
        : m_session(session)
    {
    }

    bool run(const char *statement) { return run(QString::fromUtf8(statement)); }
    bool run(const QString &statement) { return m_session.RunScriptStatement(statement); }

    bool runUnless(bool done, const char *statement) { return done || run(statement); }
    bool runUnless(bool done, const QString &statement) { return done || run(statement); }

    bool hasColumn(const char *table, const char *column)
    {
        return m_session.HasRows(QString::fromLatin1(kColumnExists),
                                 {{QStringLiteral("TABLE_NAME"), QString::fromLatin1(table)},
                                  {QStringLiteral("COLUMN_NAME"), QString::fromLatin1(column)}});
    }

    bool columnHasDomain(const char *table, const char *column, const char *domain)
    {
        return m_session
                   .QueryValue(QString::fromLatin1(kColumnDomain), QString(),
                               {{QStringLiteral("TABLE_NAME"), QString::fromLatin1(table)},
                                {QStringLiteral("COLUMN_NAME"), QString::fromLatin1(column)}})
                   .toString()
               == QLatin1String(domain);
    }

    bool hasDomain(const char *domain)
    {
        return m_session.HasRows(QString::fromLatin1(kDomainExists),
                                 {{QStringLiteral("DOMAIN_NAME"), QString::fromLatin1(domain)}});
    }

    int domainLength(const char *domain)
    {
        return m_session
            .QueryValue(QString::fromLatin1(kDomainLength), QString(),
                        {{QStringLiteral("DOMAIN_NAME"), QString::fromLatin1(domain)}})
            .toInt();
    }

    // The type code and character length of a column; {0, 0} when there is no such column.
    std::pair<int, int> columnType(const char *table, const char *column)
    {
        const auto rows = m_session.QueryRows(QString::fromLatin1(kColumnType),
                                              {{QStringLiteral("TABLE_NAME"), QString::fromLatin1(table)},
                                               {QStringLiteral("COLUMN_NAME"), QString::fromLatin1(column)}});
        if (rows.empty())
            return {0, 0};
        return {rows.front().at(0).toInt(), rows.front().at(1).toInt()};
    }

    int parameterLength(const char *procedure, const char *parameter)
    {
        return m_session
            .QueryValue(QString::fromLatin1(kParameterLength), QString(),
                        {{QStringLiteral("PROCEDURE_NAME"), QString::fromLatin1(procedure)},
                         {QStringLiteral("PARAMETER_NAME"), QString::fromLatin1(parameter)}})
            .toInt();
    }

    // Widens a text column to `length` characters unless it holds that many
    // already; a column is never narrowed.
    bool widenText(const char *table, const char *column, int length)
    {
        if (columnType(table, column).second >= length)
            return true;
        return run(QStringLiteral("ALTER TABLE %1 ALTER %2 TYPE VARCHAR(%3) CHARACTER SET WIN1251;")
                       .arg(QString::fromLatin1(table), QString::fromLatin1(column))
                       .arg(length));
    }

    bool hasTable(const char *table)
    {
        return m_session.HasRows(QString::fromLatin1(kTableExists),
                                 {{QStringLiteral("TABLE_NAME"), QString::fromLatin1(table)}});
    }

    bool hasIndex(const char *index)
    {
        return m_session.HasRows(QString::fromLatin1(kIndexExists),
                                 {{QStringLiteral("INDEX_NAME"), QString::fromLatin1(index)}});
    }

    bool hasDocumentType(int id)
    {
        return m_session.HasRows(QString::fromLatin1(kDocumentTypeExists), {{QStringLiteral("ID"), id}});
    }

    bool hasSequence(const QString &sequence)
    {
        return m_session.HasRows(QString::fromLatin1(kSequenceExists), {{QStringLiteral("SEQUENCE_NAME"), sequence}});
    }

    bool hasConfigKey(const char *name)
    {
        return m_session.HasRows(QString::fromLatin1(kConfigKeyExists),
                                 {{QStringLiteral("NAME"), QString::fromLatin1(name)}});
    }

    // Adds a column unless it is there already.
    bool addColumn(const char *table, const char *column, const char *statement)
    {
        return runUnless(hasColumn(table, column), statement);
    }

    // Renames a column unless the new name is there already.
    bool renameColumn(const char *table, const char *newName, const char *statement)
    {
        return runUnless(hasColumn(table, newName), statement);
    }

    SqlSession &session() { return m_session; }

private:
    SqlSession &m_session;
};

bool upgradeTo10001(Upgrade &upgrade)
{
    const QVariant keyId = upgrade.session().QueryValue(
        QStringLiteral("Select KEY_ID from APP_CONFIG_KEYS where NAME = 'DB_VERSION'"), QStringLiteral("KEY_ID"));
    if (keyId.isNull())
        return upgrade.run("INSERT INTO APP_CONFIG_KEYS (KEY_ID,NAME) VALUES(101,'DB_VERSION')");
    if (keyId.toInt() == 14)
        return upgrade.run("update APP_CONFIG_KEYS set KEY_ID=101 where NAME = 'DB_VERSION'");
    return true;
}

bool upgradeTo20001(Upgrade &upgrade)
{
    return upgrade.runUnless(upgrade.hasConfigKey("VAT_INVOICE"),
                             "INSERT INTO APP_CONFIG_KEYS (KEY_ID,NAME) VALUES(301,'VAT_INVOICE')")
           && upgrade.runUnless(upgrade.hasConfigKey("INVOICE_CREATOR"),
                                "INSERT INTO APP_CONFIG_KEYS (KEY_ID,NAME) VALUES(302,'INVOICE_CREATOR')");
}

bool upgradeTo20108(Upgrade &upgrade, const std::function<void()> &adjustCounters)
{
    const bool vehicleRenamed = upgrade.hasColumn("INVOICES", "NOVO_SREDSTVO");
    const bool done =
        upgrade.runUnless(upgrade.hasDomain("SMALLINT"), "CREATE DOMAIN \"SMALLINT\" AS SMALLINT;")
        && upgrade.addColumn("INVOICES", "LA_NUMBER", "ALTER TABLE INVOICES ADD LA_NUMBER \"ShortSTR\" COLLATE WIN1251;")
        && upgrade.addColumn("INVOICES", "LA_DATE", "ALTER TABLE INVOICES ADD LA_DATE DATE;")
        && upgrade.addColumn("INVOICES", "SECOND_VAT", "ALTER TABLE INVOICES ADD SECOND_VAT \"TiniString\" COLLATE WIN1251;")
        && upgrade.addColumn("INVOICES", "DIST_SELLING_EIK",
                             "ALTER TABLE INVOICES ADD DIST_SELLING_EIK \"ShortSTR\" COLLATE WIN1251;")
        && upgrade.addColumn("INVOICES", "DIST_SELLING_VAT",
                             "ALTER TABLE INVOICES ADD DIST_SELLING_VAT \"TiniString\" COLLATE WIN1251;")
        && upgrade.addColumn("INVOICES", "DIST_SELLING_CASHSIZE", "ALTER TABLE INVOICES ADD DIST_SELLING_CASHSIZE DBL;")
        && upgrade.addColumn("INVOICES", "NONCHARGE_VAT", "ALTER TABLE INVOICES ADD NONCHARGE_VAT \"SMALLINT\";")
        && upgrade.addColumn("INVOICES", "REQUESTED_VAT", "ALTER TABLE INVOICES ADD REQUESTED_VAT \"SMALLINT\";")
        && upgrade.runUnless(vehicleRenamed || upgrade.hasColumn("INVOICES", "NEW_VEHICLE"),
                             "ALTER TABLE INVOICES ADD NEW_VEHICLE \"SMALLINT\";")
        && upgrade.addColumn("INVOICES", "RV_DETAILS", "ALTER TABLE INVOICES ADD RV_DETAILS \"LongSTR\" COLLATE WIN1251;")
        && upgrade.addColumn("INVOICES", "NV_DETAILS", "ALTER TABLE INVOICES ADD NV_DETAILS \"LongSTR\" COLLATE WIN1251;")
        && upgrade.addColumn("INVOICES", "SELL_DATE", "ALTER TABLE INVOICES ADD SELL_DATE DATE;")
        && upgrade.runUnless(upgrade.hasConfigKey("BG_VAT"), "INSERT INTO APP_CONFIG_KEYS (KEY_ID,NAME) VALUES(36,'BG_VAT');")
        && upgrade.renameColumn("INVOICES", "NOVO_SREDSTVO", "ALTER TABLE INVOICES ALTER NEW_VEHICLE TO NOVO_SREDSTVO;")
        && upgrade.addColumn("INVOICES", "INVNOTIF_DATE", "ALTER TABLE INVOICES ADD INVNOTIF_DATE DATE;")
        && upgrade.run("DELETE FROM MRU_ITEMS");
    if (!done)
        return false;
    try {
        adjustCounters();
    } catch (const std::exception &) {
        return false;
    }
    return true;
}

// A database with no stock document and no sell price holds nothing in leva:
// a new one, made from the installation's first-release script. It is put
// in euro at once, so there is never anything to convert.
bool upgradeTo20115(Upgrade &upgrade)
{
    SqlSession &session = upgrade.session();
    if (!upgrade.runUnless(upgrade.hasConfigKey(kEuroChangeoverKeyName),
                           "INSERT INTO APP_CONFIG_KEYS (KEY_ID,NAME) VALUES(402,'EURO_CHANGEOVER')"))
        return false;
    if (euroChangeover(session)
        || session.HasRows(QStringLiteral("select 1 from RDB$DATABASE where exists (select 1 from TRANZ) "
                                          "or exists (select 1 from NOM where SELL_PRICE <> 0)")))
        return true;
    const SqlParams record{{QStringLiteral("KEY_ID"), kEuroChangeoverKey},
                           {QStringLiteral("KEY_VALUE"),
                            euroChangeoverValue({euroDay(), QDateTime::currentDateTime()})}};
    if (session.ExecSQL(QStringLiteral("update APP_CONFIG set KEY_VALUE = :KEY_VALUE where KEY_ID = :KEY_ID"), record)
        == 0)
        session.ExecSQL(QStringLiteral("insert into APP_CONFIG (KEY_ID, KEY_VALUE) values (:KEY_ID, :KEY_VALUE)"),
                        record);
    return true;
}

bool upgradeTo20116(Upgrade &upgrade)
{
    return upgrade.runUnless(upgrade.hasTable("TRANZ_PAYMENTS"),
                             "CREATE TABLE TRANZ_PAYMENTS (PAYMENT_ID INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
                             "TRANZ_ID INTEGER NOT NULL, PAID_AT TIMESTAMP NOT NULL, AMOUNT DBL NOT NULL);")
           && upgrade.runUnless(upgrade.hasIndex("IX_TRANZ_PAYMENTS_TRANZ_TIME"),
                                "CREATE INDEX IX_TRANZ_PAYMENTS_TRANZ_TIME ON TRANZ_PAYMENTS (TRANZ_ID, PAID_AT);")
           && upgrade.run(kPaymentRecordTrigger)
           && upgrade.run("GRANT INSERT, UPDATE, DELETE ON TRANZ_PAYMENTS TO TRIGGER TRANZ_PAYMENT_RECORDS;");
}

// Ten-digit invoice numbers, the recipient's full name and address, a whole
// IBAN, and the ground of a 0 % VAT invoice.
bool upgradeTo20117(Upgrade &upgrade)
{
    struct Widened
    {
        const char *table;
        const char *column;
        int length;
    };
    static const Widened widened[] = {
        {"INVOICES", "COMPANY", kInvoiceCompanySize},
        {"INVOICES", "ADDRESS", kInvoiceAddressSize},
        {"INVOICES", "MOL", kInvoicePersonSize},
        {"INVOICES", "RECIEVER", kInvoicePersonSize},
        {"INVOICES", "INVOICE_CREATOR", kInvoicePersonSize},
        {"INVOICES", "MVR", kInvoicePlaceSize},
        {"INVOICES", "PLACE", kInvoicePlaceSize},
        {"INVOICES", "CITY", kInvoicePlaceSize},
        {"INVOICES", "BANK", kInvoiceBankSize},
        {"INVOICES", "BANK_VAT", kInvoiceBankSize},
        {"INVOICES", "ACCOUNT", kInvoiceAccountSize},
        {"INVOICES", "ACCOUNT_VAT", kInvoiceAccountSize},
        {"MRU_ITEMS", "MRU_VAL", kRecentValueSize},
    };
    if (!upgrade.runUnless(upgrade.columnType("INVOICES", "NUMBER").first == kBigintType,
                           "ALTER TABLE INVOICES ALTER NUMBER TYPE BIGINT;"))
        return false;
    for (const Widened &column : widened) {
        if (!upgrade.widenText(column.table, column.column, column.length))
            return false;
    }
    return (upgrade.hasColumn("INVOICES", "ZERO_VAT_GROUND")
            || upgrade.run(QStringLiteral("ALTER TABLE INVOICES ADD ZERO_VAT_GROUND VARCHAR(%1) CHARACTER SET WIN1251;")
                               .arg(kZeroVatGroundSize)))
           && (upgrade.parameterLength("UPDATE_MRU_ITEMS", "MRU_VAL") >= kRecentValueSize
               || upgrade.run(QString::fromLatin1(kRecentValueProcedure).arg(kRecentValueSize)));
}

const int kStockCountType = 14;

// Barcodes of the goods (several an item, one code never on two items) and
// the stock count, a document type of its own.
bool upgradeTo20118(Upgrade &upgrade)
{
    return upgrade.runUnless(upgrade.hasTable("NOM_BARCODES"),
                             QStringLiteral("CREATE TABLE NOM_BARCODES (BARCODE VARCHAR(%1) CHARACTER SET WIN1251 "
                                            "NOT NULL PRIMARY KEY, NOM_ID INTEGER NOT NULL REFERENCES NOM (NOM_ID) "
                                            "ON DELETE CASCADE);")
                                 .arg(kBarcodeSize))
           && upgrade.runUnless(upgrade.hasDocumentType(kStockCountType),
                                "INSERT INTO TRANZ_TYPES (TRANZ_TYPES_ID, TRANZ_TYPES_NAME) VALUES (14, 'Ревизия');")
           && upgrade.runUnless(upgrade.hasConfigKey("SCAN_ADDS_TO_LINE"),
                                "INSERT INTO APP_CONFIG_KEYS (KEY_ID,NAME) VALUES(403,'SCAN_ADDS_TO_LINE');");
}

// Keys drawn from sequences, which no workstation waits for; each starts
// at zero and the first draw moves it past its counter's row. Everyone may
// use them: a reset by the maintenance command sets them. A server lets the
// procedure change while other workstations have it prepared (they keep the
// old one until they connect again); an embedded database another
// attachment of this program holds goes on drawing from the rows, as it
// always did.
bool upgradeTo20119(Upgrade &upgrade)
{
    for (const QString &sequence : counterSequences()) {
        if (!upgrade.hasSequence(sequence) && !upgrade.run(QStringLiteral("CREATE SEQUENCE %1;").arg(sequence)))
            return false;
        if (!upgrade.run(QStringLiteral("GRANT USAGE ON SEQUENCE %1 TO PUBLIC;").arg(sequence)))
            return false;
    }
    if (!upgrade.session().HasRows(QString::fromLatin1(kCountersDrawnFromSequences))
        && !upgrade.session().HasRows(QString::fromLatin1(kCounterProcedureHeld)) && !upgrade.run(counterProcedure()))
        return false;
    if (!upgrade.session().HasRows(QString::fromLatin1(kCounterRowExists), {{QStringLiteral("ID"), kDocumentNumbersRow}}))
        upgrade.session().ExecSQL(QStringLiteral("insert into COUNTERS (ID, VAL) values (:ID, 0)"),
                                  {{QStringLiteral("ID"), kDocumentNumbersRow}});
    return true;
}

// A stock count keeps, per goods item, the book quantity when it was
// counted, the counted quantity, and once posted the book quantity the
// posting was measured against; a count half-way has no posted quantities.
bool upgradeTo20120(Upgrade &upgrade)
{
    return upgrade.runUnless(upgrade.hasTable("STOCK_COUNT_LINES"),
                             "CREATE TABLE STOCK_COUNT_LINES (TRANZ_ID INTEGER NOT NULL, NOM_ID INTEGER NOT NULL, "
                             "BOOK_QTY DBL DEFAULT 0, COUNTED_QTY DBL DEFAULT 0, POSTED_BOOK_QTY DBL, "
                             "PRIMARY KEY (TRANZ_ID, NOM_ID));");
}


// Stock at the end of each closed month, so stock at a date and on hand
// read one month's row per goods item and the documents since instead of
// every line ever written. The triggers note the first day of the month of
// any change to a document dated before the current month (its date, type,
// key or lines); a month's stock is trusted only while no change is noted
// for it or an earlier month, so a change to a closed month is never read
// past. The note is decided by the server's date alone, never by what is
// stored, so no workstation's change can slip past a month being stored at
// the same moment: months are stored only two days after they end. One
// note a transaction is enough for its earliest month: nobody can act on
// it before the transaction's changes are seen with it. A transaction kept
// on by a commit that retains it has a new number, and notes again.
const struct
{
    const char *name;
    const char *statement;
} kStockSnapshotTables[] = {
    {"STOCK_SNAPSHOTS",
     "CREATE TABLE STOCK_SNAPSHOTS (UNTIL_DAY DATE NOT NULL PRIMARY KEY, DOCUMENTS INTEGER DEFAULT 0 NOT NULL);"},
    {"STOCK_SNAPSHOT_GOODS",
     "CREATE TABLE STOCK_SNAPSHOT_GOODS (UNTIL_DAY DATE NOT NULL, NOM_ID INTEGER NOT NULL, QTY DBL, LINES INTEGER, "
     "NEWEST_TIME TIMESTAMP, NEWEST_TRANZ_ID INTEGER, NEWEST_LINE_ID INTEGER, NEWEST_PRICE DBL, "
     "PRIMARY KEY (UNTIL_DAY, NOM_ID));"},
    {"STOCK_SNAPSHOT_CHANGES",
     "CREATE TABLE STOCK_SNAPSHOT_CHANGES (CHANGE_ID INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
     "FROM_DAY DATE NOT NULL);"},
};
const char *const kStockChangedProcedure =
    "SET TERM ^ ;\n"
    "CREATE OR ALTER PROCEDURE STOCK_SNAPSHOT_CHANGED (MOMENT TIMESTAMP)\n"
    "AS\n"
    "DECLARE MONTH_START DATE;\n"
    "DECLARE NOTED VARCHAR(40);\n"
    "BEGIN\n"
    "  IF (MOMENT IS NULL OR MOMENT >= DATEADD(1 - EXTRACT(DAY FROM CURRENT_DATE) DAY TO CURRENT_DATE)) THEN\n"
    "    EXIT;\n"
    "  MONTH_START = DATEADD(1 - EXTRACT(DAY FROM MOMENT) DAY TO CAST(MOMENT AS DATE));\n"
    "  NOTED = RDB$GET_CONTEXT('USER_TRANSACTION', 'VARNEX_STOCK_CHANGE');\n"
    "  IF (NOTED STARTING WITH CURRENT_TRANSACTION || ' ') THEN\n"
    "    IF (CAST(SUBSTRING(NOTED FROM POSITION(' ' IN NOTED) + 1) AS DATE) <= MONTH_START) THEN\n"
    "      EXIT;\n"
    "  INSERT INTO STOCK_SNAPSHOT_CHANGES (FROM_DAY) VALUES (:MONTH_START);\n"
    "  RDB$SET_CONTEXT('USER_TRANSACTION', 'VARNEX_STOCK_CHANGE', CURRENT_TRANSACTION || ' ' || MONTH_START);\n"
    "END^\n"
    "SET TERM ; ^";
const char *const kStockDocumentTrigger =
    "SET TERM ^ ;\n"
    "CREATE OR ALTER TRIGGER STOCK_SNAPSHOT_DOCUMENTS FOR TRANZ ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 1\n"
    "AS\n"
    "BEGIN\n"
    "  IF (UPDATING AND NEW.TRANZ_ID = OLD.TRANZ_ID AND NEW.TRANZ_TIME IS NOT DISTINCT FROM OLD.TRANZ_TIME\n"
    "      AND NEW.TRANZ_TYPE_ID IS NOT DISTINCT FROM OLD.TRANZ_TYPE_ID) THEN\n"
    "    EXIT;\n"
    "  EXECUTE PROCEDURE STOCK_SNAPSHOT_CHANGED(MINVALUE(COALESCE(NEW.TRANZ_TIME, OLD.TRANZ_TIME),\n"
    "                                                    COALESCE(OLD.TRANZ_TIME, NEW.TRANZ_TIME)));\n"
    "END^\n"
    "SET TERM ; ^";
const char *const kStockLineTrigger =
    "SET TERM ^ ;\n"
    "CREATE OR ALTER TRIGGER STOCK_SNAPSHOT_LINES FOR TRANZ_RED ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 0\n"
    "AS\n"
    "DECLARE MOMENT TIMESTAMP;\n"
    "DECLARE OLD_MOMENT TIMESTAMP;\n"
    "BEGIN\n"
    "  IF (UPDATING AND NEW.TRANZ_RED_TRANZ_ID IS NOT DISTINCT FROM OLD.TRANZ_RED_TRANZ_ID\n"
    "      AND NEW.TRANZ_RED_NOM_ID IS NOT DISTINCT FROM OLD.TRANZ_RED_NOM_ID\n"
    "      AND NEW.TRANZ_RED_TYPE_ID IS NOT DISTINCT FROM OLD.TRANZ_RED_TYPE_ID\n"
    "      AND NEW.TRANZ_RED_IZNESENO IS NOT DISTINCT FROM OLD.TRANZ_RED_IZNESENO\n"
    "      AND NEW.TRANZ_RED_CENA IS NOT DISTINCT FROM OLD.TRANZ_RED_CENA\n"
    "      AND NEW.TRANZ_RED_OTSTUPKA IS NOT DISTINCT FROM OLD.TRANZ_RED_OTSTUPKA) THEN\n"
    "    EXIT;\n"
    "  IF (NOT DELETING) THEN\n"
    "    SELECT TRANZ_TIME FROM TRANZ WHERE TRANZ_ID = NEW.TRANZ_RED_TRANZ_ID INTO :MOMENT;\n"
    "  IF (NOT INSERTING) THEN\n"
    "    SELECT TRANZ_TIME FROM TRANZ WHERE TRANZ_ID = OLD.TRANZ_RED_TRANZ_ID INTO :OLD_MOMENT;\n"
    "  EXECUTE PROCEDURE STOCK_SNAPSHOT_CHANGED(MINVALUE(COALESCE(MOMENT, OLD_MOMENT), COALESCE(OLD_MOMENT, MOMENT)));\n"
    "END^\n"
    "SET TERM ; ^";

bool upgradeTo20121(Upgrade &upgrade)
{
    if (!upgrade.runUnless(upgrade.hasConfigKey("ORPHAN_LINES_CHECKED"),
                           "INSERT INTO APP_CONFIG_KEYS (KEY_ID,NAME) VALUES(404,'ORPHAN_LINES_CHECKED');"))
        return false;
    for (const auto &table : kStockSnapshotTables) {
        if (!upgrade.runUnless(upgrade.hasTable(table.name), table.statement))
            return false;
    }
    // The lines of one goods item on one document, found by the index alone.
    return upgrade.runUnless(upgrade.hasIndex("IX_STOCK_SNAPSHOT_CHANGES_DAY"),
                             "CREATE INDEX IX_STOCK_SNAPSHOT_CHANGES_DAY ON STOCK_SNAPSHOT_CHANGES (FROM_DAY);")
           && upgrade.runUnless(upgrade.hasIndex("IX_TRANZ_RED_TRANZ_NOM"),
                                "CREATE INDEX IX_TRANZ_RED_TRANZ_NOM ON TRANZ_RED (TRANZ_RED_TRANZ_ID, TRANZ_RED_NOM_ID);")
           && upgrade.run(kStockChangedProcedure)
           && upgrade.run("GRANT INSERT ON STOCK_SNAPSHOT_CHANGES TO PROCEDURE STOCK_SNAPSHOT_CHANGED;")
           && upgrade.run(kStockDocumentTrigger) && upgrade.run(kStockLineTrigger)
           && upgrade.run("GRANT EXECUTE ON PROCEDURE STOCK_SNAPSHOT_CHANGED TO TRIGGER STOCK_SNAPSHOT_DOCUMENTS;")
           && upgrade.run("GRANT EXECUTE ON PROCEDURE STOCK_SNAPSHOT_CHANGED TO TRIGGER STOCK_SNAPSHOT_LINES;")
           && upgrade.run("GRANT SELECT ON TRANZ TO TRIGGER STOCK_SNAPSHOT_LINES;");
}

} // namespace

bool upgradeSchema(SqlSession &session, int version, const std::function<void()> &adjustCounters, int target)
{
    // A step named after a version brings a database below it up to it.
    const auto needs = [version, target](int stepVersion) { return version < stepVersion && stepVersion <= target; };
    Upgrade upgrade(session);
    if (!upgrade.run("SET SQL DIALECT 3;\n\rSET NAMES WIN1251;"))
        return false;
    if (needs(10001) && !upgradeTo10001(upgrade))
        return false;
    if (needs(20001) && !upgradeTo20001(upgrade))
        return false;
    if (needs(20002) && !upgrade.addColumn("NOM", "SELL_PRICE", "ALTER TABLE NOM ADD SELL_PRICE DBL;"))
        return false;
    if (needs(20108) && !upgradeTo20108(upgrade, adjustCounters))
        return false;
    if (needs(20109)
        && !upgrade.renameColumn("INVOICES", "RECIEVER", "ALTER TABLE INVOICES ALTER RECEIVER TO RECIEVER;"))
        return false;
    // Firebird 3 refuses updates of its system tables; changing a column's
    // domain is done with ALTER ... TYPE instead.
    if (needs(20110)
        && !upgrade.runUnless(upgrade.columnHasDomain("INVOICES", "LKNO", "ShortSTR"),
                              "ALTER TABLE INVOICES ALTER LKNO TYPE \"ShortSTR\";"))
        return false;
    if (needs(20111)
        && !upgrade.runUnless(upgrade.domainLength("ShortSTR") >= 25,
                              "ALTER DOMAIN \"ShortSTR\" TYPE VARCHAR(25) CHARACTER SET WIN1251;"))
        return false;
    if (needs(20112)
        && !upgrade.runUnless(upgrade.columnHasDomain("INVOICE_DETAILS", "DETAIL_QTY", "DBL"),
                              "ALTER TABLE INVOICE_DETAILS ALTER DETAIL_QTY TYPE DBL;"))
        return false;
    if (needs(20113)
        && !(upgrade.renameColumn("BANK_ACCOUNTS", "BANK_CODE", "ALTER TABLE BANK_ACCOUNTS ALTER BIC TO BANK_CODE;")
             && upgrade.renameColumn("BANK_ACCOUNTS", "ACCOUNT_CODE",
                                     "ALTER TABLE BANK_ACCOUNTS ALTER IBAN TO ACCOUNT_CODE;")))
        return false;
    if (needs(20114)
        && !upgrade.runUnless(upgrade.hasConfigKey("STOCK_SHORTAGE_QUESTION"),
                              "INSERT INTO APP_CONFIG_KEYS (KEY_ID,NAME) VALUES(401,'STOCK_SHORTAGE_QUESTION')"))
        return false;
    if (needs(20115) && !upgradeTo20115(upgrade))
        return false;
    if (needs(20116) && !upgradeTo20116(upgrade))
        return false;
    if (needs(20117) && !upgradeTo20117(upgrade))
        return false;
    if (needs(20118) && !upgradeTo20118(upgrade))
        return false;
    if (needs(20119) && !upgradeTo20119(upgrade))
        return false;
    if (needs(20120) && !upgradeTo20120(upgrade))
        return false;
    if (needs(20121) && !upgradeTo20121(upgrade))
        return false;
    return true;
}

namespace {

// BELEJKA_DETAILS holds the receipt print's scratch rows, which every
// workstation writes.
const char *const kGrantedTables[] = {
    "APP_CONFIG", "APP_CONFIG_KEYS", "BANK_ACCOUNTS", "CATEGORY", "CITIES", "CONTACTINFO",
    "CONTACTINFO_TYPES", "COUNTERS", "COUNTRIES", "INVOICES", "INVOICE_DETAILS", "KONTR",
    "MERKI", "MRU_ITEMS", "MRU_NAMES", "NOM", "NOM_BARCODES", "STOCK_COUNT_LINES", "STOCK_SNAPSHOTS",
    "STOCK_SNAPSHOT_GOODS", "STOCK_SNAPSHOT_CHANGES", "TRANZ", "TRANZ_RED",
    "TRANZ_TYPES", "USERS", "USER_RIGHTS", "USER_RIGHT_ITEMS", "BELEJKA_DETAILS",
};
const char *const kGrantedProcedures[] = {"GETCOUNTERVAL", "UPDATE_MRU_ITEMS", "GETCLIENTCONTACT"};

QString quotedList(const char *const *names, size_t count)
{
    QStringList quoted;
    for (size_t i = 0; i < count; ++i)
        quoted << QLatin1Char('\'') + QString::fromLatin1(names[i]) + QLatin1Char('\'');
    return quoted.join(QLatin1Char(','));
}

// How many of the rights the grants give are held, counted over both
// grantees (each right is one row, whatever else a grantee was given), and
// how many of the granted tables a database of its version has.
QString heldRightsStatement()
{
    return QStringLiteral("select (select count(distinct trim(RDB$USER) || '.' || trim(RDB$RELATION_NAME) || '.' || "
                          "RDB$PRIVILEGE) from RDB$USER_PRIVILEGES "
                          "where RDB$USER in (:ADMINISTRATOR, :GRANTEE) and RDB$USER_TYPE = 8 "
                          "and RDB$FIELD_NAME is null and ("
                          "(RDB$RELATION_NAME in (%1) and RDB$PRIVILEGE in ('S','I','U','D','R')) "
                          "or (RDB$RELATION_NAME = 'TRANZ_PAYMENTS' and RDB$PRIVILEGE in ('S','U')) "
                          "or (RDB$RELATION_NAME in (%2) and RDB$PRIVILEGE = 'X'))), "
                          "(select count(*) from RDB$RELATIONS where RDB$RELATION_NAME in (%1)) from RDB$DATABASE")
        .arg(quotedList(kGrantedTables, std::size(kGrantedTables)),
             quotedList(kGrantedProcedures, std::size(kGrantedProcedures)));
}

// The name as the server stores it: in capitals unless written in double
// quotes; empty when no user can have that name.
QString granteeName(const QString &user)
{
    // The server takes a user name given without double quotes in capitals,
    // and one given in double quotes exactly as written inside them.
    QString name = user.trimmed();
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2).replace(QLatin1String("\"\""), QLatin1String("\""));
    else
        name = name.toUpper();
    if (name.isEmpty() || name.size() > 31)
        return QString();
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return QString();
    }
    return name;
}

} // namespace

QString granteeIdentifier(const QString &user)
{
    QString name = granteeName(user);
    if (name.isEmpty())
        return QString();
    return QLatin1Char('"') + name.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

bool hasTableRights(SqlSession &session, const QString &user)
{
    const QString grantee = granteeName(user);
    if (grantee.isEmpty())
        return false;
    const QString administrator = QStringLiteral("SYSDBA");
    const int grantees = grantee == administrator ? 1 : 2;
    const std::vector<QVariantList> counts = session.QueryRows(
        heldRightsStatement(), {{QStringLiteral("ADMINISTRATOR"), administrator}, {QStringLiteral("GRANTEE"), grantee}});
    if (counts.empty() || counts.front().size() < 2)
        return false;
    // Five on each table, reading and restating the payment records, and
    // running each procedure.
    const int rights = counts.front().at(1).toInt() * 5 + 2 + int(std::size(kGrantedProcedures));
    return counts.front().at(0).toInt() == grantees * rights;
}

bool grantTableRights(SqlSession &session, const QString &user)
{
    // The payment records are written by the trigger on TRANZ alone; users
    // read them, and the euro changeover restates their amounts. The
    // installation tool can make a database of a version older than some of
    // the tables, the payment records among them.
    QStringList existing;
    for (const QVariantList &row : session.QueryRows(
             QStringLiteral("select trim(RDB$RELATION_NAME) from RDB$RELATIONS where RDB$RELATION_NAME in (%1, "
                            "'TRANZ_PAYMENTS')")
                 .arg(quotedList(kGrantedTables, std::size(kGrantedTables)))))
        existing << row.value(0).toString();
    const bool paymentRecords = existing.contains(QStringLiteral("TRANZ_PAYMENTS"));
    std::vector<const char *> tables;
    for (const char *table : kGrantedTables) {
        if (existing.contains(QLatin1String(table)))
            tables.push_back(table);
    }

    const QString configured = granteeIdentifier(user);
    if (configured.isEmpty())
        return false;
    QStringList grantees{QStringLiteral("SYSDBA")};
    if (configured != QLatin1String("\"SYSDBA\""))
        grantees << configured;
    for (const QString &grantee : grantees) {
        for (const char *table : tables) {
            const QString grant = QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE, REFERENCES ON %1 TO %2;")
                                      .arg(QString::fromLatin1(table), grantee);
            if (!session.RunScriptStatement(grant))
                return false;
        }
        if (paymentRecords
            && !session.RunScriptStatement(
                QStringLiteral("GRANT SELECT, UPDATE ON TRANZ_PAYMENTS TO %1;").arg(grantee)))
            return false;
        for (const char *procedure : kGrantedProcedures) {
            const QString grant = QStringLiteral("GRANT EXECUTE ON PROCEDURE %1 TO %2;")
                                      .arg(QString::fromLatin1(procedure), grantee);
            if (!session.RunScriptStatement(grant))
                return false;
        }
    }
    return true;
}

} // namespace data
