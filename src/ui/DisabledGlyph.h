#pragma once

#include <QIcon>
#include <QImage>

// The grey twin of a button image: the colour of the bottom-left pixel is
// transparent; every other pixel becomes g, g, g with
// g = ((R*32 + G*40 + B*28) / 300 + 127) / 3 + 84.
QImage disabledGlyph(const QImage &image);

// The icon with its disabled look made that way.
QIcon withDisabledGlyph(const QIcon &icon, const QSize &size = QSize(16, 16));
