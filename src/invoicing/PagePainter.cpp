#include "invoicing/PagePainter.h"

#include "util/Error.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QTextLayout>
#include <QtMath>

#include <cmath>

namespace {

constexpr double kShrinkStep = 0.93;
constexpr double kSmallestPoints = 2.5;

} // namespace

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

PagePainter::Fitted PagePainter::fit(const QString &text, const QFont &font, const QSizeF &size) const
{
    // Line breaks typed into a value still break the line.
    const QString laidOut = QString(text).replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Fitted fitted{font, {}, 0};
    for (;;) {
        QTextLayout layout(laidOut, fitted.font, m_painter.device());
        layout.setTextOption(option);
        fitted.lines.clear();
        double widest = 0;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(size.width());
            fitted.lines << laidOut.mid(line.textStart(), line.textLength()).trimmed();
            widest = qMax(widest, line.naturalTextWidth());
        }
        layout.endLayout();
        fitted.lineHeight = QFontMetricsF(fitted.font, m_painter.device()).height();
        const bool fits = widest <= size.width() + 0.5 && fitted.lines.size() * fitted.lineHeight <= size.height() + 0.5;
        // Below the smallest size a text runs over its box rather than lose
        // a word.
        if (fits || fitted.font.pointSizeF() * kShrinkStep < kSmallestPoints)
            return fitted;
        fitted.font.setPointSizeF(fitted.font.pointSizeF() * kShrinkStep);
    }
}

QRectF PagePainter::text(const QRectF &box, const QString &text, const QFont &font, int align)
{
    if (text.isEmpty())
        return QRectF(box.left(), box.top(), box.width(), 0);
    const QRectF target = toDevice(box);
    const Fitted fitted = fit(text, font, target.size());
    const double height = fitted.lines.size() * fitted.lineHeight;
    double top = target.top();
    if (align & Qt::AlignVCenter)
        top += (target.height() - height) / 2;
    else if (align & Qt::AlignBottom)
        top += target.height() - height;
    m_painter.setFont(fitted.font);
    const int flags = (align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip;
    for (int i = 0; i < fitted.lines.size(); ++i)
        m_painter.drawText(QRectF(target.left(), top + i * fitted.lineHeight, target.width(), fitted.lineHeight), flags,
                           fitted.lines.at(i));
    return QRectF(box.left(), top / m_scale, box.width(), height / m_scale);
}

void PagePainter::diagonal(const QRectF &box, const QString &text, const QFont &font, const QColor &color)
{
    const QRectF target = toDevice(box);
    const double length = std::hypot(target.width(), target.height());
    QFont sized(font);
    sized.setPointSizeF(font.pointSizeF() * 0.75 * length / QFontMetricsF(font, m_painter.device()).horizontalAdvance(text));
    m_painter.save();
    m_painter.translate(target.center());
    m_painter.rotate(-qRadiansToDegrees(std::atan2(target.height(), target.width())));
    m_painter.setFont(sized);
    m_painter.setPen(color);
    m_painter.drawText(QRectF(-length / 2, -target.height() / 2, length, target.height()),
                       Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, text);
    m_painter.restore();
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
