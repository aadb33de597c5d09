#pragma once

// The five plain functions a report module exports. The program and any module
// built for it agree on nothing else: the module is found by its file name
// (ReportModuleFileName, the platform adds "lib" and ".so"), first beside the
// program, then in the library folder of an installation (<prefix>/lib/<multiarch triplet>/varnex).
//
// Text crosses this boundary as Windows-1251 bytes, like every other edge of
// the program:
// - GetReportNames fills a buffer of ReportNamesBufferSize bytes with a
//   zero-terminated text, one "report name=group name" line per report,
//   lines separated by CR LF; a report's index is its line's position from 0.
// - InitReports receives two short strings (a length byte followed by at most
//   255 bytes): the database name as the program's connection uses it
//   ("host:path" or the path alone) and the connection's parameters as
//   name=value lines separated by CR LF, in this order:
//   "user_name=<user>", "password=<password>", "lc_ctype=WIN1251".
// - The module stays loaded while the reports window is open; FreeReports is
//   its last call, and objects it then leaves to deleteLater are deleted
//   before it is unloaded.

#include <cstdint>

extern "C" {
using GetReportNamesFunction = void (*)(char *buffer);
using InitReportsFunction = void (*)(const unsigned char *databaseName,
                                     const unsigned char *parameters);
using PreviewReportFunction = void (*)(std::int32_t index);
using ShowSettingsFunction = void (*)();
using FreeReportsFunction = void (*)();
}

namespace reports {

inline constexpr const char *ReportModuleFileName = "varnex-reports";
inline constexpr int ReportNamesBufferSize = 5000;
inline constexpr int ShortStringCapacity = 255;

inline constexpr const char *GetReportNamesExport = "GetReportNames";
inline constexpr const char *InitReportsExport = "InitReports";
inline constexpr const char *PreviewReportExport = "PreviewReport";
inline constexpr const char *ShowSettingsExport = "ShowSettings";
inline constexpr const char *FreeReportsExport = "FreeReports";

} // namespace reports
