#include "catalogues/TfrmMerki.h"
#include "core/AppSettings.h"
#include "core/TXMLSettings.h"
#include "core/Tdm.h"
#include "ui/DialogMessages.h"
#include "ui/Dialogs.h"
#include "ui/VarnexApplication.h"
#include "util/Error.h"

#include <QMainWindow>

namespace {

const char *const kTitle = "Система за складова отчетност \"ТОРЕМ\" версия 2.0";

// Opens one catalogue window straight on the configured database, until
// the main window opens them itself.
int showUnitsWindow(TXMLSettings &settings)
{
    DialogMessages messages;
    Tdm data(messages);
    SetDataModule(&data);
    data.ReadConnectionConfig(settings);
    data.ApplyConnectionConfig();
    if (!data.Connect())
        return 1;
    try {
        Tdm::CheckSchemaResult(data.PrepareSchema());
        TfrmMerki window;
        window.setSettings(settings.OpenSection(window.objectName()));
        window.LoadLayout();
        window.exec();
    } catch (const varnex::Error &error) {
        ShowErrorBox(error.message());
        SetDataModule(nullptr);
        return 1;
    }
    SetDataModule(nullptr);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    TXMLSettings settings;
    settings.Open();
    SetAppSettings(&settings);

    VarnexApplication app(argc, argv);
    app.setApplicationDisplayName(QString::fromUtf8(kTitle));
    const QStringList arguments = app.arguments();
    const qsizetype window = arguments.indexOf(QStringLiteral("--window"));
    if (window >= 0 && arguments.value(window + 1) == QLatin1String("units"))
        return showUnitsWindow(settings);

    QMainWindow mainWindow;
    mainWindow.setWindowTitle(QString::fromUtf8(kTitle));
    mainWindow.show();
    return app.exec();
}
