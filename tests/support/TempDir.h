#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

// A scratch directory removed at the end of the test.
class TempDir
{
public:
    TempDir();
    QString path(const QString &name) const;
    void writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;

private:
    QTemporaryDir m_dir;
};

} // namespace testing_support
