#include "db/Attachment.h"
#include "db/DatabaseError.h"
#include "db/ServerErrorText.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "support/FreshDatabase.h"
#include "support/QtPrinters.h"
#include "support/NetworkServer.h"

#include <ibase.h>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QString kBusy = QStringLiteral("Записът се променя в момента от друг потребител. Опитайте отново след малко.");

// The error a statement raises, run in its own statement object.
db::DatabaseError failureOf(db::Attachment &attachment, db::Transaction &transaction, const QString &sql)
{
    try {
        db::Statement statement(attachment, transaction);
        statement.prepare(sql, db::Statement::Parameters::None);
        statement.execute();
    } catch (const db::DatabaseError &error) {
        return error;
    }
    ADD_FAILURE() << "the server accepted " << sql.toStdString();
    return db::DatabaseError(QString(), sql, {});
}

void run(db::Attachment &attachment, db::Transaction &transaction, const QString &sql)
{
    db::Statement statement(attachment, transaction);
    statement.prepare(sql, db::Statement::Parameters::None);
    statement.execute();
}

class ServerErrors : public ::testing::Test
{
protected:
    ServerErrors() { attachment.attach(database.path(), QStringLiteral("SYSDBA"), QStringLiteral("x")); }

    FreshDatabase database;
    db::Attachment attachment;
    db::Transaction first{attachment};
    db::Transaction second{attachment};
};

TEST_F(ServerErrors, ConstraintAndTruncationErrorsAreExplainedWithTheServersTextAsDetail)
{
    const db::DatabaseError duplicate =
        failureOf(attachment, first, QStringLiteral("insert into MERKI (MERKI_ID, MERKI_NAME) values (1, 'брой')"));
    EXPECT_TRUE(duplicate.hasCode(isc_unique_key_violation));
    EXPECT_EQ(duplicate.message(), QStringLiteral("Вече има запис със същите данни. Променете данните и опитайте отново."));
    EXPECT_TRUE(duplicate.serverText().contains(QLatin1String("PRIMARY or UNIQUE KEY"))) << duplicate.what();
    EXPECT_TRUE(duplicate.isExplained());

    // Arrives as an arithmetic exception whose second code names the truncation.
    const db::DatabaseError tooLong = failureOf(
        attachment, first, QStringLiteral("update MERKI set MERKI_ZNAK = 'много дълго означение' where MERKI_ID = 1"));
    EXPECT_EQ(tooLong.gdsCode(), isc_arith_except);
    EXPECT_TRUE(tooLong.hasCode(isc_string_truncation));
    EXPECT_EQ(tooLong.message(), QStringLiteral("Текстът е по-дълъг от допустимото. Съкратете го и опитайте отново."));
    EXPECT_TRUE(tooLong.serverText().contains(QLatin1String("truncation")));
    EXPECT_TRUE(tooLong.statement().contains(QLatin1String("update MERKI")));

    run(attachment, first, QStringLiteral("create table PARENT_ROWS (ID integer not null primary key)"));
    run(attachment, first, QStringLiteral("create table CHILD_ROWS (ID integer, PARENT_ID integer "
                                          "references PARENT_ROWS (ID))"));
    first.commit();
    const db::DatabaseError unknownParent =
        failureOf(attachment, first, QStringLiteral("insert into CHILD_ROWS (ID, PARENT_ID) values (1, 5)"));
    EXPECT_TRUE(unknownParent.hasCode(isc_foreign_key));
    EXPECT_EQ(unknownParent.message(),
              QStringLiteral("Записът се използва на друго място и не може да бъде променен или изтрит."));

    // Errors without a sentence of ours keep the server's own text.
    const db::DatabaseError typo = failureOf(attachment, first, QStringLiteral("select NO_SUCH_COLUMN from MERKI"));
    EXPECT_FALSE(typo.isExplained());
    EXPECT_EQ(typo.message(), typo.serverText());
    EXPECT_TRUE(typo.message().contains(QLatin1String("NO_SUCH_COLUMN")));
}

TEST_F(ServerErrors, AConcurrentUpdateOfOneRowIsALockConflict)
{
    run(attachment, first, QStringLiteral("update MERKI set MERKI_NAME = 'бройка' where MERKI_ID = 1"));
    const db::DatabaseError busy =
        failureOf(attachment, second, QStringLiteral("update MERKI set MERKI_NAME = 'бр' where MERKI_ID = 1"));
    // Firebird 3 reports it as a deadlock caused by an update conflict.
    EXPECT_EQ(busy.gdsCode(), isc_deadlock);
    EXPECT_TRUE(busy.hasCode(isc_update_conflict)) << busy.serverText().toStdString();
    EXPECT_EQ(busy.message(), kBusy);
    EXPECT_TRUE(busy.serverText().contains(QLatin1String("update conflicts with concurrent update")))
        << busy.serverText().toStdString();
}

TEST(ServerErrorText, EveryKindOfLostConnectionReadsTheSame)
{
    const QString lost = db::serverErrorText({isc_network_error});
    EXPECT_TRUE(lost.startsWith(QStringLiteral("Връзката с базата данни е прекъсната."))) << lost.toStdString();
    for (long code : {isc_net_read_err, isc_net_write_err, isc_lost_db_connection, isc_conn_lost, isc_bad_db_handle,
                      isc_shutdown, isc_att_shutdown})
        EXPECT_EQ(db::serverErrorText({isc_random, code}), lost) << code;
    EXPECT_EQ(db::serverErrorText({isc_deadlock, isc_update_conflict}), kBusy);
    EXPECT_EQ(db::serverErrorText({isc_arith_except, isc_numeric_out_of_range}), QString());
}

TEST(ServerErrorTextOnAServer, ADatabaseShutDownFromOutsideIsALostConnection)
{
    REQUIRE_SERVER();
    ServedDatabase database;
    db::Attachment attachment;
    attachment.attach(database.name(), ServedDatabase::user(), ServedDatabase::password());
    db::Transaction transaction(attachment);
    run(attachment, transaction, QStringLiteral("select count(*) from MERKI"));
    database.shutDown();
    const db::DatabaseError lost = failureOf(attachment, transaction, QStringLiteral("select count(*) from NOM"));
    EXPECT_TRUE(lost.message().startsWith(QStringLiteral("Връзката с базата данни е прекъсната.")))
        << lost.what() << " " << lost.serverText().toStdString();
    EXPECT_FALSE(lost.serverText().isEmpty());
}

} // namespace
