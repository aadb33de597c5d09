#pragma once

#include <QApplication>

// The program's application object: errors that reach the event loop are
// shown in the error box and the operation that raised them is abandoned.
// Qt's own texts come in Bulgarian.
class VarnexApplication : public QApplication
{
    Q_OBJECT

public:
    VarnexApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
