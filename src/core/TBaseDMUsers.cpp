// Users, passwords and access rights of the data module.

#include "core/MessageSink.h"
#include "core/TBaseDM.h"
#include "util/Error.h"

#include <QTimer>

#include <functional>

namespace {

const int kZoneSeconds = 600;
const int kAttempts = 3;

QString withoutQuotes(QString text)
{
    return text.remove(QLatin1Char('\''));
}

// One attempt at a password prompt. Text that cannot be what is stored (too
// long for its column, a character the database cannot hold) is a failed
// attempt with its reason shown, not the end of the program.
bool attemptSucceeds(MessageSink &messages, const std::function<bool()> &attempt)
{
    try {
        return attempt();
    } catch (const varnex::Error &error) {
        messages.errorMessage(error.message());
        return false;
    }
}

// What the change-password window gave: the new password already without
// its quotes, the repeated one as typed.
struct TypedPasswords
{
    QString old;
    QString fresh;
    QString repeat;
};

bool askPasswords(MessageSink &messages, bool oldEnabled, TypedPasswords *typed)
{
    if (!messages.askPasswordChange(oldEnabled, &typed->old, &typed->fresh, &typed->repeat))
        return false;
    typed->fresh = withoutQuotes(typed->fresh);
    return true;
}

} // namespace

QString TBaseDM::PasswordText(const QString &typed)
{
    return typed;
}

bool TBaseDM::Login()
{
    if (!loginRequired)
        return CheckRight(1);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        QString name;
        QString typed;
        if (!m_messages.askLogin(&name, &typed))
            continue;
        if (attemptSucceeds(m_messages, [&] { return CheckLogin(name, typed); }))
            return true;
    }
    return false;
}

bool TBaseDM::CheckLogin(const QString &userName, const QString &password)
{
    const QVariant id = QueryValue(
        QStringLiteral("select ID from USERS where USER_TYPE > 0 and LOGIN = :LOGIN and PASS = :PASS"), QString(),
        {{QStringLiteral("LOGIN"), withoutQuotes(userName)}, {QStringLiteral("PASS"), PasswordText(withoutQuotes(password))}});
    if (id.isNull())
        return false;
    currentUserId = id.toInt();
    LoadUserRecord(currentUserId);
    return true;
}

void TBaseDM::LoadUserRecord(int id)
{
    const QVariant name =
        QueryValue(QStringLiteral("select * from USERS where ID = :ID"), QStringLiteral("NAME"), {{QStringLiteral("ID"), id}});
    if (!name.isNull())
        currentUserName = name.toString();
}

void TBaseDM::ChangePassword()
{
    const QString readStored = QStringLiteral("select PASS from USERS where ID = :ID");
    const data::SqlParams user{{QStringLiteral("ID"), currentUserId}};
    const bool oldEnabled = QueryValue(readStored, QString(), user).toString() != PasswordText(QString());
    TypedPasswords typed;
    if (!askPasswords(m_messages, oldEnabled, &typed))
        return;
    const QString stored = QueryValue(readStored, QString(), user).toString();
    const QString oldStored = PasswordText(withoutQuotes(typed.old));
    const int administrators =
        QueryValue(QStringLiteral("select count(ID) from USERS where USER_TYPE = 1 and PASS = :PASS"), QString(),
                   {{QStringLiteral("PASS"), oldStored}})
            .toInt();
    if (typed.fresh != typed.repeat || (oldStored != stored && administrators == 0))
        throw varnex::Error(QStringLiteral("Паролата не е сменена!"));
    ExecSQL(QStringLiteral("update USERS set PASS = :PASS where ID = :ID"),
            {{QStringLiteral("PASS"), PasswordText(typed.fresh)}, {QStringLiteral("ID"), currentUserId}});
    m_messages.systemMessage(QStringLiteral("Паролата е успешно сменена."));
}

void TBaseDM::ChangeMaintenancePassword()
{
    TypedPasswords typed;
    if (!askPasswords(m_messages, true, &typed))
        return;
    const QString stored = QueryValue(QStringLiteral("select PASS from USERS where ID = -1")).toString();
    if (typed.fresh != typed.repeat || PasswordText(typed.old) != stored)
        throw varnex::Error(QStringLiteral("Паролата не е сменена!"));
    ExecSQL(QStringLiteral("update USERS set PASS = :PASS where ID = -1"),
            {{QStringLiteral("PASS"), PasswordText(typed.fresh)}});
    m_messages.systemMessage(QStringLiteral("Паролата е успешно сменена."));
}

