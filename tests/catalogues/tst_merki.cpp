#include "catalogues/TfrmMerki.h"
#include "db/Attachment.h"
#include "db/Dataset.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QStyle>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class Units : public GuiDatabaseTest
{
protected:
    Units()
    {
        window = std::make_unique<TfrmMerki>();
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    bool select(int id) { return window->qMain().locate({QStringLiteral("MERKI_ID")}, {id}); }
    void addUnit(const QString &name, const QString &sign)
    {
        window->actnNew->trigger();
        typeText(window->edtName(), name);
        typeText(window->edtSign(), sign);
        window->SaveClick();
    }
    QVariant stored(const char *sql) { return dm->QueryValue(QString::fromUtf8(sql)); }

    std::unique_ptr<TfrmMerki> window;
};

TEST_F(Units, BuiltInUnitsCanBeNeitherEditedNorDeleted)
{
    ASSERT_TRUE(select(7));
    window->actnEdit->trigger();
    QTest::keyClick(window.get(), Qt::Key_F3);
    QTest::mouseDClick(window->Grid()->viewport(), Qt::LeftButton, {},
                       window->Grid()->visualRect(window->Grid()->currentIndex()).center());
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Browse);
    EXPECT_TRUE(dialogs.shown.empty());

    window->actnDelete->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Записът не може да бъде изтрит, тъй като се използва за базова мярка!"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(stored("select count(*) from MERKI where MERKI_ID = 7").toInt(), 1);
}

TEST_F(Units, AnOwnUnitCanBeEditedAndDeleted)
{
    addUnit(QStringLiteral("кашон"), QStringLiteral("каш."));
    const int id = stored("select MERKI_ID from MERKI where MERKI_NAME = 'кашон'").toInt();
    EXPECT_GT(id, 7);
    ASSERT_TRUE(select(id));
    QTest::keyClick(window.get(), Qt::Key_F3);
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Edit);
    window->edtName()->clear();
    typeText(window->edtName(), QStringLiteral("голям кашон"));
    window->SaveClick();
    EXPECT_EQ(stored("select MERKI_NAME from MERKI where MERKI_ID > 7").toString(), QStringLiteral("голям кашон"));

    dialogs.answers = {mrYes};
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(stored("select count(*) from MERKI where MERKI_ID > 7").toInt(), 0);
}

TEST_F(Units, AUnitThatGoodsUseIsNotDeleted)
{
    addUnit(QStringLiteral("кашон"), QStringLiteral("каш."));
    const int id = stored("select MERKI_ID from MERKI where MERKI_NAME = 'кашон'").toInt();
    dm->ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_NAME, NOM_MERKI_ID1, NOM_MERKI_ID2) values (5, 'Олио', 3, :ID)"),
                {{QStringLiteral("ID"), id}});
    ASSERT_TRUE(select(id));
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_TRUE(dialogs.shown.empty()); // refused before the question
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Мярката не може да се изтрие: използва се в номенклатурата (1 запис)."));
    EXPECT_EQ(stored("select count(*) from MERKI where MERKI_ID > 7").toInt(), 1);
    EXPECT_EQ(window->qMain().value(QStringLiteral("MERKI_ID")).toInt(), id);

    dm->ExecSQL(QStringLiteral("update NOM set NOM_MERKI_ID2 = -1 where NOM_ID = 5"));
    dialogs.answers = {mrYes};
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(stored("select count(*) from MERKI where MERKI_ID > 7").toInt(), 0);
}

TEST_F(Units, TheEditorsTakeNoMoreThanTheColumnsHold)
{
    EXPECT_EQ(window->edtName()->maxLength(), 40);
    EXPECT_EQ(window->edtSign()->maxLength(), 10);
    addUnit(QString(45, QChar(0x0436)), QStringLiteral("многознаков"));
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(stored("select MERKI_NAME from MERKI where MERKI_ID > 7").toString(), QString(40, QChar(0x0436)));
    EXPECT_EQ(stored("select MERKI_ZNAK from MERKI where MERKI_ID > 7").toString(), QStringLiteral("многознако"));
}

TEST_F(Units, AnEditOfAUnitDeletedAtAnotherWorkstationIsNotShownAsStored)
{
    addUnit(QStringLiteral("кашон"), QStringLiteral("каш."));
    const int id = stored("select MERKI_ID from MERKI where MERKI_NAME = 'кашон'").toInt();
    {
        db::Attachment other;
        other.attach(database.path(), QStringLiteral("SYSDBA"), QStringLiteral("x"));
        db::Transaction transaction(other);
        db::Statement remove(other, transaction);
        remove.prepare(QStringLiteral("delete from MERKI where MERKI_ID = :ID"));
        remove.setParameter(QStringLiteral("ID"), id);
        remove.execute();
        transaction.commit();
    }
    ASSERT_TRUE(select(id));
    QTest::keyClick(window.get(), Qt::Key_F3);
    typeText(window->edtName(), QStringLiteral(" голям"));
    window->SaveClick();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Записът е променен или изтрит от друг потребител. Списъкът е обновен."));
    EXPECT_FALSE(window->editPanel()->isVisible());
    EXPECT_FALSE(select(id));
    EXPECT_EQ(window->Grid()->model()->rowCount(), 7);
    EXPECT_EQ(stored("select count(*) from MERKI where MERKI_ID > 7").toInt(), 0);
}

