#pragma once

#include "reports/ReportModuleContract.h"

#include <QByteArray>
#include <QStringList>

#include <memory>

class QLibrary;

namespace reports {

// A report module loaded with its five functions. The object frees the
// module's reports and unloads it when it goes.
class ReportModule
{
public:
    // Loads the module from the first folder that holds one that loads and
    // offers all five functions. Otherwise throws varnex::Error
    // "Не е намерен модул за справки!", a module lacking a function counting
    // as no module; the detail names what each folder gave.
    explicit ReportModule(const QStringList &folders);
    ~ReportModule();

    ReportModule(const ReportModule &) = delete;
    ReportModule &operator=(const ReportModule &) = delete;

    // Beside the program, then the library folder of an installed program.
    static QStringList defaultFolders();

    // The file the module was loaded from.
    QString fileName() const;

    // The buffer the module filled with its list.
    QByteArray reportNames();
    void initReports(const QByteArray &databaseName, const QByteArray &parameters);
    void previewReport(int index);
    void showSettings();

private:
    std::unique_ptr<QLibrary> m_library;
    GetReportNamesFunction m_getReportNames = nullptr;
    InitReportsFunction m_initReports = nullptr;
    PreviewReportFunction m_previewReport = nullptr;
    ShowSettingsFunction m_showSettings = nullptr;
    FreeReportsFunction m_freeReports = nullptr;
};

// The folders the reports window looks in: defaultFolders() unless another
// list was installed (tests bring modules of their own; an empty list puts
// the default back).
QStringList moduleFolders();
void SetModuleFolders(const QStringList &folders);

} // namespace reports
