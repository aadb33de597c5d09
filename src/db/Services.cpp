#include "db/Services.h"

#include "db/FbClient.h"
#include "util/Error.h"
#include "util/Win1251.h"

#include <QFile>

#include <vector>

namespace db {

namespace {

// Service parameter blocks: one-byte tags with two-byte lengths for texts
// and four-byte little-endian numbers.
void addText(QByteArray &block, char tag, const QByteArray &text)
{
    block.append(tag);
    block.append(char(text.size() & 0xFF));
    block.append(char((text.size() >> 8) & 0xFF));
    block.append(text);
}

void addNumber(QByteArray &block, char tag, quint32 value)
{
    block.append(tag);
    for (int shift = 0; shift < 32; shift += 8)
        block.append(char((value >> shift) & 0xFF));
}

} // namespace

Services::Services() = default;

Services::~Services()
{
    if (!isAttached())
        return;
    Status status;
    isc_service_detach(&status, &m_handle);
}

void Services::attach(const QString &host, const QString &user, const QString &password)
{
    detach();
    m_service = host.isEmpty() ? QStringLiteral("service_mgr") : host + QLatin1String(":service_mgr");
    QByteArray spb;
    spb.append(char(isc_spb_version));
    spb.append(char(isc_spb_current_version));
    const QByteArray userBytes = varnex::toWin1251(user);
    const QByteArray passwordBytes = varnex::toWin1251(password);
    spb.append(char(isc_spb_user_name));
    spb.append(char(userBytes.size()));
    spb.append(userBytes);
    spb.append(char(isc_spb_password));
    spb.append(char(passwordBytes.size()));
    spb.append(passwordBytes);

    const QByteArray name = m_service.toLatin1();
    Status status;
    isc_service_attach(&status, static_cast<unsigned short>(name.size()), name.constData(), &m_handle,
                       static_cast<unsigned short>(spb.size()), spb.constData());
    if (status.failed())
        m_handle = 0;
    status.check(m_service);
}

void Services::detach()
{
    if (!isAttached())
        return;
    Status status;
    isc_service_detach(&status, &m_handle);
    m_handle = 0;
    status.check(m_service);
}

void Services::start(const QByteArray &request)
{
    Status status;
    isc_service_start(&status, &m_handle, nullptr, static_cast<unsigned short>(request.size()), request.constData());
    status.check(m_service);
}

QStringList Services::listUsers()
{
    QByteArray request;
    request.append(char(isc_action_svc_display_user));
    start(request);

    const char items[] = {isc_info_svc_get_users};
    std::vector<char> buffer(256 * 1024);
    Status status;
    isc_service_query(&status, &m_handle, nullptr, 0, nullptr, sizeof items, items,
                      static_cast<unsigned short>(qMin<size_t>(buffer.size(), 65535)), buffer.data());
    status.check(m_service);

    QStringList users;
    const char *p = buffer.data();
    if (*p++ != isc_info_svc_get_users)
        return users;
    const int total = int(isc_vax_integer(p, 2));
    p += 2;
    const char *end = p + total;
    while (p < end) {
        const char tag = *p++;
        switch (tag) {
        case isc_spb_sec_username:
        case isc_spb_sec_firstname:
        case isc_spb_sec_middlename:
        case isc_spb_sec_lastname: {
            const int length = int(isc_vax_integer(p, 2));
            p += 2;
            if (tag == isc_spb_sec_username)
                users << varnex::fromWin1251(QByteArray(p, length));
            p += length;
            break;
        }
        default:
            p += 4; // user and group ids, the admin flag
            break;
        }
    }
    return users;
}

void Services::addUser(const QString &name, const QString &password)
{
    QByteArray request;
    request.append(char(isc_action_svc_add_user));
    addText(request, isc_spb_sec_username, varnex::toWin1251(name));
    addText(request, isc_spb_sec_password, varnex::toWin1251(password));
    start(request);
    followOutput({});
}

void Services::backup(const QString &database, const QString &backupFile, const Progress &progress)
{
    QByteArray request;
    request.append(char(isc_action_svc_backup));
    addText(request, isc_spb_dbname, QFile::encodeName(database));
    addText(request, isc_spb_bkp_file, QFile::encodeName(backupFile));
    request.append(char(isc_spb_verbose));
    start(request);
    requireCompletion(followOutput(progress), "closing file, committing, and finishing");
}

void Services::restore(const QString &backupFile, const QString &database, bool replace, const Progress &progress)
{
    QByteArray request;
    request.append(char(isc_action_svc_restore));
    addText(request, isc_spb_bkp_file, QFile::encodeName(backupFile));
    addText(request, isc_spb_dbname, QFile::encodeName(database));
    addNumber(request, isc_spb_options, replace ? isc_spb_res_replace : isc_spb_res_create);
    request.append(char(isc_spb_verbose));
    start(request);
    requireCompletion(followOutput(progress), "finishing, closing, and going home");
}

void Services::shutDown(const QString &database)
{
    QByteArray request;
    request.append(char(isc_action_svc_properties));
    addText(request, isc_spb_dbname, QFile::encodeName(database));
    request.append(char(isc_spb_prp_shutdown_mode));
    request.append(char(isc_spb_prp_sm_full));
    // Refused while anyone is attached, so nobody is dropped halfway through a document.
    addNumber(request, isc_spb_prp_attachments_shutdown, 0);
    start(request);
    followOutput({});
}

void Services::bringOnline(const QString &database)
{
    QByteArray request;
    request.append(char(isc_action_svc_properties));
    addText(request, isc_spb_dbname, QFile::encodeName(database));
    request.append(char(isc_spb_prp_online_mode));
    request.append(char(isc_spb_prp_sm_normal));
    start(request);
    followOutput({});
}

// A backup or restore that fails reports it only in its text ("ERROR: ..."),
// and one that was cut short simply stops: only its closing line tells that
// the work was done.
void Services::requireCompletion(const QStringList &lines, const char *closingLine)
{
    QStringList errors;
    for (const QString &line : lines) {
        if (line.contains(QLatin1String("ERROR:")))
            errors << line.trimmed();
    }
    if (!errors.isEmpty())
        throw varnex::Error(errors.join(QLatin1Char('\n')), m_service);
    for (const QString &line : lines) {
        if (line.contains(QLatin1String(closingLine)))
            return;
    }
    throw varnex::Error(lines.isEmpty() ? m_service : lines.last().trimmed(), m_service);
}

// Reads the service's report line by line until it has finished; a failure
// of the service itself comes back as the status of the last read.
QStringList Services::followOutput(const Progress &progress)
{
    QStringList lines;
    const char items[] = {isc_info_svc_line};
    char buffer[4096];
    for (;;) {
        Status status;
        isc_service_query(&status, &m_handle, nullptr, 0, nullptr, sizeof items, items, sizeof buffer, buffer);
        status.check(m_service);
        if (buffer[0] != isc_info_svc_line)
            return lines;
        const int length = int(isc_vax_integer(buffer + 1, 2));
        if (length == 0)
            return lines;
        lines << varnex::fromWin1251(QByteArray(buffer + 3, length));
        if (progress)
            progress(lines.last());
    }
}

} // namespace db
