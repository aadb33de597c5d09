#pragma once

#include <QString>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class QTextStream;

namespace bench {

// A TCP relay in front of the database server that counts turns: every
// time the server answers after the client has sent something is one round
// trip, however many packets either side wrote in between.
class TurnCounter
{
public:
    TurnCounter(const QString &serverHost, int serverPort);
    ~TurnCounter();
    TurnCounter(const TurnCounter &) = delete;
    TurnCounter &operator=(const TurnCounter &) = delete;

    // The port on 127.0.0.1 the client connects to instead of the server.
    int port() const { return m_port; }
    long turns() const { return m_turns.load(); }
    long connections() const { return m_connections.load(); }

private:
    void accept();
    void relay(int client, int server);

    QString m_serverHost;
    int m_serverPort;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<long> m_turns{0};
    std::atomic<long> m_connections{0};
    std::thread m_acceptor;
    std::vector<std::thread> m_relays;
};

// Counts the round trips of what a user does most, against "host:path" on a
// server: the start-up to the main window, a month's journal, a new sale,
// one sale line, saving the sale and the payments window. A database that
// does not exist yet is made first. Status 0, or 1 when a step failed.
int runRoundTripsCommand(const QString &database, QTextStream &out);

} // namespace bench
