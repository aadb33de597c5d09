#pragma once

#include <QString>

#include <functional>

class TSettings;

namespace admin {

struct Invocation;

// The settings file of the command line: --settings, else the program's own
// in the data folder, which must exist.
QString settingsFilePath(const Invocation &invocation);
// Changes are made under the file's change lock, so two tools never save over
// each other, and only to a file the tool could read whole and may write.
void changeSettings(const QString &path, const std::function<void(TSettings &)> &change);

// "settings get|get-int|get-bool|set|set-int|dump": reads and writes the
// workstation's settings file the way the program does.
void runSettingsCommand(Invocation &invocation);

} // namespace admin
