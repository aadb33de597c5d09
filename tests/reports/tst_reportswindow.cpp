#include "core/TSettings.h"
#include "core/Tdm.h"
#include "mainwindow/TfrmMain.h"
#include "reports/ReportModule.h"
#include "reports/TfrmSpravki.h"
#include "support/FreshDatabase.h"
#include "support/GuiTest.h"
#include "ui/TfrmBaseForm.h"
#include "util/Error.h"
#include "util/Win1251.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QString kModules = QStringLiteral(VARNEX_TEST_REPORT_MODULES);
const QString kNoModule = QStringLiteral("Не е намерен модул за справки!");

// The test module's list and its record of what it was asked, kept in the
// test's own folder; the module reads their names from the environment.
class ModuleFiles
{
public:
    explicit ModuleFiles(const TempDir &dir)
        : m_dir(dir)
    {
        qputenv("VARNEX_TEST_REPORTS_LOG", dir.path(QStringLiteral("calls.log")).toLocal8Bit());
        qputenv("VARNEX_TEST_REPORTS_NAMES", dir.path(QStringLiteral("names.txt")).toLocal8Bit());
        offer(QByteArray());
    }
    ~ModuleFiles()
    {
        qunsetenv("VARNEX_TEST_REPORTS_LOG");
        qunsetenv("VARNEX_TEST_REPORTS_NAMES");
        reports::SetModuleFolders({});
    }
    void offer(const QByteArray &list) const { m_dir.writeFile(QStringLiteral("names.txt"), list); }
    QStringList calls() const
    {
        QFile log(m_dir.path(QStringLiteral("calls.log")));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void forget() const { QFile::remove(m_dir.path(QStringLiteral("calls.log"))); }

private:
    const TempDir &m_dir;
};

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

// The window over the complete test module, with a data module that is
// never connected: the window only hands its connection on.
class ReportsWindow : public GuiTest
{
protected:
    ReportsWindow()
    {
        reports::SetModuleFolders({kModules + QStringLiteral("/complete")});
        data.setDatabase(QStringLiteral("server:/srv/varnex/Varnex.fdb"));
        data.user = QStringLiteral("OFFICE");
        data.password = QStringLiteral("таен");
        data.ApplyConnectionConfig();
        SetDataModule(&data);
        files.offer(QByteArray("B=X\r\nA=X\r\nC=Y"));
    }
    ~ReportsWindow() override { SetDataModule(nullptr); }

    QTreeWidgetItem *node(const QString &group, const QString &report = QString()) const
    {
        for (int i = 0; i < window->tvReports()->topLevelItemCount(); ++i) {
            QTreeWidgetItem *top = window->tvReports()->topLevelItem(i);
            if (top->text(0) != group)
                continue;
            if (report.isEmpty())
                return top;
            for (int j = 0; j < top->childCount(); ++j) {
                if (top->child(j)->text(0) == report)
                    return top->child(j);
            }
        }
        return nullptr;
    }
    void open() { window = std::make_unique<TfrmSpravki>(); }

