#pragma once

#include <QString>

#include <functional>

class QWidget;

// Runs a user command; an error it raises is shown — a refused field in
// the message dialog with the focus moved to that field's editor inside
// `window`, anything else in the error box — and the command is abandoned.
// Returns whether the command ran to its end.
bool runGuarded(QWidget *window, const std::function<void()> &command);

// The editor bound to a dataset field inside a window (see DBControls).
QWidget *editorForField(QWidget *window, const QString &field);
