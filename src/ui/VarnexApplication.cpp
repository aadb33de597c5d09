#include "ui/VarnexApplication.h"

#include "ui/Dialogs.h"
#include "util/Error.h"

#include <QDebug>

VarnexApplication::VarnexApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool VarnexApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const varnex::Error &error) {
        if (!error.detail().isEmpty())
            qWarning().noquote() << error.message() << "|" << error.detail();
        ShowErrorBox(error.message());
    } catch (const std::exception &error) {
        ShowErrorBox(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
