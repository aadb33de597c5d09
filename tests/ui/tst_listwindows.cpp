#include "db/Dataset.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "ui/DataGrid.h"
#include "ui/TDictionary.h"
#include "ui/DatasetModel.h"
#include "ui/TIBGridForm.h"
#include "ui/TfrmList.h"
#include "ui/TfrmBaseVXGrid.h"
#include "ui/TdlgListChoose.h"
#include "util/Base64Variant.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const char *const kUnits = "select * from MERKI where (1=1) and (MERKI_ID >= :MIN_ID) order by MERKI_ID";

class frmUnitsList : public TIBGridForm
{
public:
    explicit frmUnitsList(QWidget *owner = nullptr)
        : TIBGridForm(owner)
        , units(dm().createDataset(QString::fromLatin1(kUnits)))
    {
        setObjectName(QStringLiteral("frmUnitsList"));
        KeyField = QStringLiteral("MERKI_ID");
        SettingsPrefix = QStringLiteral("UNITS");
        BaseCaption = QStringLiteral("Мерки");
        setWindowTitle(BaseCaption);
        units->setParam(QStringLiteral("MIN_ID"), 1);
        units->setDeleteSql(QStringLiteral("delete from MERKI where MERKI_ID = :OLD_MERKI_ID"));
        units->setInsertSql(QStringLiteral("insert into MERKI (MERKI_ID, MERKI_NAME, MERKI_ZNAK) values (:MERKI_ID, :MERKI_NAME, :MERKI_ZNAK)"));
        setDataset(*units, {{QStringLiteral("MERKI_ID"), QStringLiteral("№"), 50, true},
                            {QStringLiteral("MERKI_NAME"), QStringLiteral("Наименование"), 200, true},
                            {QStringLiteral("MERKI_ZNAK"), QStringLiteral("Означение"), 80, true}});
        units->open();
    }

    bool veto = false;
    bool DeleteVeto() override { return veto; }

    std::unique_ptr<db::Dataset> units;
};

using ListWindows = GuiDatabaseTest;

TEST(ParamBoard, ValuesAreTakenOnceAndNamesIgnoreCase)
{
    PutParam(QStringLiteral("INVOICES::SHOWCMD"), QStringLiteral("NEW"));
    PutParam(QStringLiteral("invoices::showcmd"), QStringLiteral("NEW"));
    EXPECT_EQ(ParamBoard().count(), 1);
    EXPECT_EQ(TakeParam(QStringLiteral("Invoices::ShowCmd"), QString()).toString(), QStringLiteral("NEW"));
    EXPECT_EQ(TakeParam(QStringLiteral("INVOICES::SHOWCMD"), QStringLiteral("none")).toString(), QStringLiteral("none"));

    TDictionary first;
    first.add(QStringLiteral("a"), 1);
    first.add(QStringLiteral("b"), 2);
    TDictionary second;
    second.put(QStringLiteral("B"), 20);
    second.put(QStringLiteral("c"), QVariantList{1, QStringLiteral("x")});
    first.merge(second);
    EXPECT_EQ(first.count(), 3);
    EXPECT_EQ(first.value(QStringLiteral("b")).toInt(), 20);
    EXPECT_EQ(first.value(QStringLiteral("c")).toList().size(), 2);
    EXPECT_FALSE(first.value(QStringLiteral("missing")).isValid());
    first.insert(0, QStringLiteral("z"));
    EXPECT_EQ(first.name(0), QStringLiteral("z"));
}

TEST_F(ListWindows, ActionsFollowTheFlagsAndTheDataset)
{
    frmUnitsList window;
    for (int flags = 0; flags < 16; ++flags) {
        window.AllowEdit = flags & 1;
        window.AllowInsert = flags & 2;
        window.AllowDelete = flags & 4;
        window.AllowFilter = flags & 8;
        for (int situation = 0; situation < 4; ++situation) {
            window.units->cancel();
            if (situation == 0) {
                window.units->close();
            } else {
                window.units->setParam(QStringLiteral("MIN_ID"), situation == 1 ? 100 : 1);
                window.units->open();
                if (situation == 3)
                    window.units->edit();
            }
            window.UpdateActions();
            const bool open = situation > 0;
            const bool filled = situation >= 2;
            const bool browsing = open && situation != 3;
            const std::string where = "flags " + std::to_string(flags) + ", situation " + std::to_string(situation);
            EXPECT_EQ(window.actnNew->isEnabled(), window.AllowEdit && window.AllowInsert && open) << where;
            EXPECT_EQ(window.actnEdit->isEnabled(), window.AllowEdit && filled) << where;
            EXPECT_EQ(window.actnDelete->isEnabled(), window.AllowEdit && window.AllowDelete && filled) << where;
            EXPECT_EQ(window.actnFilter->isEnabled(), window.AllowFilter && browsing) << where;
            EXPECT_FALSE(window.actnRemoveFilter->isEnabled()) << where;
            EXPECT_EQ(window.actnPrint->isEnabled(), browsing) << where;
            EXPECT_TRUE(window.actnRefresh->isEnabled());
            EXPECT_TRUE(window.actnColumns->isEnabled());
        }
    }
}

