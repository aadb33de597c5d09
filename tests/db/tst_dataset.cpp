#include "db/Attachment.h"
#include "db/Dataset.h"
#include "db/DatabaseError.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"
#include "support/NetworkServer.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using db::Dataset;

namespace {

const char *const kUnits =
    "select m1.MERKI_ID, m1.MERKI_NAME, m1.MERKI_ZNAK, m1.MERKI_ISBASE, m1.MERKI_KOL, m1.MERKI_BASE_ID, "
    "m2.MERKI_NAME as BASE_NAME from MERKI m1 "
    "LEFT OUTER JOIN MERKI m2 ON(m1.MERKI_BASE_Id=m2.MERKI_ID) where (m1.MERKI_ID <> -1) order by m1.MERKI_NAME";

class Datasets : public testing_support::DatabaseTest
{
protected:
    Datasets()
    {
        units = dm->createDataset(QString::fromLatin1(kUnits));
        units->setInsertSql(QStringLiteral(
            "insert into MERKI (MERKI_ID, MERKI_NAME, MERKI_ZNAK, MERKI_ISBASE, MERKI_KOL, MERKI_BASE_ID) "
            "values (:MERKI_ID, :MERKI_NAME, :MERKI_ZNAK, :MERKI_ISBASE, :MERKI_KOL, :MERKI_BASE_ID)"));
        units->setUpdateSql(QStringLiteral(
            "update MERKI set MERKI_ID = :MERKI_ID, MERKI_NAME = :MERKI_NAME, MERKI_ZNAK = :MERKI_ZNAK, "
            "MERKI_ISBASE = :MERKI_ISBASE, MERKI_KOL = :MERKI_KOL, MERKI_BASE_ID = :MERKI_BASE_ID "
            "where MERKI_ID = :OLD_MERKI_ID"));
        units->setDeleteSql(QStringLiteral("delete from MERKI where MERKI_ID = :OLD_MERKI_ID"));
        units->setRefreshSql(QStringLiteral(
            "select m1.MERKI_ID, m2.MERKI_NAME as BASE_NAME "
            "from MERKI m1 LEFT OUTER JOIN MERKI m2 ON(m1.MERKI_BASE_Id=m2.MERKI_ID) where m1.MERKI_ID = :MERKI_ID"));
        units->open();
    }

    QString storedName(int id)
    {
        return dm->QueryValue(QStringLiteral("select MERKI_NAME from MERKI where MERKI_ID = :ID"), QString(),
                              {{QStringLiteral("ID"), id}})
            .toString();
    }

    void addUnit(int id, const QString &name, const QString &sign, double factor = 1, int base = 0)
    {
        units->append();
        units->setValue(QStringLiteral("MERKI_ID"), id);
        units->setValue(QStringLiteral("MERKI_NAME"), name);
        units->setValue(QStringLiteral("MERKI_ZNAK"), sign);
        units->setValue(QStringLiteral("MERKI_KOL"), factor);
        units->setValue(QStringLiteral("MERKI_BASE_ID"), base ? base : id);
        units->post();
    }

