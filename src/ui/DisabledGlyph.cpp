#include "ui/DisabledGlyph.h"

#include <QPixmap>

QImage disabledGlyph(const QImage &image)
{
    QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QImage grey(source.size(), QImage::Format_ARGB32);
    grey.fill(Qt::transparent);
    if (source.isNull())
        return grey;
    const QRgb transparent = source.pixel(0, source.height() - 1);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = source.pixel(x, y);
            if (pixel == transparent || qAlpha(pixel) == 0)
                continue;
            const int g = ((qRed(pixel) * 32 + qGreen(pixel) * 40 + qBlue(pixel) * 28) / 300 + 127) / 3 + 84;
            grey.setPixel(x, y, qRgba(g, g, g, qAlpha(pixel)));
        }
    }
    return grey;
}

QIcon withDisabledGlyph(const QIcon &icon, const QSize &size)
{
    QIcon result;
    const QPixmap normal = icon.pixmap(size);
    result.addPixmap(normal, QIcon::Normal);
    result.addPixmap(QPixmap::fromImage(disabledGlyph(normal.toImage())), QIcon::Disabled);
    return result;
}
