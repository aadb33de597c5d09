#include "db/Dataset.h"
#include "support/GuiTest.h"
#include "ui/OrderlyEnd.h"

#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class OrderlyEndTest : public GuiDatabaseTest
{
};

// Leaving every event loop ends the whole program's loop too, so this is the
// only test of its executable.
TEST_F(OrderlyEndTest, DropsWhatWasBeingTypedAndLeavesEveryOpenWindow)
{
    dm->ExecSQL(QStringLiteral("insert into CATEGORY (ID, CODE, NAME) values (5, 5, 'Храни')"));
    QDialog outer;
    QDialog inner(&outer);
    db::Dataset *category = dm->createDataset(QStringLiteral("select * from CATEGORY where ID = 5")).release();
    category->setParent(&inner);
    category->setUpdateSql(QStringLiteral("update CATEGORY set NAME = :NAME where ID = :OLD_ID"));
    category->open();
    category->edit();
    category->setValue(QStringLiteral("NAME"), QStringLiteral("Напитки"));

    bool innerLeft = false;
    QTimer::singleShot(0, &outer, [&] {
        QTimer::singleShot(0, &inner, &OrderlyEnd::endNow);
        inner.exec();
        innerLeft = true;
    });
    outer.exec();
    EXPECT_TRUE(innerLeft);
    EXPECT_TRUE(OrderlyEnd::requested());
    EXPECT_FALSE(category->isEditing());
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select NAME from CATEGORY where ID = 5")).toString(), QStringLiteral("Храни"));
}

} // namespace
