#include "ui/VarnexApplication.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

TEST(Application, QtsOwnDialogsAreBulgarianAndNumbersKeepTheSystemsFormat)
{
    const QLocale before;
    int argc = 1;
    char name[] = "Varnex";
    char *argv[] = {name, nullptr};
    VarnexApplication app(argc, argv);
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("Save As"));
    EXPECT_NE(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Print"));
    EXPECT_NE(QCoreApplication::translate("QPageSetupWidget", "Portrait"), QStringLiteral("Portrait"));
    EXPECT_EQ(QLocale().decimalPoint(), before.decimalPoint());

    // The desktop finds the program by its class; the title is the program's
    // own and no display name is set, which the desktop would add to every
    // window's caption.
    EXPECT_EQ(QGuiApplication::applicationName(), QStringLiteral("varnex"));
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("varnex"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
    EXPECT_EQ(VarnexApplication::title(), QStringLiteral("Система за складова отчетност \"ТОРЕМ\" версия 2.0"));
}

} // namespace
