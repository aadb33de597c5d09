#pragma once

#include <QString>

namespace varnex {
class Error;
}

#include <functional>

class QWidget;

// Runs a user command; an error it raises is shown — a refused field in
// the message dialog with the focus moved to that field's editor inside
// `window` (a refusal without a message only moves the focus), anything
// else in the error box — and the command is abandoned.
// Returns whether the command ran to its end.
bool runGuarded(QWidget *window, const std::function<void()> &command);
// The same, with the refused field's focus (or, for any other error, an
// empty field name) left to `focusRefused`.
bool runGuarded(const std::function<void()> &command, const std::function<void(const QString &)> &focusRefused);

// Shows an error in the error box: a database error the program explains
// with the server's own text on the lines under the sentence; the
// statement and the detail go to the log.
void ShowErrorOf(const varnex::Error &error);

// Moves the focus to a control, first bringing forward the pages of the
// window that hide it.
void focusShowingPage(QWidget *control);

// The editor bound to a dataset field inside a window (see DBControls).
QWidget *editorForField(QWidget *window, const QString &field);
