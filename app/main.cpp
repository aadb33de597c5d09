#include "backup/ArchiveCommands.h"
#include "core/AppSettings.h"
#include "core/DataFolder.h"
#include "core/SettingsInUse.h"
#include "core/TXMLSettings.h"
#include "core/Tdm.h"
#include "invoicing/TdmInvoice.h"
#include "mainwindow/TfrmMain.h"
#include "security/SessionDialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/OrderlyEnd.h"
#include "ui/PrivateFonts.h"
#include "ui/VarnexApplication.h"
#include "util/Error.h"
#include "util/Version.h"

#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

QString usageText()
{
    return QStringLiteral(
        "Употреба: varnex [--home ПАПКА] [--check-start]\n"
        "Система за складова отчетност \"ТОРЕМ\".\n"
        "\n"
        "  --home ПАПКА   папката с настройките (Varnex.xdb), базата (Varnex.fdb), firebird.conf,\n"
        "                 fonts/ и Backup/; без нея: VARNEX_HOME, иначе папката на програмата,\n"
        "                 ако в нея може да се пише, иначе $XDG_DATA_HOME/varnex\n"
        "                 (~/.local/share/varnex), създадена при първото пускане\n"
        "  --check-start  показва главния прозорец и приключва (проверка на инсталацията)\n"
        "  --version      версията на програмата\n"
        "  --help         този текст\n");
}

struct Options
{
    bool checkStart = false;
    // Set when the command line is answered without starting the program.
    std::optional<int> answered;
};

// The program's own words; Qt's options (-platform, -style) are left to it.
Options readOptions(int argc, char *argv[])
{
    Options options;
    QTextStream out(stdout);
    QTextStream err(stderr);
    for (int i = 1; i < argc; ++i) {
        const QString word = QString::fromLocal8Bit(argv[i]);
        if (word == QLatin1String("--version")) {
            out << "Varnex " << varnex::programVersion() << '\n';
            options.answered = 0;
        } else if (word == QLatin1String("--help")) {
            out << usageText();
            options.answered = 0;
        } else if (word == QLatin1String("--check-start")) {
            options.checkStart = true;
        } else if (word == QLatin1String("--home")) {
            if (i + 1 >= argc) {
                err << "Липсва папката след --home.\n\n" << usageText();
                options.answered = 2;
            } else {
                varnex::setDataFolderOption(QString::fromLocal8Bit(argv[++i]));
            }
        }
        if (options.answered)
            break;
    }
    return options;
}

// A user's own data folder is made at its first start; the program's own
// folder is left as the installer made it.
void prepareDataFolder()
{
    const varnex::DataFolderPlace place = varnex::dataFolder();
    if (place.source != varnex::DataFolderSource::ProgramFolder && varnex::isNewDataFolder(place.path))
        varnex::furnishDataFolder(place.path, varnex::sharedDirectory());
}

// The check of an installation: the main window came up, so the program
// says so and ends as it would at a log-out.
void endOnceShown(const QWidget &mainWindow)
{
    QTimer::singleShot(500, &mainWindow, [&mainWindow] {
        if (mainWindow.isVisible())
            QTextStream(stdout) << "Главният прозорец е показан.\n";
        OrderlyEnd::endNow();
    });
}

// The session from the log-in to the main window's end; a failed start has
// shown its message and gives status 1.
int runSession(Tdm &data, VarnexApplication &app, bool checkStart)
{
    bool started = false;
    if (!runGuarded(nullptr, [&] { started = data.StartSession(); }) || !started)
        return 1;
    int status = 1;
    runGuarded(nullptr, [&] {
        TfrmMain mainWindow(data);
        QObject::connect(&mainWindow, &QDialog::finished, &app, &QCoreApplication::quit);
        mainWindow.show();
        if (checkStart)
            endOnceShown(mainWindow);
        status = app.exec();
    });
    return status;
}

// The program from its settings to the end of the session; everything it
// made is freed, and the settings saved, when this returns.
int runProgram(int argc, char *argv[])
{
    const Options options = readOptions(argc, argv);
    if (options.answered)
        return *options.answered;
    try {
        prepareDataFolder();
    } catch (const varnex::Error &error) {
        // Nothing is read or written without the folder; the user sees why.
        QTextStream(stderr) << error.message() << '\n';
        VarnexApplication app(argc, argv);
        ShowErrorOf(error);
        return 1;
    }
    // Marked before the settings are read and unmarked after their last save,
    // so varnex-admin never changes the file under the running program.
    const SettingsInUse settingsInUse(TXMLSettings::programSettingsFile());
    // The settings come first and go last: the owner saves them when freed.
    TXMLSettings settings;
    settings.Open();
    SetAppSettings(&settings);

    VarnexApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const OrderlyEnd orderlyEnd;

    SessionDialogs dialogs;
    Tdm data(dialogs);
    SetDataModule(&data);
    // The printing module reads through the data module, so it is freed first.
    TdmInvoice printing(data, settings);
    SetInvoiceModule(&printing);
    const PrivateFonts fonts(data.programDirectory + QLatin1String("fonts"));
    // After an unclean end the user sees the session backups and chooses; a
    // restore that fails leaves the database as it was and the start goes on.
    data.chooseBackupToRestore = [&data](const QString &folder) {
        runGuarded(nullptr, [&] { RestoreFromBackup(data, nullptr, folder, true); });
    };

    int status = runSession(data, app, options.checkStart);
    if (OrderlyEnd::requested())
        status = 0;
    runGuarded(nullptr, [&] { data.EndSession(); });
    SetInvoiceModule(nullptr);
    SetDataModule(nullptr);
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    const int status = runProgram(argc, argv);
    // The embedded engine's service thread may still be winding down after
    // the session backup of the orderly end; unloading the library under it
    // at exit would crash the program after its work is done. Every
    // connection is closed by now, so the program ends without unloading it.
    std::fflush(nullptr);
    std::_Exit(status);
}
