#include "db/Dataset.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "ui/DBControls.h"
#include "ui/EditRoutines.h"
#include "ui/TfrmBaseDBEditForm.h"

#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A category editor: one record, one name field.
class frmCategory : public TfrmBaseDBEditForm
{
public:
    explicit frmCategory(db::Dataset &category, QWidget *owner = nullptr)
        : TfrmBaseDBEditForm(owner)
    {
        setObjectName(QStringLiteral("frmCategory"));
        setMainDataset(category);
        name = new DBEdit(this);
        name->bind(category, QStringLiteral("NAME"));
        auto *other = new QLineEdit(this);
        layout()->addWidget(name);
        layout()->addWidget(other);
    }
    bool ValidateRecord() override
    {
        ++validations;
        return allowStore;
    }

    DBEdit *name;
    bool allowStore = true;
    int validations = 0;
};

class EditWindows : public GuiDatabaseTest
{
protected:
    EditWindows()
    {
        dm->ExecSQL(QStringLiteral("insert into CATEGORY (ID, CODE, NAME) values (5, 5, 'Храни')"));
        category = dm->createDataset(QStringLiteral("select * from CATEGORY where ID = 5"));
        category->setUpdateSql(QStringLiteral("update CATEGORY set NAME = :NAME where ID = :OLD_ID"));
        category->open();
        category->edit();
    }
    QString storedName()
    {
        return dm->QueryValue(QStringLiteral("select NAME from CATEGORY where ID = 5")).toString();
    }

    std::unique_ptr<db::Dataset> category;
};

TEST_F(EditWindows, ClosingUntouchedAsksNothing)
{
    frmCategory window(*category);
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), mrCancel);
    EXPECT_EQ(category->state(), db::Dataset::State::Browse);
}

TEST_F(EditWindows, EscWithChangesAsksAndNoKeepsThemYesDropsThem)
{
    frmCategory window(*category);
    window.show();
    window.name->setFocus();
    typeText(window.name, QStringLiteral(" и напитки"));
    dialogs.answers = {mrNo};
    QTest::keyClick(&window, Qt::Key_Escape);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Отказвате ли се от направените промени?"));
    EXPECT_EQ(dialogs.shown[0].buttons, mbYes | mbNo);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(category->value(QStringLiteral("NAME")).toString(), QStringLiteral("Храни и напитки"));

    dialogs.answers = {mrYes};
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(storedName(), QStringLiteral("Храни"));
    EXPECT_EQ(category->value(QStringLiteral("NAME")).toString(), QStringLiteral("Храни"));
}

TEST_F(EditWindows, CtrlEnterStoresAndTheEnterNeverReachesTheField)
{
    frmCategory window(*category);
    window.show();
    QApplication::setActiveWindow(&window);
    window.name->setFocus();
    typeText(window.name, QStringLiteral("!"));
    window.allowStore = false;
    QTest::keyClick(window.name, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(window.validations, 1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(storedName(), QStringLiteral("Храни"));

    window.allowStore = true;
    QTest::keyClick(window.name, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), mrOk);
    EXPECT_EQ(storedName(), QStringLiteral("Храни!"));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(EditWindows, EnterInAFieldMovesToTheNext)
{
    frmCategory window(*category);
    window.show();
    QApplication::setActiveWindow(&window);
    window.name->setFocus();
    QTest::keyClick(window.name, Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), window.name);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(EditWindows, DetailRowsAreStoredFirstAndAFailingOneStopsTheSaveAsTyped)
{
    auto units = dm->createDataset(QStringLiteral("select * from MERKI order by MERKI_ID"));
    units->setInsertSql(QStringLiteral("insert into MERKI (MERKI_ID, MERKI_NAME) values (:MERKI_ID, :MERKI_NAME)"));
    units->open();
    auto cities = dm->createDataset(QStringLiteral("select * from CITIES"));
    cities->setInsertSql(QStringLiteral("insert into CITIES (ID, COUNTRY_ID, NAME) values (:ID, 1, :NAME)"));
    cities->open();

    frmCategory window(*category);
    window.addDetailDataset(*units);
    window.addDetailDataset(*cities);
    units->append();
    units->setValue(QStringLiteral("MERKI_ID"), 20);
    units->setValue(QStringLiteral("MERKI_NAME"), QStringLiteral("бидон"));
    cities->append();
    cities->setValue(QStringLiteral("ID"), 1);
    cities->setValue(QStringLiteral("NAME"), QString(60, QLatin1Char('x'))); // too long: refused
    window.show();
    window.SaveClick();

    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(dm->HasRows(QStringLiteral("select 1 from MERKI where MERKI_ID = 20")));
    EXPECT_FALSE(dm->HasRows(QStringLiteral("select 1 from CITIES")));
    EXPECT_EQ(cities->state(), db::Dataset::State::Insert);
    EXPECT_EQ(cities->value(QStringLiteral("NAME")).toString(), QString(60, QLatin1Char('x')));
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_TRUE(dialogs.errors[0].startsWith(QStringLiteral("Текстът е по-дълъг от допустимото.")));
}

TEST_F(EditWindows, ReopenKeepingKeyFindsTheRecordAgain)
{
    category->cancel();
    auto units = dm->createDataset(QStringLiteral("select * from MERKI order by MERKI_ID"));
    units->open();
    ASSERT_TRUE(units->locate({QStringLiteral("MERKI_ID")}, {4}));
    EXPECT_EQ(KeyValues(*units, QStringLiteral("MERKI_ID")).toInt(), 4);
    EXPECT_EQ(KeyValues(*units, QStringLiteral("MERKI_ID, MERKI_BASE_ID;NOPE")).toList(), (QVariantList{4, 4}));
    EXPECT_FALSE(KeyValues(*units, QString()).isValid()); // no ID field

    dm->ExecSQL(QStringLiteral("insert into MERKI (MERKI_ID, MERKI_NAME) values (0, 'нула')"));
    ReopenKeepingKey(*units, QStringLiteral("MERKI_ID"), true);
    EXPECT_EQ(units->value(QStringLiteral("MERKI_ID")).toInt(), 4);
    EXPECT_EQ(units->recordCount(), 9);

    units->edit();
    dm->ExecSQL(QStringLiteral("delete from MERKI where MERKI_ID = 0"));
    ReopenKeepingKey(*units, QStringLiteral("MERKI_ID"), true);
    EXPECT_EQ(units->recordCount(), 9); // untouched while editing
    units->cancel();

    dm->ExecSQL(QStringLiteral("delete from MERKI where MERKI_ID = 4"));
    ReopenKeepingKey(*units, QStringLiteral("MERKI_ID"), true);
    EXPECT_EQ(units->recNo(), 0);
}

TEST(EditRoutines, PaddingFillsButNeverCuts)
{
    EXPECT_EQ(PadNumber(7, 3, QLatin1Char('0')), QStringLiteral("007"));
    EXPECT_EQ(PadNumber(1234, 3, QLatin1Char('0')), QStringLiteral("1234"));
    EXPECT_EQ(PadText(QStringLiteral("ab"), 4, QLatin1Char(' ')), QStringLiteral("  ab"));
}

} // namespace