void TBaseDM::ResetPassword()
{
    ExecSQL(QStringLiteral("update USERS set PASS = :PASS where ID = :ID"),
            {{QStringLiteral("PASS"), PasswordText(QStringLiteral("milvane"))}, {QStringLiteral("ID"), currentUserId}});
}

bool TBaseDM::IsAllowed(int userId, int itemId)
{
    return QueryValue(QStringLiteral("select IS_ALLOWED from USER_RIGHTS where USER_ID = :USER_ID and ITEM_ID = :ITEM_ID"),
                      QString(), {{QStringLiteral("USER_ID"), userId}, {QStringLiteral("ITEM_ID"), itemId}})
               .toString()
           == QLatin1String("1");
}

void TBaseDM::SetRight(int userId, int itemId, bool allowed)
{
    const data::SqlParams keys{{QStringLiteral("USER_ID"), userId}, {QStringLiteral("ITEM_ID"), itemId}};
    if (!allowed) {
        ExecSQL(QStringLiteral("delete from USER_RIGHTS where USER_ID = :USER_ID and ITEM_ID = :ITEM_ID"), keys);
        return;
    }
    if (HasRows(QStringLiteral("select USER_ID from USER_RIGHTS where USER_ID = :USER_ID and ITEM_ID = :ITEM_ID"), keys))
        ExecSQL(QStringLiteral("update USER_RIGHTS set IS_ALLOWED = 1 where USER_ID = :USER_ID and ITEM_ID = :ITEM_ID"),
                keys);
    else
        ExecSQL(QStringLiteral("insert into USER_RIGHTS values (:USER_ID, :ITEM_ID, 1)"), keys);
}

std::vector<std::pair<QString, int>> TBaseDM::ListRightItems(int parentId)
{
    std::vector<std::pair<QString, int>> items;
    for (const QVariantList &row :
         QueryRows(QStringLiteral("select DESC_DISPLAY, ID from USER_RIGHT_ITEMS where PARENT_ID = :PARENT_ID ORDER BY ID"),
                   {{QStringLiteral("PARENT_ID"), parentId}}))
        items.emplace_back(row.at(0).toString(), row.at(1).toInt());
    return items;
}

bool TBaseDM::CheckRight(int itemId)
{
    const bool allowed = IsAllowed(currentUserId, itemId);
    if (loginRequired)
        return allowed;
    return !allowed || AskZonePassword();
}

bool TBaseDM::AskZonePassword()
{
    if (m_inZone)
        return true;
    const int emptyHolders =
        QueryValue(QStringLiteral("select count(ID) from USERS where USER_TYPE = 0 and PASS = :PASS"), QString(),
                   {{QStringLiteral("PASS"), PasswordText(QString())}})
            .toInt();
    if (emptyHolders == 1)
        return true;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        QString typed;
        if (!m_messages.askZonePassword(&typed))
            continue;
        if (attemptSucceeds(m_messages, [&] { return CheckZonePassword(typed); }))
            return true;
    }
    return false;
}

bool TBaseDM::CheckZonePassword(const QString &typed)
{
    if (!HasRows(QStringLiteral("select ID from USERS where USER_TYPE in (0,1) and PASS = :PASS"),
                 {{QStringLiteral("PASS"), PasswordText(withoutQuotes(typed))}}))
        return false;
    m_inZone = true;
    m_zoneTicks = 0;
    if (!m_zoneTimer) {
        m_zoneTimer = std::make_unique<QTimer>();
        m_zoneTimer->setInterval(1000);
        QObject::connect(m_zoneTimer.get(), &QTimer::timeout, [this] { ZoneTick(); });
    }
    m_zoneTimer->start();
    return true;
}

void TBaseDM::ZoneTick()
{
    if (++m_zoneTicks < kZoneSeconds)
        return;
    LeaveZone();
}

void TBaseDM::LeaveZone()
{
    m_inZone = false;
    if (m_zoneTimer)
        m_zoneTimer->stop();
}
