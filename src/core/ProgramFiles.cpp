#include "core/ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace varnex {

QString programFileWithExtension(const QString &programPath, const QString &extension)
{
    const QFileInfo program(programPath);
    const QString suffix = program.suffix();
    QString path = programPath;
    if (!suffix.isEmpty())
        path.chop(suffix.size() + 1);
    return path + extension;
}

QString programPath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    // The settings are read before the application object exists.
    const QString running = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return running.isEmpty() ? QDir::current().absoluteFilePath(QStringLiteral("Varnex")) : running;
}

QString programDirectory()
{
    return QFileInfo(programPath()).absolutePath() + QLatin1Char('/');
}

} // namespace varnex
