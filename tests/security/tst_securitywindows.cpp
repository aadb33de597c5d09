#include "security/TfrmChangePass.h"
#include "security/TfrmLogin.h"
#include "security/TfrmSecuritySettings.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

using SecurityWindows = GuiDatabaseTest;

TEST_F(SecurityWindows, LogInNeedsANameAndRemembersIt)
{
    settings.WriteString(QStringLiteral("lastLogin"), QStringLiteral("ivan"));
    {
        TfrmLogin login;
        login.LoadLayout();
        EXPECT_EQ(login.edtUser()->text(), QStringLiteral("ivan"));
        EXPECT_TRUE(login.btnOK()->isEnabled());
        login.edtUser()->clear();
        EXPECT_FALSE(login.btnOK()->isEnabled());
        typeText(login.edtUser(), QStringLiteral("мария"));
        EXPECT_TRUE(login.btnOK()->isEnabled());
        EXPECT_EQ(login.edtPass()->echoMode(), QLineEdit::Password);
    }
    EXPECT_EQ(settings.ReadString(QStringLiteral("lastLogin"), QString()), QStringLiteral("мария"));
}

TEST_F(SecurityWindows, ChangePasswordEnablesOkForMatchingPasswords)
{
    TfrmChangePass change;
    change.show();
    EXPECT_FALSE(change.btnOK()->isEnabled());
    typeText(change.edtNew(), QStringLiteral("abc"));
    typeText(change.edtRepeat(), QStringLiteral("abc"));
    EXPECT_FALSE(change.btnOK()->isEnabled()); // the old password is asked for
    typeText(change.edtOld(), QStringLiteral("x"));
    EXPECT_TRUE(change.btnOK()->isEnabled());
    typeText(change.edtRepeat(), QStringLiteral("d"));
    EXPECT_FALSE(change.btnOK()->isEnabled());

    TfrmChangePass withoutOld;
    withoutOld.setOldEnabled(false);
    withoutOld.show();
    EXPECT_TRUE(withoutOld.btnOK()->isEnabled()); // empty and equal
}

TEST_F(SecurityWindows, TheRightsWindowStoresTicksOnlyWithZapis)
{
    dm->SetRight(0, 2, true); // a top-level item other than 1: no tick box, removed by "Запис"
    TfrmSecuritySettings window(*dm);
    window.fill();
    window.show();
    EXPECT_TRUE(window.zoneGroup()->isVisible());
    EXPECT_FALSE(window.userGroup()->isVisible());
    EXPECT_FALSE(window.modeList()->isEnabled());
    QTreeWidget *tree = window.zoneTree();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QTreeWidgetItem *start = tree->topLevelItem(0);
    QTreeWidgetItem *system = tree->topLevelItem(1);
    EXPECT_EQ(start->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(system->data(0, Qt::CheckStateRole).isValid());
    ASSERT_EQ(system->childCount(), 3);
    EXPECT_TRUE(system->isExpanded());
    EXPECT_FALSE(window.warning()->isVisible());

    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(system->child(0)).center());
    EXPECT_EQ(system->child(0)->checkState(0), Qt::Checked);
    EXPECT_TRUE(window.warning()->isVisible());
    tree->setCurrentItem(start);
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_EQ(start->checkState(0), Qt::Checked);
    EXPECT_FALSE(dm->IsAllowed(0, 10)); // nothing stored yet

    window.btnSaveZones()->click();
    EXPECT_TRUE(dm->IsAllowed(0, 10));
    EXPECT_TRUE(dm->IsAllowed(0, 1));
    EXPECT_FALSE(dm->HasRows(QStringLiteral("select 1 from USER_RIGHTS where ITEM_ID = 2")));
    EXPECT_FALSE(window.warning()->isVisible());

    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(system->child(0)).center());
    window.close();
    EXPECT_TRUE(dm->IsAllowed(0, 10)); // closing drops the unsaved tick
}

TEST_F(SecurityWindows, TheUserModelShowsEmptyLists)
{
    dm->SetConfigByName(QStringLiteral("AUTH_MODE"), QStringLiteral("1"));
    TfrmSecuritySettings window(*dm);
    window.fill();
    window.show();
    EXPECT_TRUE(window.userGroup()->isVisible());
    EXPECT_FALSE(window.zoneGroup()->isVisible());
    EXPECT_EQ(window.modeList()->currentText(), QStringLiteral("Права дефинирани чрез потребители"));
}

} // namespace