    std::unique_ptr<Dataset> units;
};

TEST_F(Datasets, OpenReadsEveryRowInOrderWithTheStatementsFields)
{
    EXPECT_EQ(units->recordCount(), 7);
    EXPECT_EQ(units->recNo(), 0);
    EXPECT_EQ(units->fieldCount(), 7);
    EXPECT_EQ(units->value(QStringLiteral("merki_name")).toString(), QStringLiteral("брой")); // first by name
    EXPECT_THROW(units->value(QStringLiteral("NO_SUCH")), varnex::Error);
    units->last();
    EXPECT_FALSE(units->eof());
    units->next();
    EXPECT_TRUE(units->eof());
}

TEST_F(Datasets, AppendPostStoresAndRereadsTheRow)
{
    QSignalSpy states(units.get(), &Dataset::stateChanged);
    units->append();
    EXPECT_EQ(units->state(), Dataset::State::Insert);
    EXPECT_EQ(units->recordCount(), 8);
    EXPECT_FALSE(units->isModified());
    units->setValue(QStringLiteral("MERKI_ID"), 8);
    units->setValue(QStringLiteral("MERKI_NAME"), QStringLiteral("дузина"));
    units->setValue(QStringLiteral("MERKI_ZNAK"), QStringLiteral("дуз."));
    units->setValue(QStringLiteral("MERKI_KOL"), 12.0);
    units->setValue(QStringLiteral("MERKI_BASE_ID"), 1);
    EXPECT_TRUE(units->isModified());
    units->post();
    EXPECT_EQ(units->state(), Dataset::State::Browse);
    EXPECT_EQ(states.count(), 2);
    EXPECT_EQ(storedName(8), QStringLiteral("дузина"));
    EXPECT_EQ(units->value(QStringLiteral("BASE_NAME")).toString(), QStringLiteral("брой")); // re-read
}

TEST_F(Datasets, UpdatesAreKeyedByTheOldKeyEvenWhenTheKeyChanges)
{
    addUnit(8, QStringLiteral("дузина"), QStringLiteral("дуз."));
    ASSERT_TRUE(units->locate({QStringLiteral("MERKI_ID")}, {8}));
    units->edit();
    units->setValue(QStringLiteral("MERKI_ID"), 9);
    units->setValue(QStringLiteral("MERKI_NAME"), QStringLiteral("Дузина"));
    units->post();
    EXPECT_EQ(storedName(8), QString());
    EXPECT_EQ(storedName(9), QStringLiteral("Дузина"));
}

TEST_F(Datasets, CancelForgetsTheEditAndTheAppendedRow)
{
    units->edit();
    units->setValue(QStringLiteral("MERKI_NAME"), QStringLiteral("променено"));
    units->cancel();
    EXPECT_EQ(units->value(QStringLiteral("MERKI_NAME")).toString(), QStringLiteral("брой"));
    units->moveTo(3);
    units->append();
    units->cancel();
    EXPECT_EQ(units->recordCount(), 7);
    EXPECT_EQ(units->recNo(), 6);
    EXPECT_EQ(units->state(), Dataset::State::Browse);
}

TEST_F(Datasets, RefusedOrFailedPostsLeaveTheRowInEditingAndWriteNothing)
{
    units->beforePost = [](Dataset &dataset) {
        if (dataset.value(QStringLiteral("MERKI_ZNAK")).toString().isEmpty())
            throw db::FieldError(QStringLiteral("Полето \"Означение\" трябва да бъде попълнено!"), QStringLiteral("MERKI_ZNAK"));
    };
    units->append();
    units->setValue(QStringLiteral("MERKI_ID"), 8);
    units->setValue(QStringLiteral("MERKI_NAME"), QStringLiteral("кашон"));
    try {
        units->post();
        FAIL() << "posted without a sign";
    } catch (const db::FieldError &error) {
        EXPECT_EQ(error.field(), QStringLiteral("MERKI_ZNAK"));
    }
    EXPECT_EQ(units->state(), Dataset::State::Insert);

    units->setValue(QStringLiteral("MERKI_ZNAK"), QStringLiteral("много дълго означение"));
    EXPECT_THROW(units->post(), db::DatabaseError);
    EXPECT_EQ(units->state(), Dataset::State::Insert);
    EXPECT_EQ(units->value(QStringLiteral("MERKI_NAME")).toString(), QStringLiteral("кашон"));
    EXPECT_FALSE(dm->HasRows(QStringLiteral("select 1 from MERKI where MERKI_ID = 8")));

    units->setValue(QStringLiteral("MERKI_ZNAK"), QStringLiteral("каш."));
    units->post();
    EXPECT_EQ(storedName(8), QStringLiteral("кашон"));
}

TEST_F(Datasets, AFailedDeleteKeepsTheRow)
{
    addUnit(8, QStringLiteral("кашон"), QStringLiteral("каш."));
    dm->RunScriptStatement(QStringLiteral("CREATE EXCEPTION UNIT_IN_USE 'Мярката се използва';"));
    dm->RunScriptStatement(QStringLiteral(
        "SET TERM ^ ;\nCREATE TRIGGER NO_DELETE FOR MERKI BEFORE DELETE AS BEGIN "
        "IF (OLD.MERKI_ID = 8) THEN EXCEPTION UNIT_IN_USE; END^\nSET TERM ; ^"));
    ASSERT_TRUE(units->locate({QStringLiteral("MERKI_ID")}, {8}));
    try {
        units->remove();
        FAIL() << "deleted";
    } catch (const db::DatabaseError &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("Мярката се използва"))) << error.what();
    }
    EXPECT_EQ(units->recordCount(), 8);
    EXPECT_EQ(units->value(QStringLiteral("MERKI_ID")).toInt(), 8);

    addUnit(10, QStringLiteral("чувал"), QStringLiteral("чув."));
    units->remove();
    EXPECT_EQ(units->recordCount(), 8);
    EXPECT_EQ(storedName(10), QString());
}

