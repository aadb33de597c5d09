#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QStringList>

class QPagedPaintDevice;

// A painter that places everything in millimetres from the sheet's top
// left corner, whatever the device's resolution and printable margins.
class PagePainter
{
public:
    explicit PagePainter(QPagedPaintDevice &device);

    bool newPage();

    QFont font(double points, bool bold = false, bool italic = false) const;
    // Text in a box, always whole: on one line when it fits, else wrapped
    // (at spaces, inside a word only when the word alone is wider than the
    // box) and shrunk step by step until all its lines fit. Returns the part
    // of the box the lines take, so a rule can go under the last one.
    QRectF text(const QRectF &box, const QString &text, const QFont &font, int align = Qt::AlignLeft | Qt::AlignVCenter);
    // A word across the box from its lower left to its upper right corner,
    // drawn over what is already there.
    void diagonal(const QRectF &box, const QString &text, const QFont &font, const QColor &color);
    // The width the text takes in the font, in millimetres.
    double width(const QString &text, const QFont &font);
    void line(double x1, double y1, double x2, double y2, double widthMm = 0.2, Qt::PenStyle style = Qt::SolidLine);
    void frame(const QRectF &box, double widthMm = 0.25);
    void fill(const QRectF &box, const QColor &color);
    // A square check box, crossed when marked.
    void checkBox(double x, double y, double size, bool marked);
    // "label value": the value after the label, underlined to the box's end.
    void field(const QRectF &box, const QString &label, const QString &value, const QFont &labelFont,
               const QFont &valueFont);

private:
    struct Fitted
    {
        QFont font;
        QStringList lines;
        double lineHeight;
    };
    Fitted fit(const QString &text, const QFont &font, const QSizeF &size) const;
    QRectF toDevice(const QRectF &box) const;
    double mm(double value) const { return value * m_scale; }

    QPainter m_painter;
    QPagedPaintDevice &m_device;
    double m_scale;
};
