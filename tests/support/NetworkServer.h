#pragma once

#include "support/TempDir.h"

#include <QFile>
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

} // namespace testing_support
