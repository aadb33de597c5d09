#include "ui/DateKeys.h"

#include <QDateEdit>
#include <QKeyEvent>

void DateKeys::install(QDateEdit *edit)
{
    edit->installEventFilter(new DateKeys(edit));
}

bool DateKeys::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QDateEdit *>(watched);
    if (!edit || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier)
        return false;
    const QDate date = moved(edit->date(), key->key());
    if (!date.isValid())
        return false;
    edit->setDate(date);
    return true;
}

QDate DateKeys::moved(const QDate &date, int key)
{
    switch (key) {
    case Qt::Key_PageUp:
        return date.addMonths(-1);
    case Qt::Key_PageDown:
        return date.addMonths(1);
    case Qt::Key_Up:
        return date.addDays(-1);
    case Qt::Key_Down:
        return date.addDays(1);
    default:
        return QDate();
    }
}
