#pragma once

#include <QDate>
#include <QObject>

class QDateEdit;

// The date keys of every date field: Page Up a month back, Page Down a
// month forward, Up a day back, Down a day forward, stopping at 01.01.0001
// and 31.12.9999; the key is consumed.
class DateKeys : public QObject
{
    Q_OBJECT

public:
    // Installs the keys on a date field; the helper belongs to the field.
    static void install(QDateEdit *edit);
    // The date a key moves to; invalid for keys that are not date keys.
    static QDate moved(const QDate &date, int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
