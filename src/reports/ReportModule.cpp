#include "reports/ReportModule.h"

#include "core/ProgramFiles.h"
#include "util/Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace reports {

namespace {

const char *const kNoModule = "Не е намерен модул за справки!";

QStringList &installedFolders()
{
    static QStringList folders;
    return folders;
}

template<class Function>
void resolve(QLibrary &library, const char *name, Function &function, QStringList &missing)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    if (!function)
        missing << QString::fromLatin1(name);
}

} // namespace

ReportModule::ReportModule(const QStringList &folders)
{
    QStringList tried;
    for (const QString &folder : folders) {
        auto library = std::make_unique<QLibrary>(QDir(folder).filePath(QString::fromLatin1(ReportModuleFileName)));
        if (!library->load()) {
            tried << library->errorString();
            continue;
        }
        QStringList missing;
        resolve(*library, GetReportNamesExport, m_getReportNames, missing);
        resolve(*library, InitReportsExport, m_initReports, missing);
        resolve(*library, PreviewReportExport, m_previewReport, missing);
        resolve(*library, ShowSettingsExport, m_showSettings, missing);
        resolve(*library, FreeReportsExport, m_freeReports, missing);
        if (missing.isEmpty()) {
            m_library = std::move(library);
            return;
        }
        // Nothing of it has run yet, so it goes without FreeReports.
        tried << library->fileName() + QStringLiteral(": no ") + missing.join(QStringLiteral(", "));
        library->unload();
    }
    throw varnex::Error(QString::fromUtf8(kNoModule), tried.join(QLatin1Char('\n')));
}

ReportModule::~ReportModule()
{
    m_freeReports();
    // Objects the module let go of with deleteLater have their code in the
    // module: they must be gone before it is unloaded.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_library->unload();
}

QStringList ReportModule::defaultFolders()
{
    const QString program = varnex::programDirectory();
    return {QDir::cleanPath(program), QDir::cleanPath(program + QStringLiteral("../" VARNEX_REPORT_MODULE_DIR))};
}

QString ReportModule::fileName() const
{
    return m_library->fileName();
}

QByteArray ReportModule::reportNames()
{
    // One byte more than the module may fill stays zero, so the text ends
    // inside the buffer even when the module filled all of it.
    QByteArray buffer(ReportNamesBufferSize + 1, '\0');
    m_getReportNames(buffer.data());
    return buffer.left(ReportNamesBufferSize);
}

void ReportModule::initReports(const QByteArray &databaseName, const QByteArray &parameters)
{
    m_initReports(reinterpret_cast<const unsigned char *>(databaseName.constData()),
                  reinterpret_cast<const unsigned char *>(parameters.constData()));
}

void ReportModule::previewReport(int index)
{
    m_previewReport(index);
}

void ReportModule::showSettings()
{
    m_showSettings();
}

QStringList moduleFolders()
{
    return installedFolders().isEmpty() ? ReportModule::defaultFolders() : installedFolders();
}

void SetModuleFolders(const QStringList &folders)
{
    installedFolders() = folders;
}

} // namespace reports
