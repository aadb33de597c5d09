#include "reportdata/ReportSession.h"
#include "reportdata/Reports.h"
#include "reports/ReportModuleContract.h"
#include "reportview/ReportProgress.h"
#include "reportview/TfrmReportParams.h"
#include "reportview/TfrmReportPreview.h"
#include "reportview/TfrmReportSettings.h"
#include "ui/ErrorGuard.h"
#include "util/Error.h"
#include "util/Win1251.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QStringList>
#include <QWidget>

#include <cstring>
#include <memory>

#define VARNEX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// What the module holds between InitReports and FreeReports. The
// connection is opened by the first report, so opening the reports window
// costs nothing and a failure to connect is told when a report is asked for.
struct ModuleState
{
    reportdata::ConnectionData connection;
    std::unique_ptr<reportdata::ReportSession> session;
};

std::unique_ptr<ModuleState> &state()
{
    static std::unique_ptr<ModuleState> instance;
    return instance;
}

QString shortString(const unsigned char *text)
{
    if (!text)
        return QString();
    return varnex::fromWin1251(QByteArray(reinterpret_cast<const char *>(text + 1), text[0]));
}

QString settingsFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("varnex-reports.ini"));
}

QWidget *owner()
{
    return QApplication::activeWindow();
}

reportdata::ReportSession &session()
{
    ModuleState *module = state().get();
    if (!module)
        throw varnex::Error(QStringLiteral("Модулът за справки не е свързан с базата данни."));
    if (!module->session) {
        auto opened = std::make_unique<reportdata::ReportSession>();
        opened->open(module->connection.database, module->connection.user, module->connection.password);
        module->session = std::move(opened);
    }
    return *module->session;
}

void preview(int index)
{
    const std::vector<reportdata::ReportEntry> &catalogue = reportdata::reportCatalogue();
    if (index < 0 || index >= int(catalogue.size()))
        throw varnex::Error(QStringLiteral("Няма такава справка."));
    const reportdata::ReportEntry &entry = catalogue[size_t(index)];
    reportdata::ReportSession &reports = session();
    std::vector<reportdata::GoodsChoice> goods;
    if (entry.parameters == reportdata::ParameterKind::GoodsAndPeriod) {
        goods = reportdata::goodsChoices(reports);
        reports.finish();
    }
    TfrmReportParams choice(entry, goods, QDate::currentDate(), owner());
    if (choice.exec() != QDialog::Accepted)
        return;
    const reportdata::ReportParameters parameters = choice.parameters();
    const reportdata::ReportTable table = runWithProgress(owner(), entry.name, [&] {
        try {
            reportdata::ReportTable result = reportdata::runReport(reports, entry.kind, parameters);
            reports.finish();
            return result;
        } catch (...) {
            reports.finish();
            throw;
        }
    });
    TfrmReportPreview window(table, ReportSettings::load(settingsFile()).exportFolder, owner());
    window.exec();
}

} // namespace

VARNEX_EXPORT void GetReportNames(char *buffer)
{
    if (!buffer)
        return;
    QStringList lines;
    for (const reportdata::ReportEntry &entry : reportdata::reportCatalogue())
        lines << entry.name + QLatin1Char('=') + entry.group;
    const QByteArray text = varnex::toWin1251(lines.join(QStringLiteral("\r\n")))
                                .left(reports::ReportNamesBufferSize - 1);
    std::memcpy(buffer, text.constData(), size_t(text.size()));
    buffer[text.size()] = '\0';
}

VARNEX_EXPORT void InitReports(const unsigned char *databaseName, const unsigned char *parameters)
{
    auto module = std::make_unique<ModuleState>();
    module->connection = reportdata::parseConnectionData(shortString(databaseName), shortString(parameters));
    state() = std::move(module);
}

VARNEX_EXPORT void PreviewReport(std::int32_t index)
{
    // After a failure the connection may be gone (a server restarted, the
    // network down); the next report opens a new one.
    if (!runGuarded(owner(), [index] { preview(int(index)); }) && state())
        state()->session.reset();
}

VARNEX_EXPORT void ShowSettings()
{
    runGuarded(owner(), [] {
        const QString file = settingsFile();
        TfrmReportSettings window(ReportSettings::load(file), owner());
        if (window.exec() == QDialog::Accepted) {
            QDir().mkpath(QFileInfo(file).absolutePath());
            window.settings().save(file);
        }
    });
}

VARNEX_EXPORT void FreeReports()
{
    // Nothing of the module may outlive this call: the window unloads it next.
    try {
        state().reset();
    } catch (...) {
    }
}
