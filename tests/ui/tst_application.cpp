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
}

} // namespace