TEST_F(Datasets, TextFieldsKnowTheirColumnsSize)
{
    EXPECT_EQ(units->fieldLength(QStringLiteral("MERKI_NAME")), 40);
    EXPECT_EQ(units->fieldLength(QStringLiteral("merki_znak")), 10);
    EXPECT_EQ(units->fieldLength(QStringLiteral("BASE_NAME")), 40); // through the join
    EXPECT_EQ(units->fieldLength(QStringLiteral("MERKI_ID")), 0);
    EXPECT_EQ(units->fieldLength(QStringLiteral("NO_SUCH")), 0);
    auto categories = dm->createDataset(QStringLiteral("select ID, NAME from CATEGORY"));
    EXPECT_EQ(categories->fieldLength(QStringLiteral("NAME")), 0); // not opened yet
    categories->open();
    EXPECT_EQ(categories->fieldLength(QStringLiteral("NAME")), 40);
}

TEST_F(Datasets, AUnitThatGoodsUseCannotBeDeleted)
{
    units->setUsageChecks(QStringLiteral("мярката"), QStringLiteral("MERKI_ID"),
                          {{QStringLiteral("NOM"), {QStringLiteral("NOM_MERKI_ID1"), QStringLiteral("NOM_MERKI_ID2")},
                            QStringLiteral("номенклатурата")}});
    addUnit(8, QStringLiteral("кашон"), QStringLiteral("каш."));
    addUnit(9, QStringLiteral("чувал"), QStringLiteral("чув."));
    addUnit(10, QStringLiteral("палет"), QStringLiteral("пал."));
    dm->ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_NAME, NOM_MERKI_ID1, NOM_MERKI_ID2) values (5, 'Олио', 3, 8)"));
    dm->ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_NAME, NOM_MERKI_ID1, NOM_MERKI_ID2) values (6, 'Брашно', 8, -1)"));
    dm->ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_NAME, NOM_MERKI_ID1, NOM_MERKI_ID2) values (7, 'Захар', 9, -1)"));

    const auto refusal = [&](int id) {
        EXPECT_TRUE(units->locate({QStringLiteral("MERKI_ID")}, {id}));
        try {
            units->remove();
        } catch (const db::RecordConflict &) {
            return QStringLiteral("conflict");
        } catch (const varnex::Error &error) {
            return error.message();
        }
        return QString();
    };
    EXPECT_EQ(refusal(8), QStringLiteral("Мярката не може да се изтрие: използва се в номенклатурата (2 записа)."));
    EXPECT_EQ(refusal(9), QStringLiteral("Мярката не може да се изтрие: използва се в номенклатурата (1 запис)."));
    EXPECT_EQ(storedName(8), QStringLiteral("кашон"));
    EXPECT_EQ(storedName(9), QStringLiteral("чувал"));
    EXPECT_EQ(units->recordCount(), 10);
    EXPECT_EQ(units->value(QStringLiteral("MERKI_ID")).toInt(), 9);
    EXPECT_EQ(refusal(10), QString());
    EXPECT_EQ(storedName(10), QString());
    EXPECT_EQ(units->recordCount(), 9);
}

