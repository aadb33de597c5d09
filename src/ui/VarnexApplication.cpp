#include "ui/VarnexApplication.h"

#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "util/Error.h"


VarnexApplication::VarnexApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
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
