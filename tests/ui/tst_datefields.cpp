#include "support/QtPrinters.h"
#include "ui/DateField.h"
#include "ui/DateKeys.h"

#include <QDateEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(DateKeysAtTheEnds, StopAtTheFirstAndLastDateADateFieldHolds)
{
    const QDate last(9999, 12, 31);
    const QDate first(1, 1, 1);
    EXPECT_EQ(DateKeys::moved(last, Qt::Key_Down), last);
    EXPECT_EQ(DateKeys::moved(last, Qt::Key_PageDown), last);
    EXPECT_EQ(DateKeys::moved(QDate(9999, 12, 15), Qt::Key_PageDown), last);
    EXPECT_EQ(DateKeys::moved(last, Qt::Key_Up), QDate(9999, 12, 30));
    EXPECT_EQ(DateKeys::moved(first, Qt::Key_Up), first);
    EXPECT_EQ(DateKeys::moved(first, Qt::Key_PageUp), first);
    EXPECT_EQ(DateKeys::moved(QDate(1, 1, 20), Qt::Key_PageUp), first);
    EXPECT_EQ(DateKeys::moved(first, Qt::Key_Down), QDate(1, 1, 2));
    EXPECT_FALSE(DateKeys::moved(last, Qt::Key_A).isValid());
}

TEST(DateKeysAtTheEnds, TheTypedFieldNeverWrapsItsYear)
{
    DateField field;
    field.setDate(QDate(9999, 12, 31));
    QTest::keyClick(&field, Qt::Key_Down);
    EXPECT_EQ(field.text(), QStringLiteral("31.12.9999"));
    QTest::keyClick(&field, Qt::Key_PageDown);
    EXPECT_EQ(field.date(), QDate(9999, 12, 31));
    field.setDate(QDate(1, 1, 1));
    QTest::keyClick(&field, Qt::Key_Up);
    EXPECT_EQ(field.text(), QStringLiteral("01.01.0001"));
}

} // namespace