TEST_F(Datasets, LookupCalculatedFieldsAndDisplayRules)
{
    auto goods = dm->createDataset(QStringLiteral(
        "select NOM_ID, NOM_CODE, NOM_NAME, NOM_MERKI_ID1, NOM_INREPORT, SELL_PRICE, 0.05 as DISCOUNT from NOM"));
    goods->addLookupField(QStringLiteral("UNIT_NAME"), QStringLiteral("NOM_MERKI_ID1"), &dm->qMerki(),
                          QStringLiteral("MERKI_ID"), QStringLiteral("MERKI_NAME"));
    goods->addCalculatedField(QStringLiteral("DOUBLE_PRICE"), [](const Dataset &d, int row) {
        return d.value(row, d.fieldIndex(QStringLiteral("SELL_PRICE"))).toDouble() * 2;
    });
    goods->setDisplayFormat(QStringLiteral("NOM_CODE"), QStringLiteral("000000"));
    goods->setDisplayFormat(QStringLiteral("DOUBLE_PRICE"), QStringLiteral("0.0000"));
    goods->setDisplayRule(QStringLiteral("NOM_INREPORT"), db::DisplayRule::YesNo);
    goods->setDisplayRule(QStringLiteral("DISCOUNT"), db::DisplayRule::Percent);
    dm->ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_CODE, NOM_NAME, NOM_MERKI_ID1, NOM_INREPORT, SELL_PRICE) "
                               "values (5, 42, 'Олио', 3, 1, 1.25)"));
    goods->open();
    ASSERT_TRUE(goods->locate({QStringLiteral("NOM_ID")}, {5}));
    EXPECT_EQ(goods->displayText(QStringLiteral("NOM_CODE")), QStringLiteral("000042"));
    EXPECT_EQ(goods->value(QStringLiteral("UNIT_NAME")).toString(), QStringLiteral("литър"));
    EXPECT_EQ(goods->displayText(QStringLiteral("DOUBLE_PRICE")), QStringLiteral("2.5000"));
    EXPECT_EQ(goods->displayText(QStringLiteral("NOM_INREPORT")), QStringLiteral(" да "));
    EXPECT_EQ(goods->displayText(QStringLiteral("DISCOUNT")), QStringLiteral("5"));
    ASSERT_TRUE(goods->locate({QStringLiteral("NOM_ID")}, {-1}));
    EXPECT_EQ(goods->displayText(QStringLiteral("NOM_INREPORT")), QStringLiteral(" не "));
    EXPECT_EQ(goods->value(QStringLiteral("UNIT_NAME")), QVariant()); // unit −1 is not in the list
}

TEST_F(Datasets, LookupsFollowEveryChangeOfTheLookupList)
{
    Dataset &categories = dm->qCategory();
    const auto nameOf = [&](const QVariant &id) {
        return categories.lookupValue(QStringLiteral("ID"), id, QStringLiteral("NAME")).toString();
    };
    categories.append();
    categories.setValue(QStringLiteral("NAME"), QStringLiteral("Храни"));
    categories.post();
    const QVariant id = categories.value(QStringLiteral("ID"));
    EXPECT_EQ(id.toInt(), 1); // the first key from its counter
    EXPECT_EQ(nameOf(id), QStringLiteral("Храни"));
    EXPECT_EQ(nameOf(1.0), QStringLiteral("Храни")); // the same key held as a double

    categories.edit();
    categories.setValue(QStringLiteral("NAME"), QStringLiteral("Напитки"));
    categories.post();
    EXPECT_EQ(nameOf(id), QStringLiteral("Напитки"));

    categories.remove();
    EXPECT_EQ(nameOf(id), QString());
    dm->ExecSQL(QStringLiteral("insert into CATEGORY (ID, CODE, NAME) values (7, 7, 'Цигари')"));
    EXPECT_EQ(nameOf(7), QString());
    dm->RefreshDataSet(categories, QStringLiteral("ID"));
    EXPECT_EQ(nameOf(7), QStringLiteral("Цигари"));
}

