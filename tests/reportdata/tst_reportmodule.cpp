#include "reportdata/Reports.h"
#include "reports/ReportModuleContract.h"
#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"
#include "util/Win1251.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QLibrary>
#include <QTableView>
#include <QTimer>

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
    const QByteArray bytes = char(text.size()) + text;
    return {bytes.begin(), bytes.end()};
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

// The module's windows are answered as a user would: the parameters
// accepted with a day, the preview's rows counted and the preview closed.
class ModuleWindows : public QObject
{
public:
    ModuleWindows()
    {
        connect(&m_poll, &QTimer::timeout, this, [this] { answer(); });
        m_poll.start(20);
    }

    QDate day;
    QStringList titles;
    int previewRows = -1;

private:
    void answer()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        titles << dialog->windowTitle();
        if (auto *view = dialog->findChild<QTableView *>()) {
            previewRows = view->model()->rowCount();
            dialog->accept();
        } else if (auto *date = dialog->findChild<QDateEdit *>()) {
            date->setDate(day);
            dialog->accept();
        } else {
            dialog->reject();
        }
    }

    QTimer m_poll;
};

TEST(ReportModule, ShowsAReportFromItsOwnConnectionBesideTheProgramsOpenOne)
{
    testing_support::FreshDatabase database;
    std::unique_ptr<Tdm> dm = database.connect();
    testing_support::addGoods(*dm, 1, 101, QStringLiteral("Брашно"));
    testing_support::addGoods(*dm, 2, 102, QStringLiteral("Захар"));
    testing_support::addGoods(*dm, 3, 103, QStringLiteral("Торби"), 0, false);

    QLibrary module(modulePath());
    ASSERT_TRUE(module.load()) << module.errorString().toStdString();
    const auto init = reinterpret_cast<InitReportsFunction>(module.resolve(reports::InitReportsExport));
    const auto preview = reinterpret_cast<PreviewReportFunction>(module.resolve(reports::PreviewReportExport));
    const auto free = reinterpret_cast<FreeReportsFunction>(module.resolve(reports::FreeReportsExport));
    ASSERT_TRUE(init && preview && free);
    const std::vector<unsigned char> name = shortString(varnex::toWin1251(database.path()));
    const std::vector<unsigned char> parameters =
        shortString(QByteArrayLiteral("user_name=SYSDBA\r\npassword=pendrolix\r\nlc_ctype=WIN1251"));
    init(name.data(), parameters.data());

    ModuleWindows windows;
    windows.day = QDate(2026, 11, 30);
    preview(0);
    // Both followed goods and the totals line.
    EXPECT_EQ(windows.previewRows, 3);
    ASSERT_EQ(windows.titles.size(), 2);
    EXPECT_EQ(windows.titles.at(0), QStringLiteral("Наличност към дата"));

    // A database that cannot be reached is told in the module's error box,
    // and the module still serves the next report.
    const std::vector<unsigned char> missing = shortString(varnex::toWin1251(database.path() + QStringLiteral(".няма")));
    init(missing.data(), parameters.data());
    windows.titles.clear();
    preview(0);
    EXPECT_EQ(windows.titles.size(), 1);
    init(name.data(), parameters.data());
    windows.previewRows = -1;
    preview(0);
    EXPECT_EQ(windows.previewRows, 3);
    free();
    EXPECT_TRUE(module.unload());
}

} // namespace
