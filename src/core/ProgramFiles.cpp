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
    return QDir::current().absoluteFilePath(QStringLiteral("Varnex"));
}

QString programDirectory()
{
    return QFileInfo(programPath()).absolutePath() + QLatin1Char('/');
}

} // namespace varnex
