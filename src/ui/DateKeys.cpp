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
    // The four-digit year of a date field, and the database's dates, run
    // from 01.01.0001 to 31.12.9999; the keys stop there instead of
    // wrapping into a year the field cannot show.
    static const QDate first(1, 1, 1);
    static const QDate last(9999, 12, 31);
    QDate target;
    switch (key) {
    case Qt::Key_PageUp:
        target = date.addMonths(-1);
        break;
    case Qt::Key_PageDown:
        target = date.addMonths(1);
        break;
    case Qt::Key_Up:
        target = date.addDays(-1);
        break;
    case Qt::Key_Down:
        target = date.addDays(1);
        break;
    default:
        return QDate();
    }
    return target.isValid() ? qBound(first, target, last) : date;
}
