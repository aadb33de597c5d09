#include "core/DataFolder.h"

#include "core/DatabaseInstaller.h"
#include "core/ProgramFiles.h"
#include "core/TXMLSettings.h"
#include "data/SchemaUpgrade.h"
#include "util/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace varnex {

namespace {

QString withSeparator(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    return clean.endsWith(QLatin1Char('/')) ? clean : clean + QLatin1Char('/');
}

QString &optionFolder()
{
    static QString folder;
    return folder;
}

bool sameFolder(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QString left = QFileInfo(a).canonicalFilePath();
    const QString right = QFileInfo(b).canonicalFilePath();
    return !left.isEmpty() && left == right;
}

// access() asks as the file system will answer a write: permissions, the
// user's groups and a read-only mount alike.
bool writable(const QString &folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

const char *const kEngineConf = "firebird.conf";

} // namespace

DataFolderPlace chooseDataFolder(const DataFolderInputs &inputs)
{
    if (!inputs.option.isEmpty())
        return {withSeparator(inputs.option), DataFolderSource::Option};
    if (!inputs.environment.isEmpty())
        return {withSeparator(inputs.environment), DataFolderSource::Environment};
    if (writable(inputs.programDirectory) && !sameFolder(inputs.programDirectory, inputs.installedProgramDirectory))
        return {withSeparator(inputs.programDirectory), DataFolderSource::ProgramFolder};
    // A relative XDG_DATA_HOME is invalid by the base directory rules and is
    // ignored, as every other program of the desktop ignores it.
    const QString dataHome = QDir::isAbsolutePath(inputs.xdgDataHome)
                                 ? inputs.xdgDataHome
                                 : QDir(inputs.homeDirectory).filePath(QStringLiteral(".local/share"));
    return {withSeparator(QDir(dataHome).filePath(QStringLiteral("varnex"))), DataFolderSource::UserFolder};
}

DataFolderInputs dataFolderInputs(const QString &programDirectory)
{
    return {programDirectory,
            optionFolder(),
            qEnvironmentVariable("VARNEX_HOME"),
            qEnvironmentVariable("XDG_DATA_HOME"),
            QDir::homePath(),
            QStringLiteral(VARNEX_INSTALLED_PROGRAM_DIR)};
}

DataFolderPlace dataFolder()
{
    return chooseDataFolder(dataFolderInputs(programDirectory()));
}

QString dataDirectory()
{
    return dataFolder().path;
}

QString dataFile(const QString &extension)
{
    const DataFolderPlace place = dataFolder();
    if (place.source == DataFolderSource::ProgramFolder)
        return programFileWithExtension(programPath(), extension);
    return place.path + QLatin1String("Varnex") + extension;
}

void setDataFolderOption(const QString &folder)
{
    optionFolder() = folder;
}

bool isNewDataFolder(const QString &folder)
{
    const QDir dir(folder);
    if (dir.exists(QLatin1String(kEngineConf)))
        return false;
    const QString settingsFile = dir.filePath(QStringLiteral("Varnex.xdb"));
    if (!QFileInfo::exists(settingsFile))
        return true;
    // Settings written before the first start (varnex-admin) do not make a
    // folder used; a database served from here, or a server, does.
    if (dir.exists(QStringLiteral("Varnex.fdb")))
        return false;
    TXMLSettings settings(settingsFile);
    settings.setSaveWhenFreed(false);
    settings.Open();
    return settings.loadError().isEmpty()
           && settings.ReadString(QStringLiteral("clientinfo\\network"), QStringLiteral("0")) != QLatin1String("1");
}

void furnishDataFolder(const QString &folder, const QString &sharedDirectory)
{
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        throw Error(QStringLiteral("Папката „%1“ не може да бъде създадена.").arg(QDir::toNativeSeparators(folder)));
    const QString database = dir.filePath(QStringLiteral("Varnex.fdb"));
    if (!QFile::exists(database))
        installDatabase(database, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"), data::kTargetSchemaVersion);
    const QString page = QDir(sharedDirectory).filePath(QStringLiteral("docs"));
    if (QFileInfo::exists(page) && !QFileInfo(dir.filePath(QStringLiteral("docs"))).exists())
        QFile::link(page, dir.filePath(QStringLiteral("docs")));
    QFile conf(dir.filePath(QLatin1String(kEngineConf)));
    if (!conf.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || conf.write("# Its presence beside Varnex selects the embedded database.\n") < 0 || !conf.flush())
        throw Error(QStringLiteral("Файлът „%1“ не може да бъде записан.").arg(conf.fileName()));
}

QString sharedDirectory()
{
    return QStringLiteral(VARNEX_SHARED_DIR);
}

} // namespace varnex
