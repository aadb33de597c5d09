#include "security/TfrmLogin.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

using LastLogin = GuiTest;

// The name typed at the log-in window reaches the settings file as it is; a
// name that closes its own element must not become settings of its own.
TEST_F(LastLogin, AHostileNameIsKeptAsTheNameAndPlantsNoSettings)
{
    const QString hostile = QStringLiteral("a]]></lastLogin><clientinfo><network>1</network>"
                                           "<company>чужда</company></clientinfo><lastLogin><![CDATA[b");
    QString typed;
    {
        TfrmLogin login;
        login.LoadLayout();
        typeText(login.edtUser(), hostile);
        typed = login.edtUser()->text(); // as much as the column holds
    }
    ASSERT_TRUE(typed.contains(QStringLiteral("]]></lastLogin>")));
    settings.Save();

    TXMLSettings reloaded(dir.path(QStringLiteral("Varnex.xdb")));
    reloaded.setSaveWhenFreed(false);
    reloaded.Open();
    EXPECT_EQ(reloaded.ReadString(QStringLiteral("lastLogin"), QString()), typed);
    EXPECT_EQ(reloaded.ReadString(QStringLiteral("clientinfo\\network"), QStringLiteral("0")), QStringLiteral("0"));
    EXPECT_EQ(reloaded.ReadString(QStringLiteral("clientinfo\\company"), QStringLiteral("none")), QStringLiteral("none"));
}

} // namespace
