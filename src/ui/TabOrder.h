#pragma once

class QWidget;

// Chains Tab through the window's fields in the order its layouts place
// them: a form's rows in turn, a grid's cells by row then column, a box's
// items in its direction, a tab widget's bar before its pages. A window whose
// fields are made out of that order (a base class's buttons before a derived
// class's fields) calls it at the end of its constructor.
void chainTabOrderByLayout(QWidget *window);
