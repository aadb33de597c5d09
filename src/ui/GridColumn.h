#pragma once

#include <QString>

// A column of a data grid as the window designs it.
struct GridColumn
{
    QString field;
    QString title;
    int width = 100;
    bool visible = true;
};