TEST_F(Datasets, RefreshKeepsTheKeyOrEndsAtTheEnd)
{
    int afterScrolls = 0;
    units->afterScroll = [&](Dataset &) { ++afterScrolls; };
    ASSERT_TRUE(units->locate({QStringLiteral("MERKI_ID")}, {3}));
    afterScrolls = 0;
    dm->ExecSQL(QStringLiteral("insert into MERKI (MERKI_ID, MERKI_NAME, MERKI_ZNAK) values (8, 'ампула', 'амп.')"));
    dm->RefreshDataSet(*units, QStringLiteral("MERKI_ID"));
    EXPECT_EQ(units->recordCount(), 8);
    EXPECT_EQ(units->value(QStringLiteral("MERKI_ID")).toInt(), 3);
    EXPECT_EQ(afterScrolls, 1);

    dm->ExecSQL(QStringLiteral("delete from MERKI where MERKI_ID = 3"));
    dm->RefreshDataSet(*units, QStringLiteral("MERKI_ID"));
    EXPECT_EQ(units->recNo(), units->recordCount() - 1);

    auto byBase = dm->createDataset(QStringLiteral("select * from MERKI where MERKI_BASE_ID = :BASE order by MERKI_ID"));
    dm->SetParamAndRefresh(*byBase, QStringLiteral("BASE"), 2);
    EXPECT_EQ(byBase->recordCount(), 2); // килограм and тон
    dm->SetParamAndRefresh(*byBase, QStringLiteral("base"), 1, QStringLiteral("MERKI_ID"));
    EXPECT_EQ(byBase->recordCount(), 1);
}

TEST_F(Datasets, FindTextWalksForwardIgnoringCase)
{
    EXPECT_TRUE(dm->FindTextFromFirst(*units, {QStringLiteral("MERKI_NAME"), QStringLiteral("MERKI_ZNAK")}, QStringLiteral("МЕТ")));
    EXPECT_EQ(units->value(QStringLiteral("MERKI_NAME")).toString(), QStringLiteral("квадратен метър"));
    EXPECT_TRUE(dm->FindText(*units, {QStringLiteral("MERKI_NAME")}, QStringLiteral("мет"), true));
    EXPECT_EQ(units->value(QStringLiteral("MERKI_NAME")).toString(), QStringLiteral("метър"));
    EXPECT_FALSE(dm->FindText(*units, {QStringLiteral("MERKI_NAME")}, QStringLiteral("мет"), true));
    EXPECT_TRUE(units->eof());
    EXPECT_TRUE(dm->FindFieldTextFromFirst(*units, QStringLiteral("MERKI_ZNAK"), QStringLiteral("КГ")));
    EXPECT_EQ(units->value(QStringLiteral("MERKI_ID")).toInt(), 2);
}

// One workstation: its own connection, transaction and list of units.
struct Workstation
{
    explicit Workstation(const QString &database)
    {
        attachment.attach(database, QStringLiteral("SYSDBA"), testing_support::ServedDatabase::password());
        units.setSelectSql(QString::fromLatin1(kUnits));
        units.setUpdateSql(QStringLiteral(
            "update MERKI set MERKI_ID = :MERKI_ID, MERKI_NAME = :MERKI_NAME, MERKI_ZNAK = :MERKI_ZNAK, "
            "MERKI_ISBASE = :MERKI_ISBASE, MERKI_KOL = :MERKI_KOL, MERKI_BASE_ID = :MERKI_BASE_ID "
            "where MERKI_ID = :OLD_MERKI_ID"));
        units.setDeleteSql(QStringLiteral("delete from MERKI where MERKI_ID = :OLD_MERKI_ID"));
        units.setRefreshSql(QStringLiteral(
            "select m1.MERKI_ID, m1.MERKI_NAME, m1.MERKI_ZNAK, m1.MERKI_ISBASE, m1.MERKI_KOL, m1.MERKI_BASE_ID, "
            "m2.MERKI_NAME as BASE_NAME from MERKI m1 LEFT OUTER JOIN MERKI m2 ON(m1.MERKI_BASE_Id=m2.MERKI_ID) "
            "where m1.MERKI_ID = :MERKI_ID"));
        units.open();
    }

