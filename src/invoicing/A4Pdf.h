#pragma once

#include <QString>

#include <functional>

class QPagedPaintDevice;

namespace invoicing {

// Writes what `render` paints to an A4 PDF file without margins, at the
// 300 dpi the forms are laid out for; a file that cannot be written is
// told before anything is painted (varnex::Error).
void writeA4Pdf(const QString &path, const QString &title, const QString &creator,
                const std::function<void(QPagedPaintDevice &)> &render);

} // namespace invoicing
