#include "RoundTrips.h"

#include "core/AppSettings.h"
#include "core/DatabaseInstaller.h"
#include "core/MessageSink.h"
#include "core/TXMLSettings.h"
#include "core/Tdm.h"
#include "data/JournalQuery.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/SaleDocument.h"
#include "payments/Outstanding.h"
#include "util/Error.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>

namespace bench {

namespace {

const int kPollMs = 100;

int connectTo(const QString &host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.toLocal8Bit().constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return -1;
    int socket = -1;
    for (addrinfo *address = found; address && socket < 0; address = address->ai_next) {
        socket = ::socket(address->ai_family, address->ai_socktype, address->ai_protocol);
        if (socket >= 0 && ::connect(socket, address->ai_addr, address->ai_addrlen) != 0) {
            ::close(socket);
            socket = -1;
        }
    }
    freeaddrinfo(found);
    if (socket >= 0) {
        const int on = 1;
        setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    return socket;
}

bool sendAll(int socket, const char *data, ssize_t size)
{
    while (size > 0) {
        const ssize_t sent = ::send(socket, data, size_t(size), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= sent;
    }
    return true;
}

} // namespace

TurnCounter::TurnCounter(const QString &serverHost, int serverPort)
    : m_serverHost(serverHost)
    , m_serverPort(serverPort)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_listener, 16) != 0
        || getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw varnex::Error(QStringLiteral("The counting relay could not listen on 127.0.0.1."));
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { accept(); });
}

TurnCounter::~TurnCounter()
{
    m_stopping = true;
    m_acceptor.join();
    for (std::thread &relay : m_relays)
        relay.join();
    ::close(m_listener);
}

void TurnCounter::accept()
{
    while (!m_stopping) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) <= 0)
            continue;
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0)
            continue;
        const int server = connectTo(m_serverHost, m_serverPort);
        if (server < 0) {
            ::close(client);
            continue;
        }
        const int on = 1;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        ++m_connections;
        m_relays.emplace_back([this, client, server] { relay(client, server); });
    }
}

