#include "core/AppSettings.h"
#include "core/TXMLSettings.h"
#include "core/Tdm.h"
#include "core/TfrmMain.h"
#include "security/SessionDialogs.h"
#include "ui/PrivateFonts.h"
#include "ui/VarnexApplication.h"

int main(int argc, char *argv[])
{
    // The settings come first and go last: the owner saves them when freed.
    TXMLSettings settings;
    settings.Open();
    SetAppSettings(&settings);

    VarnexApplication app(argc, argv);
    app.setApplicationDisplayName(QStringLiteral("Система за складова отчетност \"ТОРЕМ\" версия 2.0"));
    app.setQuitOnLastWindowClosed(false);

    SessionDialogs dialogs;
    Tdm data(dialogs);
    SetDataModule(&data);
    const PrivateFonts fonts(data.programDirectory + QLatin1String("fonts"));

    int status = 1;
    if (data.StartSession()) {
        TfrmMain mainWindow(data);
        QObject::connect(&mainWindow, &QDialog::finished, &app, &QCoreApplication::quit);
        mainWindow.show();
        status = app.exec();
    }
    data.EndSession();
    SetDataModule(nullptr);
    return status;
}