    void editName(int id, const QString &name)
    {
        ASSERT_TRUE(units.locate({QStringLiteral("MERKI_ID")}, {id}));
        units.edit();
        units.setValue(QStringLiteral("MERKI_NAME"), name);
    }

    QString storedName(int id) { return stored(QStringLiteral("MERKI_NAME"), id).toString(); }
    QVariant stored(const QString &column, int id)
    {
        db::Statement statement(attachment, transaction);
        statement.prepare(QStringLiteral("select %1 from MERKI where MERKI_ID = :ID").arg(column));
        statement.setParameter(QStringLiteral("ID"), id);
        statement.execute();
        return statement.fetch() ? statement.value(0) : QVariant(QStringLiteral("(none)"));
    }
    void run(const QString &sql)
    {
        db::Statement statement(attachment, transaction);
        statement.prepare(sql);
        statement.execute();
        transaction.commitRetaining();
    }

    db::Attachment attachment;
    db::Transaction transaction{attachment};
    Dataset units{attachment, transaction};
};

// A deleted row can be neither stored over nor deleted again: the other
// workstation is told and its list read again, near where it was.
void deletedAtOneStoredAtTheOther(const QString &database)
{
    Workstation a(database);
    Workstation b(database);
    ASSERT_TRUE(a.units.locate({QStringLiteral("MERKI_ID")}, {4})); // метър
    a.units.remove();

    b.editName(4, QStringLiteral("метър линеен"));
    EXPECT_THROW(b.units.post(), db::RecordConflict);
    EXPECT_EQ(b.units.state(), Dataset::State::Browse);
    EXPECT_EQ(b.units.recordCount(), 6);
    EXPECT_EQ(a.storedName(4), QStringLiteral("(none)"));
    EXPECT_EQ(b.units.value(QStringLiteral("MERKI_NAME")).toString(), QStringLiteral("пакет")); // the next by name

    // Without the re-read statement the update itself finds no row.
    Workstation c(database);
    c.units.setRefreshSql(QString());
    ASSERT_TRUE(a.units.locate({QStringLiteral("MERKI_ID")}, {7}));
    a.units.remove();
    c.editName(7, QStringLiteral("пакетче"));
    try {
        c.units.post();
        FAIL() << "stored over a deleted row";
    } catch (const db::RecordConflict &conflict) {
        EXPECT_EQ(conflict.message(),
                  QStringLiteral("Записът е променен или изтрит от друг потребител. Списъкът е обновен."));
    }
    EXPECT_EQ(c.units.recordCount(), 5);
    EXPECT_EQ(c.storedName(7), QStringLiteral("(none)"));

    ASSERT_TRUE(c.units.locate({QStringLiteral("MERKI_ID")}, {3}));
    ASSERT_TRUE(a.units.locate({QStringLiteral("MERKI_ID")}, {3}));
    a.units.remove();
    EXPECT_THROW(c.units.remove(), db::RecordConflict);
    EXPECT_EQ(c.units.recordCount(), 4);
}

