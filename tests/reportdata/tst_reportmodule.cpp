#include "reportdata/Reports.h"
#include "reports/ReportModuleContract.h"
#include "support/QtPrinters.h"
#include "util/Win1251.h"

#include <QLibrary>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

QString modulePath()
{
    return QStringLiteral(VARNEX_BIN_DIR "/lib%1.so").arg(QString::fromLatin1(reports::ReportModuleFileName));
}

std::vector<unsigned char> shortString(const QByteArray &text)
{
    std::vector<unsigned char> bytes{static_cast<unsigned char>(text.size())};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

TEST(ReportModule, ListsItsReportsInWindows1251AndLoadsAndUnloadsTwice)
{
    QStringList lines;
    for (const reportdata::ReportEntry &entry : reportdata::reportCatalogue())
        lines << entry.name + QLatin1Char('=') + entry.group;
    const QByteArray expected = varnex::toWin1251(lines.join(QStringLiteral("\r\n")));
    ASSERT_TRUE(expected.contains("\r\n"));
    ASSERT_TRUE(expected.contains(varnex::toWin1251(QStringLiteral("Наличност към дата=Склад"))));

    for (int opening = 0; opening < 2; ++opening) {
        QLibrary module(modulePath());
        ASSERT_TRUE(module.load()) << module.errorString().toStdString();
        const auto names = reinterpret_cast<GetReportNamesFunction>(module.resolve(reports::GetReportNamesExport));
        const auto init = reinterpret_cast<InitReportsFunction>(module.resolve(reports::InitReportsExport));
        const auto free = reinterpret_cast<FreeReportsFunction>(module.resolve(reports::FreeReportsExport));
        ASSERT_TRUE(names && init && free);
        EXPECT_TRUE(module.resolve(reports::PreviewReportExport));
        EXPECT_TRUE(module.resolve(reports::ShowSettingsExport));
        // Nothing else is visible, not even the module's own report list.
        EXPECT_FALSE(module.resolve("_ZN10reportdata15reportCatalogueEv"));

        std::vector<char> buffer(reports::ReportNamesBufferSize, 'x');
        names(buffer.data());
        ASSERT_EQ(std::strlen(buffer.data()), size_t(expected.size()));
        EXPECT_EQ(QByteArray(buffer.data()), expected);

        const std::vector<unsigned char> database = shortString(QByteArrayLiteral("localhost:/var/lib/varnex/Varnex.fdb"));
        const std::vector<unsigned char> parameters =
            shortString(varnex::toWin1251(QStringLiteral("user_name=SYSDBA\r\npassword=парола\r\nlc_ctype=WIN1251")));
        init(database.data(), parameters.data());
        free();
        EXPECT_TRUE(module.unload());
        EXPECT_FALSE(module.isLoaded());
    }
}

} // namespace