    ModuleFiles files{dir};
    RecordedMessages messages;
    Tdm data{messages};
    std::unique_ptr<TfrmSpravki> window;
};

QStringList texts(const QTreeWidgetItem *parent)
{
    QStringList list;
    for (int i = 0; i < parent->childCount(); ++i)
        list << parent->child(i)->text(0);
    return list;
}

TEST_F(ReportsWindow, GroupsAndReportsInTextOrderEachRunByTheModulesIndex)
{
    open();
    QTreeWidget *tree = window->tvReports();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(texts(tree->invisibleRootItem()), (QStringList{QStringLiteral("X"), QStringLiteral("Y")}));
    EXPECT_EQ(texts(node(QStringLiteral("X"))), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(texts(node(QStringLiteral("Y"))), (QStringList{QStringLiteral("C")}));
    EXPECT_EQ(tree->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(window->btnShow()->isEnabled()); // nothing selected yet

    files.forget();
    tree->setCurrentItem(node(QStringLiteral("X"), QStringLiteral("A")));
    EXPECT_TRUE(window->btnShow()->isEnabled());
    window->btnShow()->click();
    tree->setCurrentItem(node(QStringLiteral("Y"), QStringLiteral("C")));
    Q_EMIT tree->itemDoubleClicked(tree->currentItem(), 0);
    window->btnSettings()->click();
    EXPECT_EQ(files.calls(), (QStringList{QStringLiteral("PreviewReport 1"), QStringLiteral("PreviewReport 2"),
                                          QStringLiteral("ShowSettings")}));
}

TEST_F(ReportsWindow, AGroupIsNoReport)
{
    open();
    QTreeWidget *tree = window->tvReports();
    tree->setCurrentItem(node(QStringLiteral("X"), QStringLiteral("B")));
    ASSERT_TRUE(window->btnShow()->isEnabled());
    files.forget();
    tree->setCurrentItem(node(QStringLiteral("X")));
    EXPECT_FALSE(window->btnShow()->isEnabled());
    Q_EMIT tree->itemDoubleClicked(node(QStringLiteral("X")), 0);
    window->ShowReport();
    EXPECT_TRUE(files.calls().isEmpty());
}

TEST_F(ReportsWindow, ChoosingACollapsedGroupOpensOnlyThatOne)
{
    open();
    QTreeWidget *tree = window->tvReports();
    QTreeWidgetItem *x = node(QStringLiteral("X"));
    QTreeWidgetItem *y = node(QStringLiteral("Y"));
    tree->setCurrentItem(x);
    EXPECT_TRUE(x->isExpanded());
    EXPECT_FALSE(y->isExpanded());
    tree->setCurrentItem(y);
    EXPECT_FALSE(x->isExpanded());
    EXPECT_TRUE(y->isExpanded());
    // The user may open a second group by hand; choosing a report in it or
    // its open group again keeps both open.
    x->setExpanded(true);
    tree->setCurrentItem(node(QStringLiteral("X"), QStringLiteral("A")));
    tree->setCurrentItem(x);
    EXPECT_TRUE(x->isExpanded());
    EXPECT_TRUE(y->isExpanded());
}

TEST_F(ReportsWindow, AListFillingTheWholeBufferEndsWithIt)
{
    // The module fills all 5000 bytes and writes no zero after them.
    files.offer(QByteArray("A=") + QByteArray(4998, 'x') + QByteArray("beyond the buffer"));
    open();
    ASSERT_EQ(window->tvReports()->topLevelItemCount(), 1);
    EXPECT_EQ(window->tvReports()->topLevelItem(0)->text(0), QString(4998, QLatin1Char('x')));
    EXPECT_EQ(texts(window->tvReports()->topLevelItem(0)), QStringList{QStringLiteral("A")});
}

TEST_F(ReportsWindow, EachOpeningLoadsTheModuleOnceAndUnloadsItWhenTheWindowGoes)
{
    for (int opening = 0; opening < 2; ++opening) {
        files.forget();
        open();
        ASSERT_EQ(files.calls().size(), 3);
        EXPECT_EQ(files.calls().mid(0, 2), (QStringList{QStringLiteral("load"), QStringLiteral("GetReportNames")}));
        EXPECT_TRUE(files.calls().at(2).startsWith(QLatin1String("InitReports ")));
        window.reset();
        // What the module left for the event loop goes before the module does.
        EXPECT_EQ(files.calls().mid(3), (QStringList{QStringLiteral("FreeReports"), QStringLiteral("deleted"),
                                                     QStringLiteral("unload")}));
    }
}

TEST_F(ReportsWindow, TheModuleIsToldTheConnectionAsShortStrings)
{
    open();
    const QByteArray name = QByteArray("server:/srv/varnex/Varnex.fdb");
    const QByteArray parameters = QByteArray("user_name=OFFICE\r\npassword=") + varnex::toWin1251(QStringLiteral("таен"))
                                  + QByteArray("\r\nlc_ctype=WIN1251");
    EXPECT_EQ(files.calls().at(2), QStringLiteral("InitReports ") + hex(char(name.size()) + name) + QLatin1Char(' ')
                                       + hex(char(parameters.size()) + parameters));
    window.reset();

    // A name longer than a short string holds reaches the module cut.
    const QString longPath = QStringLiteral("/") + QString(299, QLatin1Char('d'));
    data.setDatabase(longPath);
    data.ApplyConnectionConfig();
    files.forget();
    open();
    EXPECT_EQ(files.calls().at(2).section(QLatin1Char(' '), 1, 1),
              hex(QByteArray("\xff") + longPath.left(255).toLatin1()));
}

TEST_F(ReportsWindow, AConnectionTheModuleCannotBeToldLeavesItUnloaded)
{
    data.setDatabase(QStringLiteral("/srv/varnex/✓.fdb"));
    data.ApplyConnectionConfig();
    EXPECT_THROW(open(), varnex::Error);
    EXPECT_TRUE(files.calls().isEmpty());
}

TEST_F(ReportsWindow, WithoutAModuleThereIsNoWindow)
{
    reports::SetModuleFolders({dir.path(QStringLiteral("nothing here"))});
    try {
        open();
        FAIL() << "a window without a module";
    } catch (const varnex::Error &error) {
        EXPECT_EQ(error.message(), kNoModule);
    }
    EXPECT_TRUE(files.calls().isEmpty());
}

TEST_F(ReportsWindow, AModuleLackingAFunctionCountsAsNone)
{
    reports::SetModuleFolders({kModules + QStringLiteral("/partial")});
    try {
        open();
        FAIL() << "a window over a module without ShowSettings";
    } catch (const varnex::Error &error) {
        EXPECT_EQ(error.message(), kNoModule);
        EXPECT_TRUE(error.detail().contains(QLatin1String("ShowSettings")));
    }
    EXPECT_EQ(files.calls(), (QStringList{QStringLiteral("load"), QStringLiteral("unload")}));

    // The next folder's complete module is taken instead.
    files.forget();
    reports::SetModuleFolders({kModules + QStringLiteral("/partial"), kModules + QStringLiteral("/complete")});
    open();
    EXPECT_EQ(window->tvReports()->topLevelItemCount(), 2);
}

TEST(ReportModuleFolders, BesideTheProgramThenTheInstalledLibraryFolder)
{
    const QString program = QCoreApplication::applicationDirPath();
    EXPECT_EQ(reports::ReportModule::defaultFolders(),
              (QStringList{program, QDir::cleanPath(program + QStringLiteral("/../" VARNEX_REPORT_MODULE_DIR))}));
    reports::SetModuleFolders({QStringLiteral("/elsewhere")});
    EXPECT_EQ(reports::moduleFolders(), QStringList{QStringLiteral("/elsewhere")});
    reports::SetModuleFolders({});
    EXPECT_EQ(reports::moduleFolders(), reports::ReportModule::defaultFolders());
}

TEST_F(ReportsWindow, CaptionButtonsEnterAndEsc)
{
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Отчети"));
    EXPECT_GE(window->minimumWidth(), 340);
    EXPECT_GE(window->minimumHeight(), 280);
    EXPECT_EQ(window->btnShow()->text(), QStringLiteral("Покажи"));
    EXPECT_EQ(window->btnShow()->toolTip(), QStringLiteral("Покажи Отчет"));
    EXPECT_EQ(window->btnSettings()->text(), QStringLiteral("Настройки"));
    EXPECT_EQ(window->btnClose()->text(), QStringLiteral("Връщане"));
    // The disabled look is the grey twin, not the style's own.
    const QImage normal = window->btnShow()->icon().pixmap(QSize(16, 16), QIcon::Normal).toImage();
    const QImage disabled = window->btnShow()->icon().pixmap(QSize(16, 16), QIcon::Disabled).toImage();
    EXPECT_NE(normal, disabled);

    window->show();
    window->tvReports()->setCurrentItem(node(QStringLiteral("X"), QStringLiteral("B")));
    files.forget();
    QTest::keyClick(window->tvReports(), Qt::Key_Return);
    EXPECT_EQ(files.calls(), QStringList{QStringLiteral("PreviewReport 0")});
    QTest::keyClick(window->tvReports(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);
    window->show();
    window->btnClose()->click();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ReportsWindow, CentredTheFirstTimeThenWhereItWasLeft)
{
    TfrmBaseForm owner;
    std::unique_ptr<TfrmSpravki> child(owner.CreateChildForm<TfrmSpravki>());
    child->show();
    const QRect screen = child->screen()->availableGeometry();
    EXPECT_LE((child->frameGeometry().center() - screen.center()).manhattanLength(), 2)
        << child->frameGeometry().x() << "," << child->frameGeometry().y() << " " << child->frameGeometry().width() << "x"
        << child->frameGeometry().height() << " on " << screen.width() << "x" << screen.height();
    child->move(40, 50);
    child->resize(500, 420);
    child->done(QDialog::Rejected);
    child.reset();
    std::unique_ptr<TSettings> section = settings.OpenSection(QStringLiteral("frmSpravki"));
    EXPECT_EQ(section->ReadInteger(QStringLiteral("posLeft"), -1), 40);
    EXPECT_EQ(section->ReadInteger(QStringLiteral("sizeWidth"), -1), 500);

    child.reset(owner.CreateChildForm<TfrmSpravki>());
    child->show();
    EXPECT_EQ(child->pos(), QPoint(40, 50));
    EXPECT_EQ(child->size(), QSize(500, 420));
}

// "Справки" of the main window on a real database.
class ReportsFromTheMainWindow : public GuiDatabaseTest
{
protected:
    ReportsFromTheMainWindow()
    {
        window.show();
        QTimer::singleShot(5000, &window, [] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
    }

    ModuleFiles files{dir};
    TfrmMain window{*dm};
};

TEST_F(ReportsFromTheMainWindow, OpensTheWindowModallyAndFreesItWhenClosed)
{
    reports::SetModuleFolders({kModules + QStringLiteral("/complete")});
    files.offer(QByteArray("A=X"));
    bool shown = false;
    QTimer::singleShot(0, &window, [&] {
        auto *reports = qobject_cast<TfrmSpravki *>(QApplication::activeModalWidget());
        if (!reports)
            return;
        shown = reports->parent() == &window;
        reports->btnClose()->click();
    });
    window.actnReports->trigger();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(window.findChildren<TfrmSpravki *>().isEmpty());
    EXPECT_EQ(files.calls().last(), QStringLiteral("unload"));
    const QByteArray name = dm->connectionName().toLocal8Bit();
    EXPECT_TRUE(files.calls().at(2).startsWith(QStringLiteral("InitReports ") + hex(char(name.size()) + name)));
    // Its place is kept in its own section below the main window's.
    EXPECT_FALSE(settings.OpenSection(QStringLiteral("frmSpravki"))->ReadString(QStringLiteral("sizeWidth"), QString()).isEmpty());
}

TEST_F(ReportsFromTheMainWindow, WithoutAModuleTheErrorAndNoWindow)
{
    reports::SetModuleFolders({dir.path(QStringLiteral("nothing here"))});
    window.actnReports->trigger();
    EXPECT_EQ(dialogs.errors, std::vector<QString>{kNoModule});
    EXPECT_TRUE(window.findChildren<TfrmSpravki *>().isEmpty());
    EXPECT_TRUE(window.isVisible());
}

} // namespace