// An edit stored after another workstation changed the row would silently
// undo that change; it is refused and the other change kept.
void changedAtOneStoredAtTheOther(const QString &database)
{
    Workstation a(database);
    Workstation b(database);
    a.editName(6, QStringLiteral("тон метричен"));
    a.units.post();

    ASSERT_TRUE(b.units.locate({QStringLiteral("MERKI_ID")}, {6}));
    b.units.edit();
    b.units.setValue(QStringLiteral("MERKI_ZNAK"), QStringLiteral("тн"));
    EXPECT_THROW(b.units.post(), db::RecordConflict);
    EXPECT_EQ(b.storedName(6), QStringLiteral("тон метричен"));
    EXPECT_EQ(b.units.value(QStringLiteral("MERKI_ID")).toInt(), 6); // kept on the row, now as stored
    EXPECT_EQ(b.units.value(QStringLiteral("MERKI_NAME")).toString(), QStringLiteral("тон метричен"));

    // Having read the row again, the workstation stores its edit.
    b.units.edit();
    b.units.setValue(QStringLiteral("MERKI_ZNAK"), QStringLiteral("тн"));
    b.units.post();
    EXPECT_EQ(a.storedName(6), QStringLiteral("тон метричен"));
    a.units.edit();
    a.units.setValue(QStringLiteral("MERKI_NAME"), QStringLiteral("тон"));
    EXPECT_THROW(a.units.post(), db::RecordConflict); // its sign changed meanwhile
}

// Another transaction commits a change of the row while the re-read that
// checks it runs, after the row was read: the commit of another
// workstation landing between the check and the write.
TEST(TwoWorkstations, AChangeCommittedBetweenCheckAndWriteIsNeverWrittenOver)
{
    testing_support::FreshDatabase database;
    Workstation a(database.path());
    a.run(QStringLiteral("create table MEANWHILE_LOG (N integer)"));
    a.run(QStringLiteral("create procedure MEANWHILE (ID integer) returns (DONE integer) as begin "
                         "in autonomous transaction do begin "
                         "if (not exists (select 1 from MEANWHILE_LOG)) then begin "
                         "update MERKI set MERKI_ZNAK = 'другаде' where MERKI_ID = :ID; "
                         "insert into MEANWHILE_LOG values (1); end DONE = 1; "
                         "when any do DONE = 0; end suspend; end"));
    // The re-read through a join locks apart; over the row alone it locks
    // the row itself.
    for (const char *table : {"MERKI m1", "MERKI"}) {
        a.run(QStringLiteral("delete from MEANWHILE_LOG"));
        a.units.setRefreshSql(QStringLiteral("select MERKI_ID, MERKI_NAME, MERKI_ZNAK, "
                                             "(select DONE from MEANWHILE(MERKI_ID)) as MEANWHILE from %1 "
                                             "where MERKI_ID = :MERKI_ID")
                                  .arg(QLatin1String(table)));
        a.units.reopen();
        a.editName(6, QStringLiteral("тон метричен ") + QLatin1String(table));
        bool refused = false;
        try {
            a.units.post();
        } catch (const varnex::Error &) {
            refused = true;
        }
        // The other change, once committed, stays (it may also land after
        // the write, when the row is re-read); the edit is stored or refused.
        if (a.stored(QStringLiteral("(select count(*) from MEANWHILE_LOG)"), 6).toInt() > 0)
            EXPECT_EQ(a.stored(QStringLiteral("MERKI_ZNAK"), 6).toString(), QStringLiteral("другаде")) << table;
        if (!refused)
            EXPECT_EQ(a.storedName(6), QStringLiteral("тон метричен ") + QLatin1String(table));
    }
}

TEST(TwoWorkstations, OnOneEmbeddedDatabase)
{
    testing_support::FreshDatabase deleted;
    deletedAtOneStoredAtTheOther(deleted.path());
    testing_support::FreshDatabase changed;
    changedAtOneStoredAtTheOther(changed.path());
}

TEST(TwoWorkstations, ThroughTheServer)
{
    REQUIRE_SERVER();
    testing_support::ServedDatabase deleted;
    deletedAtOneStoredAtTheOther(deleted.name());
    testing_support::ServedDatabase changed;
    changedAtOneStoredAtTheOther(changed.name());
}

} // namespace