void TurnCounter::relay(int client, int server)
{
    bool clientSpoke = false;
    char buffer[65536];
    pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    bool open = true;
    while (open && !m_stopping) {
        if (::poll(ends, 2, kPollMs) <= 0)
            continue;
        for (int side = 0; side < 2 && open; ++side) {
            if (!(ends[side].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t got = ::recv(ends[side].fd, buffer, sizeof buffer, 0);
            if (got <= 0) {
                open = false;
                break;
            }
            // Counted before the answer is passed on, so a caller that has
            // its answer always finds its turn counted.
            if (side == 0) {
                clientSpoke = true;
            } else if (clientSpoke) {
                clientSpoke = false;
                ++m_turns;
            }
            open = sendAll(ends[1 - side].fd, buffer, got);
        }
    }
    ::close(client);
    ::close(server);
}

namespace {

QString f(const char *text)
{
    return QString::fromUtf8(text);
}

// A goods item and a buyer for the sale, made in a database without them.
std::pair<int, int> saleParties(Tdm &dm)
{
    QVariant goods = dm.QueryValue(f("select first 1 NOM_ID from NOM where NOM_ID > 0 order by NOM_ID"));
    if (goods.isNull()) {
        goods = dm.NewCounterValue(data::CounterNom);
        dm.ExecSQL(f("insert into NOM (NOM_ID, NOM_CODE, NOM_NAME, NOM_MERKI_ID1, NOM_MERKI_ID2, NOM_INREPORT, "
                     "NOM_AMBALAJ, NOM_CATEGORY_ID, SELL_PRICE) values (:ID, :ID, 'Брашно', 2, -1, 1, 0, 0, 1.2)"),
                   {{f("ID"), goods}});
    }
    QVariant buyer = dm.QueryValue(f("select first 1 KONTR_ID from KONTR where KONTR_ID > 1 order by KONTR_ID"));
    if (buyer.isNull()) {
        buyer = dm.NewCounterValue(data::CounterKontr);
        dm.ExecSQL(f("insert into KONTR (KONTR_ID, KONTR_CODE, KONTR_NAME) values (:ID, :ID, 'Купувач')"),
                   {{f("ID"), buyer}});
    }
    return {goods.toInt(), buyer.toInt()};
}

void openJournal(db::Dataset &journal, const QDate &from, const QDate &to)
{
    journal.close();
    journal.setSelectSql(data::journalStatement(0, from, to));
    const QVariantHash params = data::journalPeriodParams(from, to);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        journal.setParam(it.key(), it.value());
    journal.setFetchOnDemand(true);
    journal.open();
}

} // namespace

namespace {

bool runRoundTrips(const QString &database, QTextStream &out)
{
    const qsizetype colon = database.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        throw varnex::Error(QStringLiteral("%1 names no server (host:path)").arg(database));
    const QString host = database.left(colon);
    const QString path = database.mid(colon + 1);
    const qsizetype slash = host.indexOf(QLatin1Char('/'));
    const QString hostName = slash > 0 ? host.left(slash) : host;
    const int port = slash > 0 ? host.mid(slash + 1).toInt() : 3050;
    const QString administrator = QStringLiteral("SYSDBA");
    const QString password = QStringLiteral("pendrolix");
    if (!QFile::exists(path))
        installDatabase(database, administrator, password, data::kTargetSchemaVersion);
    std::pair<int, int> parties;
    {
        LastMessage messages;
        Tdm setup(messages);
        setup.setDatabase(database);
        setup.ApplyConnectionConfig();
        if (!setup.Connect())
            throw varnex::Error(messages.line);
        parties = saleParties(setup);
        // The start measured is that of a database already brought up to date.
        if (setup.PrepareSchema() != TBaseDM::SchemaResult::Ready)
            throw varnex::Error(TBaseDM::SchemaFailureText());
    }

    TurnCounter counter(hostName, port);
    QTemporaryDir folder;
    TXMLSettings settings(folder.filePath(QStringLiteral("Varnex.xdb")));
    settings.setSaveWhenFreed(false);
    settings.Open();
    settings.WriteString(QStringLiteral("clientinfo\\network"), QStringLiteral("1"));
    settings.WriteString(QStringLiteral("db_server\\host"), hostName + QLatin1Char('/') + QString::number(counter.port()));
    settings.WriteString(QStringLiteral("db_server\\database"), path);
    SetAppSettings(&settings);

    LastMessage messages;
    Tdm dm(messages);
    dm.programDirectory = folder.path() + QLatin1Char('/');
    bool done = true;
    out << "| action | round trips | connections |\n|---|---:|---:|\n";
    const auto count = [&](const char *action, const std::function<void()> &step) {
        const long turns = counter.turns();
        const long connections = counter.connections();
        try {
            step();
        } catch (const varnex::Error &error) {
            out << "| " << action << " | failed: " << error.message() << " | |\n";
            done = false;
            return;
        }
        out << "| " << action << " | " << counter.turns() - turns << " | " << counter.connections() - connections
            << " |\n";
    };

    const QDate today = QDate::currentDate();
    const QDate first(today.year(), today.month(), 1);
    const std::unique_ptr<db::Dataset> journal = dm.createDataset(QString());
    count("start-up to the main window", [&] {
        if (!dm.StartSession())
            throw varnex::Error(messages.line);
        openJournal(*journal, first, first.addMonths(1).addDays(-1));
    });
    count("journal of a month", [&] {
        const QDate previous = first.addMonths(-1);
        openJournal(*journal, previous, first.addDays(-1));
    });
    documents::DocumentModel sale(dm, documents::saleKind());
    sale.confirmShortage = [](const QString &) { return true; };
    count("new sale", [&] { sale.createNew(); });
    // As the line area does: the goods chosen bring their last price and
    // the stock on hand beside them.
    documents::LineArea &goods = sale.area(documents::SaleGoods);
    count("one sale line: new line", [&] { goods.newLine(); });
    count("one sale line: goods and price", [&] {
        goods.lines().setValue(f("TRANZ_RED_NOM_ID"), parties.first);
        goods.lines().setValue(f("TRANZ_RED_CENA"), sale.lastPrice(parties.first));
        goods.stockOnHand();
    });
    // The taken quantity is proposed as the quantity, so the line is
    // weighed against the stock on hand as it is stored.
    count("one sale line: storing", [&] {
        goods.lines().setValue(f("TRANZ_RED_KOL1"), 1.0);
        goods.lines().setValue(f("TRANZ_RED_IZNESENO"), 1.0);
        goods.storeLine();
    });
    count("saving the sale", [&] {
        sale.header().setValue(f("TRANZ_KONT_ID"), parties.second);
        sale.save();
    });
    count("payments window", [&] {
        for (const int type : {payments::kDeliveryType, payments::kSaleType}) {
            dm.QueryRows(payments::ageingSql(), payments::ageingParams(type, payments::allDueDates(), today));
            for (const QString &sql : {payments::moneyListSql(), payments::goodsListSql(type)}) {
                const std::unique_ptr<db::Dataset> list = dm.createDataset(sql);
                for (auto [name, value] : payments::listParams(type, payments::allDueDates()).asKeyValueRange())
                    if (sql.contains(QLatin1Char(':') + name))
                        list->setParam(name, value);
                list->open();
            }
        }
    });
    journal->close();
    dm.Disconnect();
    SetAppSettings(nullptr);
    return done;
}

} // namespace

int runRoundTripsCommand(const QString &database, QTextStream &out)
{
    try {
        return runRoundTrips(database, out) ? 0 : 1;
    } catch (const varnex::Error &error) {
        SetAppSettings(nullptr);
        QTextStream(stderr) << error.message() << '\n';
        return 1;
    }
}

} // namespace bench
