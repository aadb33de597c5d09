#include "core/Tdm.h"
#include "db/Dataset.h"
#include "db/Transaction.h"
#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>

#include <gtest/gtest.h>

using db::Dataset;

namespace {

const int kDocuments = 2500;

const char *const kJournal =
    "select t.TRANZ_ID, k.KONTR_NAME, tt.TRANZ_TYPES_NAME, t.TRANZ_PADEJ, CAST(t.TRANZ_TIME AS TIME) TRANZTIME, "
    "t.TRANZ_NOTE, t.TRANZ_TYPE_ID, t.TRANZ_DOCNO from TRANZ t "
    "left outer join KONTR k on (t.TRANZ_KONT_ID = k.KONTR_ID) "
    "left outer join TRANZ_TYPES tt on (t.TRANZ_TYPE_ID = tt.TRANZ_TYPES_ID) order by t.TRANZ_TIME";

// One row of every type the engine delivers, and one of nulls.
const char *const kEveryType =
    "select cast(-3 as smallint) S, cast(-7 as integer) I, cast(123456789012 as bigint) B, "
    "cast(12.34 as numeric(4,2)) N4, cast(1234567.89 as numeric(9,2)) N9, cast(-12345678901.23 as numeric(18,2)) N18, "
    "cast(1.5 as double precision) D, cast(2.25 as float) F, date '2026-12-09' DT, time '23:59:58.123' TM, "
    "timestamp '2026-12-09 08:07:06.500' TS, cast('аб' as char(5)) C, cast('Русе' as varchar(20)) V, "
    "true BO, cast('дълъг текст' as blob sub_type text) BL, cast('' as varchar(5)) EMPTY_TEXT from RDB$DATABASE "
    "union all select null, null, null, null, null, null, null, null, null, null, null, null, null, null, null, "
    "null from RDB$DATABASE";

class FetchOnDemand : public testing_support::DatabaseTest
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "tst_fetchondemand";
        static char *argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv); // for the idle-time reading
    }

    FetchOnDemand()
    {
        dm->ExecSQL(QStringLiteral("insert into KONTR (KONTR_ID, KONTR_NAME) values (2, 'Доставчик')"));
        testing_support::addDocuments(*dm, 1, kDocuments, QDateTime(QDate(2026, 12, 1), QTime(8, 0)));
        whole = journal(false);
        onDemand = journal(true);
    }

    std::unique_ptr<Dataset> journal(bool fetchOnDemand, const QString &sql = QString::fromLatin1(kJournal))
    {
        auto dataset = dm->createDataset(sql);
        dataset->setFetchOnDemand(fetchOnDemand);
        dataset->setUpdateSql(QStringLiteral("update TRANZ set TRANZ_NOTE = :TRANZ_NOTE where TRANZ_ID = :OLD_TRANZ_ID"));
        dataset->setDeleteSql(QStringLiteral("delete from TRANZ where TRANZ_ID = :OLD_TRANZ_ID"));
        dataset->setInsertSql(QStringLiteral(
            "insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_NOTE) values (:TRANZ_ID, 12, :TRANZ_ID, :TRANZ_NOTE)"));
        dataset->open();
        return dataset;
    }

    static int id(const Dataset &dataset, int row)
    {
        return dataset.value(row, dataset.fieldIndex(QStringLiteral("TRANZ_ID"))).toInt();
    }

    std::unique_ptr<Dataset> whole;
    std::unique_ptr<Dataset> onDemand;
};

TEST_F(FetchOnDemand, EveryTypeDecodesAsWhenReadWhole)
{
    const auto read = journal(false, QString::fromUtf8(kEveryType));
    const auto packed = journal(true, QString::fromUtf8(kEveryType));
    ASSERT_EQ(packed->recordCount(), 2);
    ASSERT_EQ(packed->fieldCount(), read->fieldCount());
    for (int row = 0; row < 2; ++row) {
        for (int field = 0; field < read->fieldCount(); ++field) {
            const QVariant expected = read->value(row, field);
            const QVariant got = packed->value(row, field);
            EXPECT_EQ(got, expected) << read->fieldName(field).toStdString() << " row " << row;
            EXPECT_EQ(got.typeId(), expected.typeId()) << read->fieldName(field).toStdString();
            EXPECT_EQ(got.isNull(), expected.isNull()) << read->fieldName(field).toStdString();
            EXPECT_EQ(packed->displayText(row, field), read->displayText(row, field));
        }
    }
    EXPECT_EQ(packed->value(0, packed->fieldIndex(QStringLiteral("C"))).toString(), QStringLiteral("аб   "));
    EXPECT_EQ(packed->value(0, packed->fieldIndex(QStringLiteral("BL"))).toString(), QStringLiteral("дълъг текст"));
    EXPECT_EQ(packed->value(0, packed->fieldIndex(QStringLiteral("N18"))).toDouble(), -12345678901.23);
    EXPECT_FALSE(packed->value(0, packed->fieldIndex(QStringLiteral("EMPTY_TEXT"))).isNull());
}

