// A report module for the tests of the reports window: it offers the list
// read from the file named by VARNEX_TEST_REPORTS_NAMES and appends every call
// it gets, its loading and its unloading as lines to the file named by
// VARNEX_TEST_REPORTS_LOG. Built a second time without ShowSettings.

#include "reports/ReportModuleContract.h"

#include <QObject>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace {

void log(const char *text)
{
    const char *path = std::getenv("VARNEX_TEST_REPORTS_LOG");
    if (!path)
        return;
    if (FILE *file = std::fopen(path, "ab")) {
        std::fprintf(file, "%s\n", text);
        std::fclose(file);
    }
}

// A short string as hexadecimal bytes, its length byte first.
void appendShortString(char *line, const unsigned char *text)
{
    char *end = line + std::strlen(line);
    for (int i = 0; i <= text[0]; ++i)
        end += std::sprintf(end, "%02x", text[i]);
}

// Left for the event loop to delete, as a module's windows may be: its code
// must still be there when it goes.
class LeftForLater : public QObject
{
public:
    ~LeftForLater() override { log("deleted"); }
};

__attribute__((constructor)) void loaded()
{
    log("load");
}

__attribute__((destructor)) void unloaded()
{
    log("unload");
}

} // namespace

extern "C" {

void GetReportNames(char *buffer)
{
    log("GetReportNames");
    const char *path = std::getenv("VARNEX_TEST_REPORTS_NAMES");
    FILE *file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) {
        buffer[0] = '\0';
        return;
    }
    const std::size_t read = std::fread(buffer, 1, reports::ReportNamesBufferSize, file);
    std::fclose(file);
    if (read < std::size_t(reports::ReportNamesBufferSize))
        buffer[read] = '\0';
}

void InitReports(const unsigned char *databaseName, const unsigned char *parameters)
{
    char line[2 * 2 * 256 + 32] = "InitReports ";
    appendShortString(line, databaseName);
    std::strcat(line, " ");
    appendShortString(line, parameters);
    log(line);
}

void PreviewReport(std::int32_t index)
{
    char line[48];
    std::sprintf(line, "PreviewReport %d", int(index));
    log(line);
}

#ifndef VARNEX_TEST_WITHOUT_SETTINGS
void ShowSettings()
{
    log("ShowSettings");
}
#endif

void FreeReports()
{
    log("FreeReports");
    (new LeftForLater)->deleteLater();
}
}

static_assert(std::is_same_v<decltype(&GetReportNames), GetReportNamesFunction>);
static_assert(std::is_same_v<decltype(&InitReports), InitReportsFunction>);
static_assert(std::is_same_v<decltype(&PreviewReport), PreviewReportFunction>);
#ifndef VARNEX_TEST_WITHOUT_SETTINGS
static_assert(std::is_same_v<decltype(&ShowSettings), ShowSettingsFunction>);
#endif
static_assert(std::is_same_v<decltype(&FreeReports), FreeReportsFunction>);
