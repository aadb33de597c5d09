#include "PrintCommands.h"

#include "AdminCommand.h"
#include "DatabaseCommands.h"
#include "core/MessageSink.h"
#include "core/ProgramFiles.h"
#include "core/TXMLSettings.h"
#include "core/Tdm.h"
#include "invoicing/StoredDocuments.h"
#include "invoicing/TdmInvoice.h"
#include "reportdata/ShelfLabels.h"
#include "ui/TDictionary.h"
#include "util/Error.h"

#include <QDir>
#include <QTextStream>

namespace admin {

namespace {

const QStringList kCommands{QStringLiteral("print-invoice"), QStringLiteral("print-receipt"),
                            QStringLiteral("print-labels")};

QString settingsFile(const Invocation &invocation)
{
    if (!invocation.settingsFile.isEmpty())
        return invocation.settingsFile;
    return varnex::programFileWithExtension(QDir(invocation.toolDirectory).filePath(QStringLiteral("Varnex")),
                                            QStringLiteral(".xdb"));
}

// "print-labels": shelf labels of the goods as a PDF of label sheets.
void runLabelsCommand(Invocation &invocation)
{
    QStringList &words = invocation.words;
    takeCredentials(invocation);
    const QString pdf = takeOption(words, QStringLiteral("--pdf"));
    const QString goods = takeOption(words, QStringLiteral("--goods"));
    const QString database = takeWord(words, "база данни");
    expectNoMoreWords(words);
    requireOption(pdf, "--pdf ФАЙЛ");
    requireOption(goods, "--goods ID[,ID…]");
    std::vector<int> ids;
    for (const QString &id : goods.split(QLatin1Char(',')))
        ids.push_back(integerWord(id.trimmed(), "ID на артикул"));

    Session session(database, invocation);
    const auto labels = reportdata::shelfLabels(session.dm(), ids);
    reportdata::saveShelfLabelsPdf(labels, reportdata::labelCurrency(session.dm(), QDate::currentDate()), pdf);
    invocation.out << pdf << '\n';
}

} // namespace

bool isPrintCommand(const QString &command)
{
    return kCommands.contains(command);
}

bool needsGraphics(const QStringList &arguments)
{
    for (const QString &word : arguments) {
        if (isPrintCommand(word))
            return true;
    }
    return false;
}

void runPrintCommand(const QString &command, Invocation &invocation)
{
    if (command == QLatin1String("print-labels")) {
        runLabelsCommand(invocation);
        return;
    }
    QStringList &words = invocation.words;
    takeCredentials(invocation);
    const QString pdf = takeOption(words, QStringLiteral("--pdf"));
    const bool onlyCopy = takeFlag(words, QStringLiteral("--only-copy"));
    const QString database = takeWord(words, "база данни");
    const int id = integerWord(takeWord(words, command == QLatin1String("print-invoice") ? "ID на фактурата" : "ID на документа"),
                               "ID");
    expectNoMoreWords(words);
    requireOption(pdf, "--pdf ФАЙЛ");
    if (onlyCopy && command != QLatin1String("print-invoice"))
        throw UsageError{QStringLiteral("--only-copy е само за фактури.")};

    // The company's details are read, never written back.
    TXMLSettings settings(settingsFile(invocation));
    settings.setSaveWhenFreed(false);
    settings.Open();

    LastMessage messages;
    Tdm dm(messages);
    dm.setDatabase(database);
    dm.user = invocation.user;
    dm.password = invocation.password;
    dm.ApplyConnectionConfig();
    if (!dm.Connect())
        throw varnex::Error(messages.line);

    TdmInvoice module(dm, settings);
    const invoicing::NamedValues values = command == QLatin1String("print-invoice")
                                              ? invoicing::storedInvoiceBoardValues(dm, id, onlyCopy)
                                              : invoicing::storedReceiptBoardValues(dm, id);
    for (const auto &[name, value] : values)
        PutParam(name, value);
    if (command == QLatin1String("print-invoice"))
        module.PrepareInvoice(id);
    else
        module.PrepareReceipt(id);
    module.savePdf(pdf);
    invocation.out << pdf << '\n';
}

} // namespace admin
