#include "data/ColumnSizes.h"
#include "security/TfrmChangePass.h"
#include "security/TfrmLogin.h"
#include "security/TfrmSecuritySettings.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "ui/TfrmEnterPass.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
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

TEST_F(SecurityWindows, PromptFieldsTakeNoMoreThanTheirColumnsHoldAndOnlyWindows1251)
{
    TfrmLogin login;
    typeText(login.edtUser(), QString(25, QLatin1Char('u')));
    EXPECT_EQ(login.edtUser()->text(), QString(data::kUserLoginSize, QLatin1Char('u')));
    typeText(login.edtPass(), QString(45, QLatin1Char('p')));
    EXPECT_EQ(login.edtPass()->text().size(), data::kUserPasswordSize);
    login.edtUser()->clear();
    typeText(login.edtUser(), QStringLiteral("ив✓ан"));
    EXPECT_EQ(login.edtUser()->text(), QStringLiteral("иван"));

    TfrmChangePass change;
    for (QLineEdit *field : {change.edtOld(), change.edtNew(), change.edtRepeat()}) {
        typeText(field, QString(45, QLatin1Char('p')) + QStringLiteral("✓"));
        EXPECT_EQ(field->text(), QString(data::kUserPasswordSize, QLatin1Char('p')));
    }
    TfrmEnterPass zone;
    typeText(zone.edtPass(), QStringLiteral("✓") + QString(45, QLatin1Char('p')));
    EXPECT_EQ(zone.password(), QString(data::kUserPasswordSize, QLatin1Char('p')));
}

TEST_F(SecurityWindows, PasswordPromptsOpenOnTheFirstEmptyFieldAndShowStars)
{
    {
        TfrmLogin login;
        login.LoadLayout();
        login.show();
        EXPECT_EQ(login.focusWidget(), login.edtUser());
        typeText(login.edtPass(), QStringLiteral("abc"));
        EXPECT_EQ(login.edtPass()->displayText(), QStringLiteral("***"));
    }
    settings.WriteString(QStringLiteral("lastLogin"), QStringLiteral("ivan"));
    {
        TfrmLogin login;
        login.LoadLayout();
        login.show();
        EXPECT_EQ(login.focusWidget(), login.edtPass());
    }
    TfrmChangePass change;
    change.show();
    EXPECT_EQ(change.focusWidget(), change.edtOld());
    typeText(change.edtNew(), QStringLiteral("ab"));
    EXPECT_EQ(change.edtNew()->displayText(), QStringLiteral("**"));
    TfrmChangePass withoutOld;
    withoutOld.setOldEnabled(false);
    withoutOld.show();
    EXPECT_EQ(withoutOld.focusWidget(), withoutOld.edtNew());

    TfrmEnterPass zone;
    zone.show();
    EXPECT_EQ(zone.focusWidget(), zone.edtPass());
    QTest::keyClicks(zone.focusWidget(), QStringLiteral("x"));
    EXPECT_EQ(zone.edtPass()->displayText(), QStringLiteral("*"));
}

TEST_F(SecurityWindows, TheZonePromptIsCentredOnTheDesktopAtItsFinalSize)
{
    TfrmEnterPass zone;
    zone.show();
    const QPoint desktopCentre = zone.screen()->availableGeometry().center();
    const QPoint centre = zone.frameGeometry().center();
    EXPECT_LE((centre - desktopCentre).manhattanLength(), 2) << centre.x() << "," << centre.y();
}

TEST_F(SecurityWindows, TheRightsWindowShowsItsLabelsWholeAndAButtonSizedExit)
{
    for (const char *mode : {"0", "1"}) {
        dm->SetConfigByName(QStringLiteral("AUTH_MODE"), QString::fromLatin1(mode));
        TfrmSecuritySettings window(*dm);
        window.fill();
        window.show();
        for (QLabel *label : window.findChildren<QLabel *>()) {
            if (!label->isVisibleTo(&window))
                continue;
            const bool fits = label->wordWrap() ? label->height() >= label->heightForWidth(label->width())
                                                : label->width() >= label->sizeHint().width();
            EXPECT_TRUE(fits) << label->text().toStdString();
        }
        for (QPushButton *button : window.findChildren<QPushButton *>()) {
            if (button->text() == QStringLiteral("Изход")) {
                EXPECT_LT(button->width(), 2 * button->sizeHint().width());
            }
        }
    }
}

} // namespace
