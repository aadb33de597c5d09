#pragma once

#include "core/DatabaseInstaller.h"
#include "data/SchemaUpgrade.h"
#include "support/TempDir.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace testing_support {

// Tests of several workstations need the Firebird server that scripts/test
// starts on 127.0.0.1; without it they are reported as skipped, with the
// reason.
inline QString realServerHost()
{
    return qEnvironmentVariable("VARNEX_FIREBIRD_SERVER");
}

#define REQUIRE_REAL_SERVER()                                                                                          \
    if (testing_support::realServerHost().isEmpty())                                                                   \
    GTEST_SKIP() << "no Firebird server: "                                                                             \
                 << qEnvironmentVariable("VARNEX_FIREBIRD_SERVER_SKIP",                                                \
                                         QStringLiteral("VARNEX_FIREBIRD_SERVER is not set"))                          \
                        .toStdString()

// A current database made by the install script in a directory the server's
// own user can write, named as the workstations name it ("host:path").
class ServedDatabase
{
public:
    ServedDatabase()
    {
        QFile::setPermissions(m_dir.path(QString()), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                         | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther
                                                         | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup);
        m_name = realServerHost() + QLatin1Char(':') + m_dir.path(QStringLiteral("shop.fdb"));
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
    TempDir m_dir;
    QString m_name;
};

} // namespace testing_support
