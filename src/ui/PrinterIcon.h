#pragma once

#include <QIcon>

// A printer for the print commands; the style's own icons have none, and
// its floppy disk reads as "Save". The corner pixels stay transparent, so
// the grey twin of the toolbars can be made from it.
QIcon printerIcon();
