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

    // The program's title: the main window's caption, the error box's and
    // the first line of a backup's notes. It is not Qt's display name, which
    // the desktop would add to the caption of every window.
    static QString title();
    bool notify(QObject *receiver, QEvent *event) override;
};