TEST_F(ListWindows, FilteringRewritesTheWhereClauseKeepingParametersAndPosition)
{
    frmUnitsList window;
    window.units->setParam(QStringLiteral("MIN_ID"), 2);
    window.units->reopen();
    ASSERT_TRUE(window.units->locate({QStringLiteral("MERKI_ID")}, {3}));

    window.SetFilter(QStringLiteral("MERKI_ID < 5"), QStringLiteral("до 5"));
    EXPECT_TRUE(window.FilterActive);
    EXPECT_EQ(window.WhereClause, QStringLiteral("where (MERKI_ID < 5)"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Мерки [до 5]"));
    EXPECT_EQ(window.units->recordCount(), 3); // 2, 3, 4: the parameter still counts
    EXPECT_EQ(window.units->value(QStringLiteral("MERKI_ID")).toInt(), 3);
    EXPECT_TRUE(window.actnRemoveFilter->isEnabled());

    window.SetFilter(QStringLiteral("MERKI_ID > 5"), QString());
    EXPECT_EQ(window.units->value(QStringLiteral("MERKI_ID")).toInt(), 6); // 3 is gone: the first row

    window.RemoveFilter();
    EXPECT_FALSE(window.FilterActive);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Мерки"));
    EXPECT_EQ(window.units->recordCount(), 6);
    EXPECT_EQ(window.units->value(QStringLiteral("MERKI_ID")).toInt(), 6);
}

TEST_F(ListWindows, AFilterThatCannotApplyChangesNothing)
{
    frmUnitsList window;
    const QString before = window.units->selectSql();
    window.SetFilter(QStringLiteral("NO_SUCH_COLUMN = 1"), QStringLiteral("лош"));
    EXPECT_FALSE(window.FilterActive);
    EXPECT_EQ(window.units->selectSql(), before);
    EXPECT_TRUE(window.units->isOpen());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Мерки"));

    window.WhereClause = QStringLiteral("where (2=2)"); // not in the text
    window.SetFilter(QStringLiteral("MERKI_ID < 3"), QStringLiteral("x"));
    EXPECT_FALSE(window.FilterActive);
    EXPECT_EQ(window.units->selectSql(), before);

    window.WhereClause = QStringLiteral("where (1=1)");
    QSignalSpy reopened(window.units.get(), &db::Dataset::reset);
    window.RemoveFilter();
    EXPECT_EQ(reopened.count(), 0);
}

TEST_F(ListWindows, RefreshKeepsTheCurrentRecord)
{
    frmUnitsList window;
    ASSERT_TRUE(window.units->locate({QStringLiteral("MERKI_ID")}, {5}));
    dm->ExecSQL(QStringLiteral("insert into MERKI (MERKI_ID, MERKI_NAME, MERKI_ZNAK) values (8, 'x', 'x')"));
    window.actnRefresh->trigger();
    EXPECT_EQ(window.units->value(QStringLiteral("MERKI_ID")).toInt(), 5);
    dm->ExecSQL(QStringLiteral("delete from MERKI where MERKI_ID = 5"));
    window.actnRefresh->trigger();
    EXPECT_EQ(window.units->recNo(), 0);
    EXPECT_THROW(window.LocateRecord(*window.units, QStringLiteral("MERKI_ID;NOPE"), QVariantList{1, 2}), varnex::Error);
}

TEST_F(ListWindows, DeletionAsksAndCanBeRefused)
{
    frmUnitsList window;
    window.units->last();
    dialogs.answers = {mrNo};
    window.actnDelete->trigger();
    EXPECT_EQ(window.units->recordCount(), 7);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Моля, потвърдете изтриване!"));

    window.veto = true;
    window.actnDelete->trigger();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(window.units->recordCount(), 7);

    window.veto = false;
    dm->ExecSQL(QStringLiteral("insert into MERKI (MERKI_ID, MERKI_NAME, MERKI_ZNAK) values (9, 'x', 'x')"));
    window.RefreshList();
    window.units->last();
    dialogs.answers = {mrYes};
    window.actnDelete->trigger();
    EXPECT_EQ(window.units->recordCount(), 7);
    EXPECT_FALSE(dm->HasRows(QStringLiteral("select 1 from MERKI where MERKI_ID = 9")));
}

TEST_F(ListWindows, TheShowCommandActsOnce)
{
    frmUnitsList window;
    PutParam(QStringLiteral("UNITS::SHOWCMD"), QStringLiteral("NEW"));
    PutParam(QStringLiteral("UNITS::SHOWCMD"), QStringLiteral("NEW"));
    window.ShowList();
    EXPECT_EQ(window.units->state(), db::Dataset::State::Insert);
    window.units->cancel();
    window.ShowList();
    EXPECT_EQ(window.units->state(), db::Dataset::State::Browse);
}

// What an opener does to let the user pick: a modal showing in choose mode,
// and the chosen key afterwards.
int chooseWith(frmUnitsList &window, const std::function<void()> &userAction)
{
    window.setChooseMode(true);
    QTimer::singleShot(0, &window, userAction);
    QTimer::singleShot(5000, &window, [&window] { window.done(QDialog::Rejected); }); // never hang the run
    window.exec();
    return window.ChosenKey();
}

TEST_F(ListWindows, OpenedToChooseEnterOrADoubleClickReturnsTheRow)
{
    frmUnitsList window;
    EXPECT_FALSE(window.actnChoose->isVisible());
    PutParam(QStringLiteral("UNITS::SHOWCMD"), QStringLiteral("CHOOSE"));
    window.ShowList();
    EXPECT_TRUE(window.chooseMode());
    EXPECT_TRUE(window.actnChoose->isVisible());
    window.hide();
    EXPECT_EQ(chooseWith(window, [&] {
                  ASSERT_TRUE(window.units->locate({QStringLiteral("MERKI_ID")}, {3}));
                  QTest::keyClick(window.Grid(), Qt::Key_Return);
              }),
              3);
    EXPECT_EQ(window.units->state(), db::Dataset::State::Browse); // nothing opened for editing

    EXPECT_EQ(chooseWith(window, [&] {
                  ASSERT_TRUE(window.units->locate({QStringLiteral("MERKI_ID")}, {5}));
                  Q_EMIT window.Grid()->doubleClicked(window.Grid()->currentIndex());
              }),
              5);
    EXPECT_EQ(chooseWith(window, [&] { window.actnClose->trigger(); }), -1);
}

TEST_F(ListWindows, AnEmptyListOffersNothingToChoose)
{
    frmUnitsList window;
    window.units->setParam(QStringLiteral("MIN_ID"), 100);
    window.units->reopen();
    EXPECT_EQ(chooseWith(window, [&] {
                  EXPECT_FALSE(window.actnChoose->isEnabled());
                  window.actnChoose->trigger();
                  window.actnClose->trigger();
              }),
              -1);
}

TEST_F(ListWindows, TheColumnChooserRefusesAnEmptyChoice)
{
    TdlgListChoose chooser;
    chooser.setItems({QStringLiteral("А"), QStringLiteral("Б")}, {true, false});
    chooser.show();
    chooser.list()->item(0)->setCheckState(Qt::Unchecked);
    chooser.accept();
    EXPECT_TRUE(chooser.isVisible());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Не сте направили избор!"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtWarning);
    chooser.list()->item(1)->setCheckState(Qt::Checked);
    chooser.accept();
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.ticked(), (QList<bool>{false, true}));
}

TEST_F(ListWindows, GridLayoutsComeBackUnlessUnreadableOrOfAnotherVersion)
{
    const QString key = QStringLiteral("frmUnitsList\\grid_layout(Grid)");
    {
        frmUnitsList window;
        window.setSettings(settings.OpenSection(window.objectName()));
        window.LoadLayout();
        window.show();
        window.Grid()->setColumnShown(0, false);
        window.Grid()->horizontalHeader()->moveSection(2, 1);
        window.close();
    }
    EXPECT_FALSE(settings.ReadString(key, QString()).isEmpty());
    EXPECT_FALSE(settings.ReadString(key, QString()).contains(QLatin1Char('=')));
    const auto reopened = [&] {
        auto window = std::make_unique<frmUnitsList>();
        window->setSettings(settings.OpenSection(window->objectName()));
        window->LoadLayout();
        return window;
    };
    {
        auto window = reopened();
        EXPECT_TRUE(window->Grid()->isColumnHidden(0));
        EXPECT_EQ(window->Grid()->visibleColumns().front().field, QStringLiteral("MERKI_ZNAK"));
    }
    settings.WriteInteger(QStringLiteral("frmUnitsList\\grid_layout_version"), 3);
    EXPECT_FALSE(reopened()->Grid()->isColumnHidden(0));
    settings.WriteInteger(QStringLiteral("frmUnitsList\\grid_layout_version"), 0);
    settings.WriteString(key, QStringLiteral("!!! not a layout"));
    EXPECT_FALSE(reopened()->Grid()->isColumnHidden(0));
    settings.WriteString(key, varnex::encodeBase64Variant("VXCOLS1\nMERKI_ID\t№\t50\t0\n"));
    EXPECT_FALSE(reopened()->Grid()->isColumnHidden(0)); // not this grid's column set
}

class frmUnitsPanel : public TfrmBaseVXGrid
{
public:
    explicit frmUnitsPanel(QWidget *owner = nullptr)
        : TfrmBaseVXGrid(owner)
        , units(dm().createDataset(QStringLiteral("select * from MERKI where (1=1) order by MERKI_ID")))
    {
        units->setInsertSql(QStringLiteral(
            "insert into MERKI (MERKI_ID, MERKI_NAME, MERKI_ZNAK) values (:MERKI_ID, :MERKI_NAME, :MERKI_ZNAK)"));
        setDataset(*units, {{QStringLiteral("MERKI_NAME"), QStringLiteral("Наименование"), 200, true}});
        units->open();
    }
    std::unique_ptr<db::Dataset> units;
};

TEST_F(ListWindows, AnEditPanelLocksTheListUntilStoredOrCancelled)
{
    frmUnitsPanel window;
    window.show();
    EXPECT_FALSE(window.editPanel()->isVisible());
    window.actnNew->trigger();
    EXPECT_EQ(window.units->recNo(), window.units->recordCount() - 1);
    EXPECT_TRUE(window.editPanel()->isVisible());
    EXPECT_FALSE(window.Grid()->isEnabled());
    EXPECT_FALSE(window.actnNew->isEnabled());
    EXPECT_FALSE(window.actnEdit->isEnabled());
    EXPECT_FALSE(window.actnSearch->isEnabled());

    window.units->setValue(QStringLiteral("MERKI_ID"), 30);
    window.units->setValue(QStringLiteral("MERKI_NAME"), QStringLiteral("палет"));
    window.units->setValue(QStringLiteral("MERKI_ZNAK"), QStringLiteral("пал."));
    window.SaveClick();
    EXPECT_FALSE(window.editPanel()->isVisible());
    EXPECT_TRUE(window.Grid()->isEnabled());
    EXPECT_TRUE(dm->HasRows(QStringLiteral("select 1 from MERKI where MERKI_ID = 30")));

    // A store the database refuses shows its message and keeps the row in editing.
    window.actnNew->trigger();
    window.units->setValue(QStringLiteral("MERKI_ID"), 30);
    window.SaveClick();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    // Our sentence, with the server's own text on the lines under it.
    EXPECT_TRUE(dialogs.errors[0].startsWith(QStringLiteral("Вече има запис със същите данни.")));
    EXPECT_TRUE(dialogs.errors[0].contains(QLatin1String("\n\nviolation of PRIMARY or UNIQUE KEY"))) << dialogs.errors[0].toStdString();
    EXPECT_TRUE(window.editPanel()->isVisible());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.editPanel()->isVisible()); // what was typed is not dropped unasked
    dialogs.answers = {mrYes};
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.editPanel()->isVisible());
    EXPECT_TRUE(window.isVisible());

    // "Затвори" stores a pending edit and closes.
    window.actnNew->trigger();
    window.units->setValue(QStringLiteral("MERKI_ID"), 31);
    window.units->setValue(QStringLiteral("MERKI_NAME"), QStringLiteral("бала"));
    window.actnClose->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(dm->HasRows(QStringLiteral("select 1 from MERKI where MERKI_ID = 31")));
    EXPECT_EQ(dialogs.errors.size(), 1u);

    // One that cannot be stored is not dropped unseen: the user is told, and
    // the window closes only when the user gives it up.
    window.show();
    window.actnNew->trigger();
    window.units->setValue(QStringLiteral("MERKI_ID"), 31);
    window.units->setValue(QStringLiteral("MERKI_NAME"), QStringLiteral("чувал"));
    window.actnClose->trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.units->value(QStringLiteral("MERKI_NAME")).toString(), QStringLiteral("чувал"));
    dialogs.answers = {mrYes};
    window.actnClose->trigger();
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(dialogs.errors.size(), 3u);
    EXPECT_TRUE(dialogs.errors[2].startsWith(QStringLiteral("Вече има запис със същите данни.")));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select MERKI_NAME from MERKI where MERKI_ID = 31")).toString(),
              QStringLiteral("бала"));
}

} // namespace

