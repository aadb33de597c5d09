#pragma once

#include <QString>

// A column of a data grid as the window designs it.
struct GridColumn
{
    QString field;
    QString title;
    int width = 100;
    bool visible = true;
    // Text that reads as a number (a percentage) lines up with the numbers.
    bool alignRight = false;
};