TEST_F(FetchOnDemand, OpeningReadsOnlyTheFirstRowsAndAskingReadsOn)
{
    EXPECT_GT(onDemand->fetchedCount(), 0);
    EXPECT_LT(onDemand->fetchedCount(), kDocuments);
    EXPECT_FALSE(onDemand->fetchedAll());
    EXPECT_TRUE(whole->fetchedAll());
    EXPECT_EQ(whole->fetchedCount(), kDocuments);
    EXPECT_FALSE(onDemand->isEmpty());

    const int before = onDemand->fetchedCount();
    EXPECT_EQ(id(*onDemand, before + 10), id(*whole, before + 10)); // a value beyond reads on
    EXPECT_GT(onDemand->fetchedCount(), before + 10);
    EXPECT_LT(onDemand->fetchedCount(), kDocuments);

    EXPECT_EQ(onDemand->recordCount(), kDocuments);
    EXPECT_TRUE(onDemand->fetchedAll());
    for (int row = 0; row < kDocuments; ++row) {
        for (int field = 0; field < whole->fieldCount(); ++field)
            ASSERT_EQ(onDemand->value(row, field), whole->value(row, field)) << row << ' ' << field;
    }
}

TEST_F(FetchOnDemand, MovingAndLocatingGoAsFarAsTheRowsGo)
{
    onDemand->moveTo(1500);
    EXPECT_EQ(onDemand->recNo(), 1500);
    EXPECT_FALSE(onDemand->fetchedAll());
    EXPECT_EQ(onDemand->value(QStringLiteral("TRANZ_ID")), whole->value(1500, 0));

    ASSERT_TRUE(onDemand->locate({QStringLiteral("TRANZ_ID")}, {2222}));
    EXPECT_EQ(onDemand->recNo(), 2221);
    EXPECT_FALSE(onDemand->locate({QStringLiteral("TRANZ_ID")}, {kDocuments + 1}));
    EXPECT_EQ(onDemand->recNo(), 2221); // a failed search stays

    const auto walked = journal(true);
    int steps = 0;
    for (walked->first(); !walked->eof(); walked->next())
        ++steps;
    EXPECT_EQ(steps, kDocuments);
    EXPECT_EQ(walked->recNo(), kDocuments - 1);

    const auto last = journal(true);
    last->last();
    EXPECT_EQ(last->recNo(), kDocuments - 1);
    EXPECT_EQ(last->value(QStringLiteral("TRANZ_ID")).toInt(), kDocuments);
    last->moveTo(kDocuments + 100);
    EXPECT_EQ(last->recNo(), kDocuments - 1);
}

TEST_F(FetchOnDemand, WhileIdleTheRestIsReadInBursts)
{
    QSignalSpy fetched(onDemand.get(), &Dataset::rowsFetched);
    const QDeadlineTimer deadline(60000);
    while (!onDemand->fetchedAll() && !deadline.hasExpired())
        QCoreApplication::processEvents();
    ASSERT_TRUE(onDemand->fetchedAll());
    EXPECT_EQ(onDemand->fetchedCount(), kDocuments);
    ASSERT_GE(fetched.count(), 1);
    EXPECT_EQ(fetched.last()[1].toInt(), kDocuments - 1);
    int next = fetched[0][0].toInt();
    for (const QList<QVariant> &burst : fetched) { // one after the other, nothing skipped
        EXPECT_EQ(burst[0].toInt(), next);
        next = burst[1].toInt() + 1;
    }
    EXPECT_EQ(onDemand->recNo(), 0);
}

TEST_F(FetchOnDemand, RowsReadAreAnnouncedOrHeldBackWhileControlsAreDisabled)
{
    QSignalSpy fetched(onDemand.get(), &Dataset::rowsFetched);
    QSignalSpy resets(onDemand.get(), &Dataset::reset);
    const int first = onDemand->fetchedCount();
    onDemand->fetchMore(300);
    ASSERT_EQ(fetched.count(), 1);
    EXPECT_EQ(fetched[0][0].toInt(), first);
    EXPECT_EQ(fetched[0][1].toInt(), first + 299);

    onDemand->disableControls();
    onDemand->recordCount();
    EXPECT_EQ(fetched.count(), 1);
    onDemand->enableControls();
    EXPECT_EQ(resets.count(), 1);
    onDemand->fetchMore(10); // nothing left
    EXPECT_EQ(fetched.count(), 1);
}