namespace {

TEST_F(ListWindows, RefreshingOrSeekingNeverLosesAPendingEdit)
{
    frmUnitsPanel window;
    window.KeyField = QStringLiteral("MERKI_ID");
    window.show();
    window.actnNew->trigger();
    window.units->setValue(QStringLiteral("MERKI_ID"), 32);
    window.units->setValue(QStringLiteral("MERKI_NAME"), QStringLiteral("ролка"));
    window.actnRefresh->trigger();
    EXPECT_TRUE(dm->HasRows(QStringLiteral("select 1 from MERKI where MERKI_ID = 32")));
    EXPECT_EQ(window.units->state(), db::Dataset::State::Browse);
    EXPECT_EQ(window.units->value(QStringLiteral("MERKI_ID")).toInt(), 32);

    // A pending edit that cannot be stored stays, and so does the list.
    window.actnNew->trigger();
    window.units->setValue(QStringLiteral("MERKI_ID"), 32);
    window.actnRefresh->trigger();
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(window.units->state(), db::Dataset::State::Insert);
    EXPECT_THROW(window.LocateRecord(*window.units, QStringLiteral("MERKI_ID"), 1), varnex::Error);
    EXPECT_FALSE(window.units->controlsDisabled());
    window.units->cancel();
}

TEST_F(ListWindows, TheGridModelStaysConsistentThroughEveryChange)
{
    auto units = dm->createDataset(QStringLiteral("select * from MERKI order by MERKI_ID"));
    units->setInsertSql(QStringLiteral("insert into MERKI (MERKI_ID, MERKI_NAME) values (:MERKI_ID, :MERKI_NAME)"));
    units->setDeleteSql(QStringLiteral("delete from MERKI where MERKI_ID = :OLD_MERKI_ID"));
    DatasetModel model(*units, {{QStringLiteral("MERKI_NAME"), QStringLiteral("Наименование"), 100, true}});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    units->open();
    EXPECT_EQ(model.rowCount(), 8);
    units->append();
    units->setValue(QStringLiteral("MERKI_ID"), 40);
    units->setValue(QStringLiteral("MERKI_NAME"), QStringLiteral("ролка"));
    EXPECT_EQ(model.data(model.index(8, 0)).toString(), QStringLiteral("ролка"));
    units->post();
    units->remove();
    units->append();
    units->cancel();
    units->close();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(ListWindows, TheReadyMadeListEditsInTheGrid)
{
    auto categories = dm->createDataset(QStringLiteral("select * from CATEGORY order by ID"));
    categories->setUpdateSql(QStringLiteral("update CATEGORY set NAME = :NAME where ID = :OLD_ID"));
    categories->open();
    TfrmList list;
    list.setDataset(*categories, {{QStringLiteral("NAME"), QStringLiteral("Наименование"), 200, true}});
    EXPECT_FALSE(list.actnFilter->isEnabled());
    ASSERT_TRUE(list.Grid()->model()->setData(list.Grid()->model()->index(0, 0), QStringLiteral("Общи")));
    EXPECT_EQ(categories->state(), db::Dataset::State::Edit);
    list.actnClose->trigger();
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select NAME from CATEGORY where ID = 0")).toString(), QStringLiteral("Общи"));
}

} // namespace
