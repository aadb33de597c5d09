#include "invoicing/A4Pdf.h"

#include "util/Error.h"

#include <QFile>
#include <QPdfWriter>

namespace invoicing {

void writeA4Pdf(const QString &path, const QString &title, const QString &creator,
                const std::function<void(QPagedPaintDevice &)> &render)
{
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly))
            throw varnex::Error(QStringLiteral("Файлът „%1“ не може да бъде записан.").arg(path), probe.errorString());
    }
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(300);
    writer.setTitle(title);
    if (!creator.isEmpty())
        writer.setCreator(creator);
    render(writer);
}

} // namespace invoicing
