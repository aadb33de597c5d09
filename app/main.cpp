#include "backup/ArchiveCommands.h"
#include "core/AppSettings.h"
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

#include <cstdio>
#include <cstdlib>

namespace {

// The session from the log-in to the main window's end; a failed start has
// shown its message and gives status 1.
int runSession(Tdm &data, VarnexApplication &app)
{
    bool started = false;
    if (!runGuarded(nullptr, [&] { started = data.StartSession(); }) || !started)
        return 1;
    int status = 1;
    runGuarded(nullptr, [&] {
        TfrmMain mainWindow(data);
        QObject::connect(&mainWindow, &QDialog::finished, &app, &QCoreApplication::quit);
        mainWindow.show();
        status = app.exec();
    });
    return status;
}

// The program from its settings to the end of the session; everything it
// made is freed, and the settings saved, when this returns.
int runProgram(int argc, char *argv[])
{
    // Marked before the settings are read and unmarked after their last save,
    // so varnex-admin never changes the file under the running program.
    const SettingsInUse settingsInUse(TXMLSettings::programSettingsFile());
    // The settings come first and go last: the owner saves them when freed.
    TXMLSettings settings;
    settings.Open();
    SetAppSettings(&settings);

    VarnexApplication app(argc, argv);
    app.setApplicationDisplayName(QStringLiteral("Система за складова отчетност \"ТОРЕМ\" версия 2.0"));
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

    int status = runSession(data, app);
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
