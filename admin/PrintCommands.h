#pragma once

#include <QString>

namespace admin {

struct Invocation;

bool isPrintCommand(const QString &command);
// The commands that draw on a page and so need a graphical application,
// though not a display.
bool needsGraphics(const QStringList &arguments);

// "print-invoice" and "print-receipt": the printed document of a stored
// invoice or delivery/sale written to a PDF file.
void runPrintCommand(const QString &command, Invocation &invocation);

} // namespace admin
