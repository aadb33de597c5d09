#include "core/AppSettings.h"
#include "core/TXMLSettings.h"
#include "data/OrphanLines.h"
#include "data/OtherConnections.h"
#include "support/FreshDatabase.h"
#include "support/NetworkServer.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

std::unique_ptr<Tdm> connectAsAdministrator(const QString &database, MessageSink &messages)
{
    auto dm = std::make_unique<Tdm>(messages);
    dm->setDatabase(database);
    dm->ApplyConnectionConfig();
    if (!dm->Connect())
        throw std::runtime_error("cannot connect to " + database.toStdString());
    return dm;
}

// A workstation of the shop whose database is on the server, set up with a
// database user of its own.
class OrphanLinesOnServer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_SERVER();
        database = std::make_unique<ServedDatabase>();
        settings = std::make_unique<TXMLSettings>(dir.path(QStringLiteral("Varnex.xdb")));
        settings->setSaveWhenFreed(false);
        settings->Open();
        settings->WriteString(QStringLiteral("clientinfo\\network"), QStringLiteral("1"));
        settings->WriteString(QStringLiteral("db_server\\host"), serverHost());
        settings->WriteString(QStringLiteral("db_server\\database"),
                              database->name().mid(database->name().indexOf(QLatin1Char(':')) + 1));
        settings->WriteString(QStringLiteral("db_server\\user"), QStringLiteral("VARNEX_PRODAVACH"));
        settings->WriteString(QStringLiteral("db_server\\pass"), QStringLiteral("prodava4"));
        SetAppSettings(settings.get());
        auto setup = connectAsAdministrator(database->name(), messages);
        addGoods(*setup, 1, 1, QStringLiteral("Олио"));
    }
    void TearDown() override { SetAppSettings(nullptr); }

    bool start()
    {
        Tdm dm(messages);
        dm.programDirectory = dir.path(QString()) + QLatin1Char('/');
        return dm.StartSession();
    }
    int lineCount(int documentId)
    {
        RecordedMessages quiet;
        return connectAsAdministrator(database->name(), quiet)
            ->QueryValue(QStringLiteral("select count(*) from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID"), QString(),
                         {{QStringLiteral("ID"), documentId}})
            .toInt();
    }
    // A killed client's connection is ended by the server once it notices.
    bool aloneWithin(int milliseconds)
    {
        RecordedMessages quiet;
        auto check = connectAsAdministrator(database->name(), quiet);
        for (int waited = 0; waited < milliseconds; waited += 100) {
            if (data::otherConnections(check->database()) == 0)
                return true;
            QThread::msleep(100);
        }
        return false;
    }

    TempDir dir;
    std::unique_ptr<ServedDatabase> database;
    std::unique_ptr<TXMLSettings> settings;
    RecordedMessages messages;
};

TEST_F(OrphanLinesOnServer, NothingIsAskedNorRemovedWhileAnotherWorkstationIsConnected)
{
    // The other workstation connects under the administrator's name, which
    // this workstation's own database user cannot see in the monitoring
    // tables; it may be entering document 4 right now.
    RecordedMessages otherMessages;
    auto other = connectAsAdministrator(database->name(), otherMessages);
    addLine(*other, 1, 4, 1, 1, 3, 3);
    addLine(*other, 2, 4, 1, 1, 2, 2);
    messages.confirmations = {true, true};

    ASSERT_TRUE(start());
    EXPECT_TRUE(messages.questions.empty());
    EXPECT_EQ(lineCount(4), 2);

    other.reset();
    ASSERT_TRUE(start());
    ASSERT_EQ(messages.questions.size(), 1u);
    EXPECT_TRUE(messages.questions[0].contains(QStringLiteral("2 реда на 1 документ")));
    EXPECT_EQ(lineCount(4), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OrphanLinesOnServer, TheLinesOfAKilledWorkstationAreOfferedAtTheNextStart)
{
    // The killed process holds no engine: it talks to the server. Its lock
    // folder is its own all the same.
    TempDir locks;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), locks.path(QString()));
    QProcess workstation;
    workstation.setProcessEnvironment(environment);
    workstation.start(QStringLiteral(VARNEX_BIN_DIR "/document-lines-writer"), {database->name()});
    ASSERT_TRUE(workstation.waitForStarted(30000));
    QByteArray printed;
    while (!printed.contains('\n') && workstation.waitForReadyRead(30000))
        printed += workstation.readAllStandardOutput();
    bool isNumber = false;
    const int documentId = printed.trimmed().toInt(&isNumber);
    ASSERT_TRUE(isNumber) << printed.toStdString() << workstation.readAllStandardError().toStdString();
    EXPECT_EQ(lineCount(documentId), 3);

    workstation.kill();
    ASSERT_TRUE(workstation.waitForFinished(30000));
    ASSERT_TRUE(aloneWithin(10000));

    messages.confirmations = {true};
    ASSERT_TRUE(start());
    ASSERT_EQ(messages.questions.size(), 1u);
    EXPECT_TRUE(messages.questions[0].contains(QStringLiteral(": 3 реда на 1 документ.")));
    EXPECT_EQ(lineCount(documentId), 0);
}

} // namespace
