#include "invoicing/PagePainter.h"

#include "util/Error.h"

#include <QPagedPaintDevice>

PagePainter::PagePainter(QPagedPaintDevice &device)
    : m_device(device)
{
    if (!m_painter.begin(&device))
        throw varnex::Error(QStringLiteral("Документът не може да бъде подготвен за печат."));
    m_scale = device.logicalDpiX() / 25.4;
    // The painter's origin is the corner of the printable area; the layouts
    // measure from the sheet's corner.
    const QRectF printable = device.pageLayout().paintRect(QPageLayout::Millimeter);
    m_painter.translate(-mm(printable.left()), -mm(printable.top()));
    m_painter.setRenderHint(QPainter::Antialiasing);
}

bool PagePainter::newPage()
{
    return m_device.newPage();
}

QFont PagePainter::font(double points, bool bold, bool italic) const
{
    QFont chosen(QStringLiteral("Arial"));
    chosen.setPointSizeF(points);
    chosen.setBold(bold);
    chosen.setItalic(italic);
    return chosen;
}

QRectF PagePainter::toDevice(const QRectF &box) const
{
    return QRectF(mm(box.left()), mm(box.top()), mm(box.width()), mm(box.height()));
}

double PagePainter::width(const QString &text, const QFont &font)
{
    m_painter.setFont(font);
    return m_painter.fontMetrics().horizontalAdvance(text) / m_scale;
}

void PagePainter::text(const QRectF &box, const QString &text, const QFont &font, int align, bool wrap)
{
    if (text.isEmpty())
        return;
    const QRectF target = toDevice(box);
    const int flags = align | (wrap ? Qt::TextWordWrap : 0);
    QFont fitted(font);
    for (int step = 0; step < 6; ++step) {
        m_painter.setFont(fitted);
        const QRectF needed = m_painter.boundingRect(QRectF(0, 0, target.width(), 1e7), flags, text);
        if ((wrap || needed.width() <= target.width() + 0.5) && needed.height() <= target.height() + 0.5)
            break;
        fitted.setPointSizeF(fitted.pointSizeF() * 0.93);
    }
    m_painter.setFont(fitted);
    m_painter.drawText(target, flags, text);
}

void PagePainter::line(double x1, double y1, double x2, double y2, double widthMm, Qt::PenStyle style)
{
    m_painter.setPen(QPen(Qt::black, mm(widthMm), style));
    m_painter.drawLine(QPointF(mm(x1), mm(y1)), QPointF(mm(x2), mm(y2)));
}

void PagePainter::frame(const QRectF &box, double widthMm)
{
    m_painter.setPen(QPen(Qt::black, mm(widthMm)));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(toDevice(box));
}

void PagePainter::fill(const QRectF &box, const QColor &color)
{
    m_painter.fillRect(toDevice(box), color);
}

void PagePainter::checkBox(double x, double y, double size, bool marked)
{
    const QRectF box(x, y, size, size);
    frame(box, 0.25);
    if (marked) {
        const double inset = size * 0.2;
        line(x + inset, y + inset, x + size - inset, y + size - inset, 0.35);
        line(x + inset, y + size - inset, x + size - inset, y + inset, 0.35);
    }
}

void PagePainter::field(const QRectF &box, const QString &label, const QString &value, const QFont &labelFont,
                        const QFont &valueFont)
{
    const double labelWidth = label.isEmpty() ? 0 : width(label, labelFont) + 1.2;
    text(QRectF(box.left(), box.top(), labelWidth, box.height()), label, labelFont);
    const QRectF valueBox(box.left() + labelWidth, box.top(), box.width() - labelWidth, box.height());
    line(valueBox.left(), box.bottom() - 0.3, box.right(), box.bottom() - 0.3, 0.12, Qt::DotLine);
    text(valueBox, value, valueFont);
}
