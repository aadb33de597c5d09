#include "ui/TNotifyPopup.h"

#include <QEvent>
#include <QPainter>
#include <QToolTip>

namespace {
const int kImageSize = 16;
}

TNotifyPopup::TNotifyPopup(QWidget *owner)
    : QWidget(owner)
    , m_background(QToolTip::palette().color(QPalette::ToolTipBase))
    , m_textColor(QToolTip::palette().color(QPalette::ToolTipText))
{
    resize(200, 10);
    hide();
    m_slide.setInterval(100);
    connect(&m_slide, &QTimer::timeout, this, &TNotifyPopup::slideStep);
    m_display.setSingleShot(true);
    connect(&m_display, &QTimer::timeout, this, [this] {
        hide();
        QTimer::singleShot(50, this, &QObject::deleteLater);
    });
    owner->installEventFilter(this);
}

QRect TNotifyPopup::textRect() const
{
    const int imageRoom = m_image.isNull() ? 0 : kImageSize + m_innerMargin;
    return rect().adjusted(m_innerMargin + imageRoom, m_innerMargin, -m_innerMargin, -m_innerMargin);
}

void TNotifyPopup::showPopup()
{
    const QFontMetrics metrics(font());
    const int imageRoom = m_image.isNull() ? 0 : kImageSize + m_innerMargin;
    const int room = qMax(0, parentWidget()->width() - m_rightMargin - imageRoom - 2 * m_innerMargin);
    const int textWidth = qMin(metrics.horizontalAdvance(m_text), room);
    const int contentHeight = qMax(metrics.height(), m_image.isNull() ? 0 : kImageSize);
    resize(textWidth + imageRoom + 2 * m_innerMargin, contentHeight + 2 * m_innerMargin);
    align();
    move(x(), m_targetTop + height() + m_bottomMargin);
    show();
    raise();
    m_slide.start();
}

void TNotifyPopup::align()
{
    const QWidget *owner = parentWidget();
    m_targetTop = owner->height() - height() - m_bottomMargin;
    move(owner->width() - width() - m_rightMargin, y());
}

void TNotifyPopup::slideStep()
{
    const int top = y() - m_step;
    if (top <= m_targetTop) {
        move(x(), m_targetTop);
        m_slide.stop();
        if (m_displayTime > 0)
            m_display.start(m_displayTime);
        return;
    }
    move(x(), top);
}

QString TNotifyPopup::shownText() const
{
    return QFontMetrics(font()).elidedText(m_text, Qt::ElideRight, textRect().width());
}

void TNotifyPopup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(m_frame);
    painter.setBrush(m_background);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!m_image.isNull()) {
        const QRect imageRect(m_innerMargin, (height() - kImageSize) / 2, kImageSize, kImageSize);
        m_image.paint(&painter, imageRect);
    }
    painter.setPen(m_textColor);
    painter.drawText(textRect(), Qt::AlignVCenter | Qt::AlignLeft, shownText());
}

void TNotifyPopup::mousePressEvent(QMouseEvent *)
{
    hide();
    deleteLater();
}

bool TNotifyPopup::eventFilter(QObject *watched, QEvent *event)
{
    // Stays in the window's corner when the window changes size.
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        const bool resting = !m_slide.isActive();
        align();
        if (resting)
            move(x(), m_targetTop);
    }
    return QWidget::eventFilter(watched, event);
}
