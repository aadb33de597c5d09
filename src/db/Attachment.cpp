#include "db/Attachment.h"

#include "db/FbClient.h"
#include "util/Win1251.h"

#include <QFile>

namespace db {

namespace {

void addDpbText(QByteArray &dpb, char item, const QByteArray &value)
{
    dpb.append(item);
    dpb.append(char(value.size()));
    dpb.append(value);
}

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

} // namespace

Attachment::Attachment() = default;

Attachment::~Attachment()
{
    abandon();
}

void Attachment::attach(const QString &database, const QString &user, const QString &password, int pageBuffers)
{
    detach();
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    addDpbText(dpb, isc_dpb_user_name, varnex::toWin1251(user));
    addDpbText(dpb, isc_dpb_password, varnex::toWin1251(password));
    addDpbText(dpb, isc_dpb_lc_ctype, QByteArrayLiteral("WIN1251"));
    dpb.append(char(isc_dpb_sql_dialect));
    dpb.append(char(1));
    dpb.append(char(3));
    if (pageBuffers > 0) {
        dpb.append(char(isc_dpb_set_page_buffers));
        dpb.append(char(4));
        for (int shift = 0; shift < 32; shift += 8)
            dpb.append(char((quint32(pageBuffers) >> shift) & 0xFF));
    }

    const QByteArray name = QFile::encodeName(database);
    Status status;
    isc_attach_database(&status, short(name.size()), name.constData(), &m_handle, short(dpb.size()),
                        dpb.constData());
    if (status.failed()) {
        m_handle = 0;
        status.check(database);
    }
    m_database = database;
}

void Attachment::detach()
{
    if (!isAttached())
        return;
    Status status;
    isc_detach_database(&status, &m_handle);
    m_handle = 0;
    status.check(m_database);
}

void Attachment::abandon()
{
    if (!isAttached())
        return;
    Status status;
    isc_detach_database(&status, &m_handle);
    m_handle = 0;
}

void Attachment::createDatabase(const QString &database, const QString &user, const QString &password)
{
    const QString sql = QStringLiteral("CREATE DATABASE %1 USER %2 PASSWORD %3 PAGE_SIZE 8192 "
                                       "DEFAULT CHARACTER SET WIN1251")
                            .arg(quoted(database), quoted(user), quoted(password));
    const QByteArray text = QFile::encodeName(sql);
    Handle handle = 0;
    Handle transaction = 0;
    Status status;
    isc_dsql_execute_immediate(&status, &handle, &transaction, 0, text.constData(), 3, nullptr);
    status.check(QStringLiteral("CREATE DATABASE ") + database);
    Status detachStatus;
    isc_detach_database(&detachStatus, &handle);
    detachStatus.check(database);
}

} // namespace db
