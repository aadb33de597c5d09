#pragma once

namespace admin {

struct Invocation;

// "settings get|get-int|get-bool|set|set-int|dump": reads and writes the
// workstation's settings file the way the program does.
void runSettingsCommand(Invocation &invocation);

} // namespace admin
