#include "ui/DateField.h"

#include "ui/DateKeys.h"

#include <QKeyEvent>
#include <QRegularExpression>

namespace {
const QString kFormat = QStringLiteral("dd.MM.yyyy");
}

DateField::DateField(QWidget *parent)
    : QLineEdit(parent)
{
    setInputMask(QStringLiteral("99.99.9999;_"));
    setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 12);
}

bool DateField::isBlank() const
{
    return !text().contains(QRegularExpression(QStringLiteral("\\d")));
}

QDate DateField::date() const
{
    return QDate::fromString(text(), kFormat);
}

void DateField::setDate(const QDate &date)
{
    setText(date.isValid() ? date.toString(kFormat) : QString());
}

void DateField::keyPressEvent(QKeyEvent *event)
{
    const QDate current = date();
    if (current.isValid() && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        const QDate moved = DateKeys::moved(current, event->key());
        if (moved.isValid()) {
            setDate(moved);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}
