#include "AdminCommand.h"

#include "BackupCommands.h"
#include "DatabaseCommands.h"
#include "EuroChangeoverCommand.h"
#include "OrphanLinesCommand.h"
#include "PrintCommands.h"
#include "SalesLedgerCommand.h"
#include "SettingsCommands.h"
#include "WorkstationCommand.h"
#include "core/DataFolder.h"
#include "data/SchemaUpgrade.h"
#include "util/Error.h"
#include "util/Version.h"

#include <QTextStream>

namespace admin {

QString usageText()
{
    return QStringLiteral(
        "Употреба: varnex-admin [--settings ФАЙЛ | --home ПАПКА] КОМАНДА ...\n"
        "       varnex-admin --version | --help\n"
        "\n"
        "Настройки на работното място (файлът по подразбиране е Varnex.xdb в папката с данни на\n"
        "програмата: --home ПАПКА, иначе VARNEX_HOME, иначе папката на програмата, ако в нея може\n"
        "да се пише, иначе $XDG_DATA_HOME/varnex, т.е. ~/.local/share/varnex):\n"
        "  settings get КЛЮЧ [ПОДРАЗБИРАНЕ]       стойността на ключа като текст\n"
        "  settings get-int КЛЮЧ [ПОДРАЗБИРАНЕ]   стойността като цяло число (подразбиране 0)\n"
        "  settings get-bool КЛЮЧ [ПОДРАЗБИРАНЕ]  1 или 0 (подразбиране 0)\n"
        "  settings set КЛЮЧ СТОЙНОСТ             записва текст\n"
        "  settings set-int КЛЮЧ ЧИСЛО            записва цяло число\n"
        "  settings dump                          целият файл с настройки\n"
        "\n"
        "Ключовете са пътища с обратна наклонена черта, например clientinfo\\company.\n"
        "  workstation СЪРВЪР:ПЪТ [--user U --password P]  работното място с базата на сървъра: пробва\n"
        "                                          връзката и записва clientinfo\\network и db_server\\*\n"
        "\n"
        "База данни (БАЗА е път до файл или сървър:път; --user и --password по подразбиране SYSDBA и pendrolix):\n"
        "  create-db ПЪТ [--schema-version N]      нова база от инсталацията, обновена до %1\n"
        "                                          (с N=10000 остава както е инсталирана)\n"
        "  upgrade БАЗА                            обновява структурата и дава правата\n"
        "  adjust-counters БАЗА                    броячите към най-големите ключове\n"
        "  empty-db БАЗА --yes                     изтрива всички данни без постоянните редове\n"
        "  stock БАЗА [--all] [--date ГГГГ-ММ-ДД]  наличност по стоки като CSV\n"
        "  orphan-lines БАЗА [--delete [--yes]]    редовете на незаписани документи като CSV; с --delete\n"
        "                                          ги изтрива (като SYSDBA, без други връзки към базата)\n"
        "  config БАЗА КЛЮЧ [СТОЙНОСТ]             стойност от настройките на базата (APP_CONFIG), например\n"
        "                                          STOCK_SHORTAGE_QUESTION 0: без въпрос при недостиг\n"
        "  backup БАЗА ДИРЕКТОРИЯ [--keep N]       архив ГГГГММДД_ЧЧММ.DBbackup с бележки; с --keep\n"
        "                                          остават само N-те най-нови архива в директорията\n"
        "  restore ФАЙЛ БАЗА                       възстановява базата от архива (без други връзки);\n"
        "                                          предишната база, ако има такава, остава като .oldFDB\n"
        "  euro-changeover БАЗА [--date ГГГГ-ММ-ДД] [--backup-dir ДИРЕКТОРИЯ] [--yes]\n"
        "                                          архив, после превалутира в евро продажните цени и\n"
        "                                          документите преди датата (подразбиране 2026-01-01);\n"
        "                                          архивът е в Backup до базата, ако не е дадена директория\n"
        "\n"
        "Печат без редакторите (данните на фирмата от файла с настройки):\n"
        "  print-invoice БАЗА ID --pdf ФАЙЛ [--only-copy]  фактурата като PDF (--only-copy: само копието)\n"
        "  print-receipt БАЗА TRANZ_ID --pdf ФАЙЛ          стоковата разписка на доставка или продажба\n"
        "  print-labels БАЗА --goods ID[,ID…] --pdf ФАЙЛ   етикети за рафт на стоките (листове A4, 3 × 8)\n"
        "\n"
        "Справки:\n"
        "  sales-ledger БАЗА --month ГГГГ-ММ --csv ФАЙЛ    дневникът на продажбите за месеца като CSV\n"
        "                                                  (фактури и известия; чакащите не са издадени)\n")
        .arg(data::kTargetSchemaVersion);
}

QString takeWord(QStringList &words, const char *what)
{
    if (words.isEmpty())
        throw UsageError{QStringLiteral("Липсва %1.").arg(QString::fromUtf8(what))};
    return words.takeFirst();
}

QString takeOptionalWord(QStringList &words, const QString &absent)
{
    return words.isEmpty() ? absent : words.takeFirst();
}

void expectNoMoreWords(const QStringList &words)
{
    if (!words.isEmpty())
        throw UsageError{QStringLiteral("Излишни думи: %1").arg(words.join(QLatin1Char(' ')))};
}

bool takeFlag(QStringList &words, const QString &name)
{
    return words.removeAll(name) > 0;
}

QString takeOption(QStringList &words, const QString &name, const QString &absent)
{
    const qsizetype at = words.indexOf(name);
    if (at < 0)
        return absent;
    if (at + 1 >= words.size())
        throw UsageError{QStringLiteral("Липсва стойност след %1.").arg(name)};
    const QString value = words.at(at + 1);
    words.remove(at, 2);
    return value;
}

void takeCredentials(Invocation &invocation)
{
    invocation.user = takeOption(invocation.words, QStringLiteral("--user"), invocation.user);
    invocation.password = takeOption(invocation.words, QStringLiteral("--password"), invocation.password);
}

void requireOption(const QString &value, const char *usage)
{
    if (value.isEmpty())
        throw UsageError{QStringLiteral("Липсва %1.").arg(QString::fromUtf8(usage))};
}

int integerWord(const QString &word, const char *what)
{
    bool ok = false;
    const int value = word.toInt(&ok);
    if (!ok)
        throw UsageError{QStringLiteral("%1 трябва да е цяло число: %2").arg(QString::fromUtf8(what), word)};
    return value;
}

bool answeredYes(const Invocation &invocation)
{
    if (!invocation.in)
        return false;
    const QString answer = invocation.in->readLine().trimmed().toLower();
    return answer == QStringLiteral("д") || answer == QStringLiteral("да") || answer == QLatin1String("y")
           || answer == QLatin1String("yes");
}

int run(const QStringList &arguments, const QString &toolDirectory, QTextStream &out, QTextStream &err, QTextStream *in)
{
    Invocation invocation{arguments, QString(), toolDirectory, out};
    invocation.in = in;
    invocation.err = &err;
    QStringList &words = invocation.words;
    QString home;
    try {
        while (!words.isEmpty() && words.first().startsWith(QLatin1String("--"))) {
            const QString option = words.takeFirst();
            if (option == QLatin1String("--help")) {
                out << usageText();
                return Success;
            }
            if (option == QLatin1String("--version")) {
                out << "varnex-admin " << varnex::programVersion() << '\n';
                return Success;
            }
            if (option == QLatin1String("--settings"))
                invocation.settingsFile = takeWord(words, "файлът след --settings");
            else if (option == QLatin1String("--home"))
                home = takeWord(words, "папката след --home");
            else if (option == QLatin1String("--user"))
                invocation.user = takeWord(words, "потребителят след --user");
            else if (option == QLatin1String("--password"))
                invocation.password = takeWord(words, "паролата след --password");
            else
                throw UsageError{QStringLiteral("Непозната опция: %1").arg(option)};
        }
        // The program's files are found where the program finds them.
        varnex::DataFolderInputs place = varnex::dataFolderInputs(toolDirectory);
        place.option = home;
        invocation.toolDirectory = varnex::chooseDataFolder(place).path;
        const QString command = takeWord(words, "команда");
        if (command == QLatin1String("settings"))
            runSettingsCommand(invocation);
        else if (isDatabaseCommand(command))
            runDatabaseCommand(command, invocation);
        else if (isPrintCommand(command))
            runPrintCommand(command, invocation);
        else if (isBackupCommand(command))
            runBackupCommand(command, invocation);
        else if (command == QLatin1String("orphan-lines"))
            runOrphanLinesCommand(invocation);
        else if (command == QLatin1String("euro-changeover"))
            runEuroChangeoverCommand(invocation);
        else if (command == QLatin1String("sales-ledger"))
            runSalesLedgerCommand(invocation);
        else if (command == QLatin1String("workstation"))
            runWorkstationCommand(invocation);
        else
            throw UsageError{QStringLiteral("Непозната команда: %1").arg(command)};
        return Success;
    } catch (const UsageError &error) {
        err << error.message << '\n' << '\n' << usageText();
        return WrongUsage;
    } catch (const varnex::Error &error) {
        err << error.message().simplified() << '\n';
        return Failure;
    }
}

} // namespace admin
