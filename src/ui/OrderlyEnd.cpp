#include "ui/OrderlyEnd.h"

#include "db/Dataset.h"
#include "db/EngineSignals.h"

#include <QApplication>
#include <QDebug>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A signal handler may do next to nothing; it writes one byte into this
// pipe, and the event loop reads it.
int g_pipe[2] = {-1, -1};
bool g_requested = false;

const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void wakeEventLoop()
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

void onSignal(int)
{
    wakeEventLoop();
}

} // namespace

OrderlyEnd::OrderlyEnd(QObject *parent)
    : QObject(parent)
{
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        // Without the pipe the signals keep their usual effect; the program
        // itself works on.
        qWarning("No pipe for the end signals: they end the program at once");
        g_pipe[0] = g_pipe[1] = -1;
        m_notifier = nullptr;
        return;
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [] {
        char bytes[16];
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
        }
        endNow();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        sigaction(signal, &action, nullptr);
    // The database library would otherwise answer SIGINT and SIGTERM itself
    // by dropping every connection.
    db::keepConnectionsOnSignals(wakeEventLoop);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [] { endNow(); });
}

OrderlyEnd::~OrderlyEnd()
{
    if (!m_notifier)
        return;
    for (const int signal : kSignals)
        std::signal(signal, SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

bool OrderlyEnd::requested()
{
    return g_requested;
}

void OrderlyEnd::endNow()
{
    g_requested = true;
    // Nobody is there to finish what was being typed: it is dropped, not
    // stored half-checked.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        for (db::Dataset *dataset : window->findChildren<db::Dataset *>()) {
            if (dataset->isEditing())
                dataset->cancel();
        }
    }
    // Leaving every event loop unwinds the open windows from the innermost
    // one; the main loop's end then runs the program's own end.
    QCoreApplication::exit(0);
}