TEST_F(FetchOnDemand, EditPostRemoveAndAppendWithTheCursorOpen)
{
    onDemand->moveTo(5);
    onDemand->edit();
    onDemand->setValue(QStringLiteral("TRANZ_NOTE"), QStringLiteral("поправена"));
    onDemand->post(); // commits, keeping the transaction and the cursor
    EXPECT_FALSE(onDemand->fetchedAll());
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select TRANZ_NOTE from TRANZ where TRANZ_ID = 6")).toString(),
              QStringLiteral("поправена"));
    EXPECT_EQ(onDemand->value(QStringLiteral("TRANZ_NOTE")).toString(), QStringLiteral("поправена"));
    EXPECT_EQ(onDemand->value(QStringLiteral("KONTR_NAME")), whole->value(5, 1)); // the rest of the row kept

    onDemand->moveTo(7);
    onDemand->remove();
    EXPECT_EQ(onDemand->value(QStringLiteral("TRANZ_ID")).toInt(), 9);
    EXPECT_FALSE(onDemand->fetchedAll());
    EXPECT_EQ(onDemand->recordCount(), kDocuments - 1);

    const auto appending = journal(true);
    appending->append();
    EXPECT_TRUE(appending->fetchedAll());
    EXPECT_EQ(appending->recNo(), kDocuments - 1); // after every row of the result
    appending->setValue(QStringLiteral("TRANZ_ID"), 9000);
    appending->post();
    EXPECT_EQ(appending->recordCount(), kDocuments);
    EXPECT_EQ(appending->value(QStringLiteral("TRANZ_ID")).toInt(), 9000);
}

TEST_F(FetchOnDemand, OtherStatementsAndCommitsKeepingTheContextLeaveTheCursorReading)
{
    onDemand->moveTo(300);
    whole->moveTo(1000);
    whole->edit();
    whole->setValue(QStringLiteral("TRANZ_NOTE"), QStringLiteral("друг списък"));
    whole->post();
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from TRANZ")).toInt(), kDocuments);
    dm->CommitRetaining();
    EXPECT_FALSE(onDemand->fetchedAll());
    EXPECT_EQ(onDemand->recordCount(), kDocuments);
    EXPECT_EQ(onDemand->value(1000, onDemand->fieldIndex(QStringLiteral("TRANZ_NOTE"))).toString(),
              QStringLiteral("друг списък")); // read after the change was committed
}

TEST_F(FetchOnDemand, AnEndingTransactionHasTheRestReadFirst)
{
    EXPECT_FALSE(onDemand->fetchedAll());
    dm->mainTransaction().commit();
    EXPECT_TRUE(onDemand->fetchedAll());
    EXPECT_EQ(onDemand->fetchedCount(), kDocuments);
    EXPECT_EQ(id(*onDemand, kDocuments - 1), kDocuments);

    onDemand->reopen(); // in a new transaction
    EXPECT_FALSE(onDemand->fetchedAll());
    dm->mainTransaction().rollback();
    EXPECT_EQ(onDemand->recordCount(), kDocuments);

    // A lost connection leaves the rows read so far, and nothing to read from.
    onDemand->reopen();
    const int held = onDemand->fetchedCount();
    dm->mainTransaction().abandon();
    EXPECT_TRUE(onDemand->fetchedAll());
    EXPECT_EQ(onDemand->recordCount(), held);
    onDemand->close();
    whole->close();
}

TEST_F(FetchOnDemand, RefreshFindsTheKeyBeyondTheRowsRead)
{
    ASSERT_TRUE(onDemand->locate({QStringLiteral("TRANZ_ID")}, {2000}));
    dm->RefreshDataSet(*onDemand, QStringLiteral("TRANZ_ID"));
    EXPECT_EQ(onDemand->value(QStringLiteral("TRANZ_ID")).toInt(), 2000);
    EXPECT_EQ(onDemand->recNo(), 1999);
    EXPECT_FALSE(onDemand->fetchedAll());

    dm->ExecSQL(QStringLiteral("delete from TRANZ where TRANZ_ID = 2000"));
    dm->RefreshDataSet(*onDemand, QStringLiteral("TRANZ_ID"));
    EXPECT_EQ(onDemand->recNo(), kDocuments - 2); // gone: the last row
    EXPECT_TRUE(onDemand->fetchedAll());
}

TEST_F(FetchOnDemand, LookUpsThroughAListReadOnDemandSeeEveryRow)
{
    auto lines = dm->createDataset(QStringLiteral("select TRANZ_ID as DOC from TRANZ where TRANZ_ID in (1, 2491)"));
    lines->addLookupField(QStringLiteral("NOTE"), QStringLiteral("DOC"), onDemand.get(), QStringLiteral("TRANZ_ID"),
                          QStringLiteral("TRANZ_NOTE"));
    lines->open();
    EXPECT_EQ(lines->value(0, lines->fieldIndex(QStringLiteral("NOTE"))).toString(), QStringLiteral("бележка 0"));
    EXPECT_EQ(lines->value(1, lines->fieldIndex(QStringLiteral("NOTE"))).toString(), QStringLiteral("бележка 2490"));
}

} // namespace
