#include "db/Services.h"
#include "support/FreshDatabase.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TEST(EmbeddedServices, BackUpAndRestoreADatabase)
{
    FreshDatabase database;
    database.connect()->ExecSQL(QStringLiteral("insert into CITIES (ID, COUNTRY_ID, NAME) values (3, 1, 'Габрово')"));
    TempDir dir;
    const QString backup = dir.path(QStringLiteral("2026-12-09 10-00.DBbackup"));
    const QString restored = dir.path(QStringLiteral("restored.fdb"));

    db::Services services;
    services.attach(QString(), QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"));
    QStringList lines;
    services.backup(database.path(), backup, [&](const QString &line) { lines << line; });
    EXPECT_TRUE(QFile::exists(backup));
    EXPECT_FALSE(lines.isEmpty());
    services.restore(backup, restored, false);
    EXPECT_THROW(services.restore(backup, restored, false), varnex::Error); // exists, not replacing
    services.restore(backup, restored, true);

    RecordedMessages messages;
    Tdm dm(messages);
    dm.setDatabase(restored);
    dm.ApplyConnectionConfig();
    ASSERT_TRUE(dm.Connect());
    EXPECT_EQ(dm.QueryValue(QStringLiteral("select NAME from CITIES where ID = 3")).toString(), QStringLiteral("Габрово"));
}

} // namespace
