// A workstation in the middle of a new delivery, for the tests that kill it:
// draws the document's id, stores three lines one by one as the editor does
// when each line is saved, prints the document's id and waits, its header
// never written.
//
// document-lines-writer DATABASE

#include "core/MessageSink.h"
#include "core/Tdm.h"
#include "db/Dataset.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

namespace {

const char *const kLines = "select * from TRANZ_RED where TRANZ_RED_TRANZ_ID = :TRANZ_ID";
const char *const kInsertLine =
    "insert into TRANZ_RED (TRANZ_RED_CAT_ID, TRANZ_RED_CENA, TRANZ_RED_ID, TRANZ_RED_IZNESENO, TRANZ_RED_KOL1, "
    "TRANZ_RED_KOL2, TRANZ_RED_NOM_ID, TRANZ_RED_OTSTUPKA, TRANZ_RED_TRANZ_ID, TRANZ_RED_TYPE_ID) values "
    "(:TRANZ_RED_CAT_ID, :TRANZ_RED_CENA, :TRANZ_RED_ID, :TRANZ_RED_IZNESENO, :TRANZ_RED_KOL1, :TRANZ_RED_KOL2, "
    ":TRANZ_RED_NOM_ID, :TRANZ_RED_OTSTUPKA, :TRANZ_RED_TRANZ_ID, :TRANZ_RED_TYPE_ID)";

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: document-lines-writer DATABASE\n", stderr);
        return 2;
    }
    LastMessage messages;
    Tdm dm(messages);
    dm.setDatabase(QString::fromLocal8Bit(argv[1]));
    dm.ApplyConnectionConfig();
    if (!dm.Connect()) {
        std::fprintf(stderr, "%s\n", messages.line.toLocal8Bit().constData());
        return 1;
    }
    const int documentId = dm.NewCounterValue(data::CounterTranz);
    auto lines = dm.createDataset(QString::fromLatin1(kLines));
    lines->setInsertSql(QString::fromLatin1(kInsertLine));
    lines->setParam(QStringLiteral("TRANZ_ID"), documentId);
    lines->open();
    for (int line = 1; line <= 3; ++line) {
        lines->append();
        lines->setValue(QStringLiteral("TRANZ_RED_TRANZ_ID"), documentId);
        lines->setValue(QStringLiteral("TRANZ_RED_TYPE_ID"), 1);
        lines->setValue(QStringLiteral("TRANZ_RED_NOM_ID"), 1);
        lines->setValue(QStringLiteral("TRANZ_RED_CENA"), 2.5);
        lines->setValue(QStringLiteral("TRANZ_RED_KOL1"), double(line));
        lines->setValue(QStringLiteral("TRANZ_RED_KOL2"), 0.0);
        lines->setValue(QStringLiteral("TRANZ_RED_OTSTUPKA"), 0.0);
        lines->setValue(QStringLiteral("TRANZ_RED_IZNESENO"), double(line));
        lines->setValue(QStringLiteral("TRANZ_RED_ID"), dm.NewCounterValue(data::CounterTranzRed));
        lines->post();
    }
    std::printf("%d\n", documentId);
    std::fflush(stdout);
    for (;;)
        QThread::sleep(60);
}
