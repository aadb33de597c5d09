#include "ui/PrinterIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap drawPrinter(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(side / 16.0, side / 16.0);
    painter.setPen(QColor(40, 40, 40));
    painter.setBrush(Qt::white);
    painter.drawRect(4, 1, 7, 5);                 // paper waiting at the top
    painter.setBrush(QColor(150, 150, 160));
    painter.drawRect(1, 5, 13, 6);                // the body
    painter.setBrush(Qt::white);
    painter.drawRect(4, 9, 7, 5);                 // the printed sheet
    painter.setPen(QColor(120, 120, 120));
    painter.drawLine(5, 11, 9, 11);
    painter.drawLine(5, 12, 8, 12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 170, 60));
    painter.drawRect(12, 6, 1, 1);                // the power lamp
    return pixmap;
}

} // namespace

QIcon printerIcon()
{
    QIcon icon;
    for (const int side : {16, 24, 32})
        icon.addPixmap(drawPrinter(side));
    return icon;
}
