#include "ui/VarnexApplication.h"

#include "backup/BackupFiles.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "util/Error.h"

#include <QLibraryInfo>
#include <QTranslator>

VarnexApplication::VarnexApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // Qt's own dialogs (files, printing, page set-up) and key names speak
    // Bulgarian like the rest of the program. The default locale is left
    // to the system: the program's numbers follow its regional settings.
    auto *qtTexts = new QTranslator(this);
    if (qtTexts->load(QStringLiteral("qtbase_bg"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qtTexts);
    // The window class and the desktop entry share the name, so the desktop
    // shows the program under its menu entry and icon.
    setApplicationName(QStringLiteral("varnex"));
    setDesktopFileName(QStringLiteral("varnex"));
}

QString VarnexApplication::title()
{
    return backup::programTitle();
}

bool VarnexApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const varnex::Error &error) {
        ShowErrorOf(error);
    } catch (const std::exception &error) {
        ShowErrorBox(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
