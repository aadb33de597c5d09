#pragma once

#include "core/DatabaseInstaller.h"
#include "data/SchemaUpgrade.h"
#include "support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

namespace testing_support {

// The network tests need the Firebird server that scripts/test starts on
// 127.0.0.1; without it they are reported as skipped, with the reason.
inline QString serverHost()
{
    return qEnvironmentVariable("VARNEX_FIREBIRD_SERVER");
}

#define REQUIRE_SERVER()                                                                                               \
    if (testing_support::serverHost().isEmpty())                                                                       \
    GTEST_SKIP() << "no Firebird server: "                                                                             \
                 << qEnvironmentVariable("VARNEX_FIREBIRD_SERVER_SKIP", QStringLiteral("VARNEX_FIREBIRD_SERVER is not set")) \
                        .toStdString()

// A directory the server's own user can create databases in.
class SharedDir
{
public:
    SharedDir()
    {
        QFile::setPermissions(m_dir.path(QString()), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                         | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther
                                                         | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup);
    }
    QString path(const QString &name) const { return m_dir.path(name); }
    // The same file as the server names it.
    QString onServer(const QString &name) const { return serverHost() + QLatin1Char(':') + path(name); }

private:
    TempDir m_dir;
};

// A current database made by the install script in a directory the server's
// own user can write, named as the workstations name it ("host:path").
class ServedDatabase
{
public:
    ServedDatabase()
        : m_name(m_dir.onServer(QStringLiteral("shop.fdb")))
    {
        installDatabase(m_name, user(), password(), data::kTargetSchemaVersion);
    }
    const QString &name() const { return m_name; }
    static QString user() { return QStringLiteral("SYSDBA"); }
    static QString password() { return QStringLiteral("pendrolix"); }

    // Ends every attachment from outside, as an administrator shutting the
    // database down does.
    void shutDown() const
    {
        QProcess gfix;
        gfix.start(QStringLiteral("gfix"), {QStringLiteral("-shut"), QStringLiteral("full"), QStringLiteral("-force"),
                                            QStringLiteral("0"), QStringLiteral("-user"), user(),
                                            QStringLiteral("-password"), password(), m_name});
        ASSERT_TRUE(gfix.waitForFinished(30000));
        ASSERT_EQ(gfix.exitCode(), 0) << gfix.readAllStandardError().toStdString();
    }

private:
    SharedDir m_dir;
    QString m_name;
};

} // namespace testing_support
