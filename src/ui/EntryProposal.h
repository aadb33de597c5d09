#pragma once

#include <functional>

class QEvent;
class QWidget;

namespace db {
class Dataset;
}

// Whether a focus event is the user moving into a control (Tab, Backtab,
// the mouse, a shortcut, or the program sending the focus there), rather
// than the window coming back to the front or a popup closing.
bool isEntering(const QEvent *event);

// Whether a focus event is the user moving from a control to another one
// of the same window, in the same sense.
bool isLeaving(const QEvent *event);

// Runs `propose` whenever the user moves into `field`, unless the user has
// already typed into it on the current row of `rows`: a value the program
// offers (a number, a price, the amount paid) never replaces one the user
// gave, not even a typed 0.
void proposeOnEntry(QWidget *field, db::Dataset &rows, std::function<void()> propose);
