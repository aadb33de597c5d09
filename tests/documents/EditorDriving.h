#pragma once

#include "support/TypeText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace testing_support {

// Types into a box as the user does: focus, select what is there, type.
inline void typeInto(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    typeText(box, text);
}

// Picks the n-th entry (from 0) of a drop-down that shows nothing yet.
inline void pickFromEmpty(QComboBox *combo, int row)
{
    combo->setFocus();
    for (int i = 0; i <= row; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

// Moves a drop-down down to its n-th entry with the keyboard.
inline void pickDownTo(QComboBox *combo, int row)
{
    combo->setFocus();
    while (combo->currentIndex() < row)
        QTest::keyClick(combo, Qt::Key_Down);
}

} // namespace testing_support
