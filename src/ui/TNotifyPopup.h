#pragma once

#include <QColor>
#include <QIcon>
#include <QTimer>
#include <QWidget>

// A short notice that slides up into the bottom-right corner of its
// window, stays for a while and goes; a click dismisses it at once.
class TNotifyPopup : public QWidget
{
    Q_OBJECT

public:
    explicit TNotifyPopup(QWidget *owner);

    void setText(const QString &text) { m_text = text; }
    const QString &text() const { return m_text; }
    void setImage(const QIcon &image) { m_image = image; }
    void setDisplayTime(int milliseconds) { m_displayTime = milliseconds; }
    int displayTime() const { return m_displayTime; }
    void setBackground(const QColor &color) { m_background = color; }
    const QColor &background() const { return m_background; }

    // Sizes itself to its text and starts sliding in from below the window.
    void showPopup();
    int targetTop() const { return m_targetTop; }
    bool isSliding() const { return m_slide.isActive(); }
    // The text as painted: cut with an ellipsis when it does not fit.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void align();
    void slideStep();
    QRect textRect() const;

    QString m_text;
    QIcon m_image;
    int m_displayTime = 15000;
    int m_innerMargin = 4;
    QColor m_background;
    QColor m_textColor;
    QColor m_frame{96, 96, 96};
    int m_rightMargin = 3;
    int m_bottomMargin = 3;
    int m_targetTop = 0;
    int m_step = 10;
    QTimer m_slide;
    QTimer m_display;
};
