#include "support/TempDir.h"

#include <QFile>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir()
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary directory");
}

QString TempDir::path(const QString &name) const
{
    return m_dir.filePath(name);
}

void TempDir::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write a test file");
}

QByteArray TempDir::readFile(const QString &name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace testing_support
