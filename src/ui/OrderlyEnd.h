#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the program in order when the system asks it to: a log-out or
// shut-down (SIGTERM, SIGHUP, the session manager) or Ctrl+C (SIGINT).
// Every pending edit is cancelled and every event loop left, so the program
// goes through its normal end: the connection closed, the clean-end token
// and the settings saved, exit status 0. One instance, for the program's
// lifetime, created after the application object.
class OrderlyEnd : public QObject
{
    Q_OBJECT

public:
    explicit OrderlyEnd(QObject *parent = nullptr);
    ~OrderlyEnd() override;

    // Whether the end was asked for; the program's exit status stays 0.
    static bool requested();
    // What a signal sets going, on the user-interface thread.
    static void endNow();

private:
    QSocketNotifier *m_notifier;
};
