#pragma once

#include <QKeyEvent>
#include <QTest>

namespace testing_support {

// Types any text, Cyrillic included, into a widget as key presses.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace testing_support
