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
    QDate date = edit->date();
    switch (key->key()) {
    case Qt::Key_PageUp:
        date = date.addMonths(-1);
        break;
    case Qt::Key_PageDown:
        date = date.addMonths(1);
        break;
    case Qt::Key_Up:
        date = date.addDays(-1);
        break;
    case Qt::Key_Down:
        date = date.addDays(1);
        break;
    default:
        return false;
    }
    edit->setDate(date);
    return true;
}