TEST_F(Units, TheNameIsCheckedBeforeTheSign)
{
    window->actnNew->trigger();
    window->SaveClick();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Полето \"Пълно наименование\" трябва да бъде попълнено"));
    EXPECT_EQ(QApplication::focusWidget(), window->edtName());

    typeText(window->edtName(), QStringLiteral("чувал"));
    window->SaveClick();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Полето \"Означение\" трябва да бъде попълнено!"));
    EXPECT_EQ(QApplication::focusWidget(), window->edtSign());
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Insert);
    EXPECT_EQ(stored("select count(*) from MERKI").toInt(), 8);
}

TEST_F(Units, ANameOrSignOfBlanksOnlyCountsAsEmpty)
{
    window->actnNew->trigger();
    typeText(window->edtName(), QStringLiteral("   "));
    typeText(window->edtSign(), QStringLiteral("бр."));
    window->SaveClick();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Полето \"Пълно наименование\" трябва да бъде попълнено"));

    window->edtName()->clear();
    typeText(window->edtName(), QStringLiteral("чувал"));
    window->edtSign()->clear();
    typeText(window->edtSign(), QStringLiteral(" \t "));
    window->SaveClick();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Полето \"Означение\" трябва да бъде попълнено!"));
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Insert);
    EXPECT_EQ(stored("select count(*) from MERKI").toInt(), 8);
}

TEST_F(Units, TheToolbarOffersNoSearchAndPrintsWithAPrinter)
{
    EXPECT_FALSE(window->actnSearch->isVisible());
    for (QToolButton *button : window->findChildren<QToolButton *>())
        EXPECT_FALSE(button->isVisible() && button->defaultAction() == window->actnSearch);
    const QImage print = window->actnPrint->icon().pixmap(16, 16).toImage();
    const QImage save = window->style()->standardIcon(QStyle::SP_DialogSaveButton).pixmap(16, 16).toImage();
    EXPECT_FALSE(print.isNull());
    EXPECT_NE(print.convertToFormat(QImage::Format_ARGB32), save.convertToFormat(QImage::Format_ARGB32));
}

TEST_F(Units, ANewUnitIsItsOwnBaseEvenAfterEditingAnother)
{
    addUnit(QStringLiteral("кашон"), QStringLiteral("каш."));
    ASSERT_TRUE(select(stored("select MERKI_ID from MERKI where MERKI_NAME = 'кашон'").toInt()));
    window->actnEdit->trigger();
    window->SaveClick();
    addUnit(QStringLiteral("палет"), QStringLiteral("пал."));
    EXPECT_EQ(stored("select count(*) from MERKI where MERKI_NAME = 'палет' and MERKI_BASE_ID = MERKI_ID").toInt(), 1);
    // The shared units list has it at once.
    EXPECT_TRUE(dm->qMerki().locate({QStringLiteral("MERKI_NAME")}, {QStringLiteral("палет")}));
}

TEST_F(Units, TheFormulaColumnReadsAsUsersExpect)
{
    EXPECT_EQ(TfrmMerki::formula(1, 1.0, QStringLiteral("брой")), QStringLiteral("Базова"));
    EXPECT_EQ(TfrmMerki::formula(0, 12.0, QStringLiteral("брой")), QStringLiteral("= 12 * брой"));
    EXPECT_EQ(TfrmMerki::formula(0, 0.5, QStringLiteral("килограм")), QStringLiteral("= 0.5 * килограм"));
    EXPECT_EQ(TfrmMerki::formula(QVariant(), QVariant(), QStringLiteral("брой")), QString());
    ASSERT_TRUE(select(6)); // the ton, 1000 kilograms
    EXPECT_EQ(window->qMain().value(QStringLiteral("MERKI_FORMULA")).toString(), QStringLiteral("= 1000 * килограм"));
}

TEST_F(Units, TheSentinelIsListedNowhere)
{
    EXPECT_FALSE(select(-1));
    EXPECT_FALSE(dm->qMerki().locate({QStringLiteral("MERKI_ID")}, {-1}));
    EXPECT_EQ(window->qMain().recordCount(), 7);
    EXPECT_TRUE(window->Grid()->isColumnHidden(2));
}

} // namespace
