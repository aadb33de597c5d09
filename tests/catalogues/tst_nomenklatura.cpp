#include "catalogues/BarcodeListEditor.h"
#include "catalogues/TfrmNomenklatura.h"
#include "data/GoodsBarcodes.h"
#include "db/Attachment.h"
#include "db/Dataset.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/QuickSearch.h"
#include "ui/TDictionary.h"
#include "ui/TNotifyPopup.h"

#include <QAction>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class Goods : public GuiDatabaseTest
{
protected:
    void addCategory(int id, int code, const QString &name)
    {
        dm->ExecSQL(QStringLiteral("insert into CATEGORY (ID, CODE, NAME) values (:ID, :CODE, :NAME)"),
                    {{QStringLiteral("ID"), id}, {QStringLiteral("CODE"), code}, {QStringLiteral("NAME"), name}});
    }
    void setCategory(int goodsId, int categoryId)
    {
        dm->ExecSQL(QStringLiteral("update NOM set NOM_CATEGORY_ID = :CAT where NOM_ID = :ID"),
                    {{QStringLiteral("CAT"), categoryId}, {QStringLiteral("ID"), goodsId}});
    }
    // The window over what the test put into the database.
    void open()
    {
        dm->RefreshDataSet(dm->qCategory());
        dm->RefreshDataSet(dm->qNom());
        window = std::make_unique<TfrmNomenklatura>();
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    bool select(int id) { return window->qMain().locate({QStringLiteral("NOM_ID")}, {id}); }
    static void choose(QComboBox *combo, const QString &text)
    {
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }
    void addThroughWindow(const QString &name, const QString &unit = QStringLiteral("брой"))
    {
        window->actnNew->trigger();
        typeText(window->edtName(), name);
        choose(window->cbBaseUnit(), unit);
        window->SaveClick();
    }
    QVariant stored(const QString &sql, const data::SqlParams &params = {}) { return dm->QueryValue(sql, {}, params); }
    QString shownText(int column) const
    {
        return window->Grid()->model()->index(window->qMain().recNo(), column).data().toString();
    }
    QStringList notices() const
    {
        QStringList texts;
        for (const TNotifyPopup *popup : window->findChildren<TNotifyPopup *>())
            texts << popup->text();
        return texts;
    }

    std::unique_ptr<TfrmNomenklatura> window;
};

TEST_F(Goods, ANewItemIsStoredWithTheDefaultsAndReachesTheSharedList)
{
    open();
    window->actnNew->trigger();
    EXPECT_EQ(QApplication::focusWidget(), window->cbCategoryName());
    EXPECT_TRUE(window->chkInReport()->isChecked());
    EXPECT_FALSE(window->chkPackaging()->isChecked());
    EXPECT_TRUE(window->rbNoSecondUnit()->isChecked());
    EXPECT_FALSE(window->cbSecondUnit()->isEnabled());
    EXPECT_FALSE(window->quickSearch()->edit()->isEnabled());
    typeText(window->edtName(), QStringLiteral("Олио"));
    choose(window->cbBaseUnit(), QStringLiteral("литър"));
    window->edtCode()->setFocus();
    window->edtCode()->clear();
    typeText(window->edtCode(), QStringLiteral("42"));
    window->edtPrice()->setFocus();
    typeText(window->edtPrice(), QStringLiteral("3,5"));
    window->SaveClick();
    ASSERT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(window->quickSearch()->edit()->isEnabled());

    const QVariant id = stored(QStringLiteral("select NOM_ID from NOM where NOM_NAME = 'Олио'"));
    ASSERT_FALSE(id.isNull());
    EXPECT_GT(id.toInt(), 0);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from NOM where NOM_ID = :ID and NOM_MERKI_ID1 = 3 and "
                                    "NOM_MERKI_ID2 = -1 and NOM_INREPORT = 1 and NOM_AMBALAJ = 0 and SELL_PRICE = 3.5 and NOM_CODE = 42"),
                     {{QStringLiteral("ID"), id}})
                  .toInt(),
              1);
    ASSERT_TRUE(select(id.toInt()));
    EXPECT_EQ(shownText(3), QStringLiteral("3.50"));
    EXPECT_EQ(shownText(4), QStringLiteral("литър"));
    EXPECT_EQ(shownText(5), QString()); // no secondary unit
    EXPECT_EQ(shownText(6), QStringLiteral(" не "));
    EXPECT_EQ(shownText(7), QStringLiteral(" да "));
    EXPECT_TRUE(dm->qNom().locate({QStringLiteral("NOM_ID")}, {id}));
}

TEST_F(Goods, TheNameIsCheckedBeforeTheBaseUnitAndBlanksAreNoName)
{
    open();
    window->actnNew->trigger();
    typeText(window->edtName(), QStringLiteral("   "));
    window->SaveClick();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Полето \"Название\" трябва да бъде попълнено"));
    EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(QApplication::focusWidget(), window->edtName());

    window->edtName()->clear();
    typeText(window->edtName(), QStringLiteral("Захар"));
    window->SaveClick();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Моля, изберете основна мярка за артикула !"));
    EXPECT_EQ(QApplication::focusWidget(), window->cbBaseUnit());
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Insert);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from NOM")).toInt(), 1); // the sentinel only
}

TEST_F(Goods, TheCodeIsProposedOnlyWhenEmpty)
{
    open();
    window->actnNew->trigger();
    window->edtCode()->setFocus();
    EXPECT_EQ(window->qMain().value(QStringLiteral("NOM_CODE")).toInt(), 1); // an empty catalogue
    EXPECT_EQ(window->edtCode()->text(), QStringLiteral("000001"));
    dialogs.givingUpChanges([&] { window->CancelClick(); });
    window.reset();

    addGoods(*dm, 1, 1, QStringLiteral("Брашно"));
    addGoods(*dm, 2, 2, QStringLiteral("Ориз"));
    addGoods(*dm, 3, 7, QStringLiteral("Боб"));
    addGoods(*dm, 4, 0, QStringLiteral("Леща"));
    dm->ExecSQL(QStringLiteral("update NOM set NOM_CODE = null where NOM_ID = 4"));
    open();
    window->actnNew->trigger();
    window->edtCode()->setFocus();
    EXPECT_EQ(window->qMain().value(QStringLiteral("NOM_CODE")).toInt(), 8);
    dialogs.givingUpChanges([&] { window->CancelClick(); });

    ASSERT_TRUE(select(2));
    window->actnEdit->trigger();
    window->edtCode()->setFocus();
    EXPECT_EQ(window->qMain().value(QStringLiteral("NOM_CODE")).toInt(), 2);
    dialogs.givingUpChanges([&] { window->CancelClick(); });
    ASSERT_TRUE(select(4)); // no code yet: entering the field gives it one
    window->actnEdit->trigger();
    window->edtCode()->setFocus();
    window->SaveClick();
    EXPECT_EQ(stored(QStringLiteral("select NOM_CODE from NOM where NOM_ID = 4")).toInt(), 8);
}

TEST_F(Goods, TheFlagsFollowTheRowBeingEdited)
{
    addGoods(*dm, 1, 1, QStringLiteral("Бира"), 1.2, true);
    dm->ExecSQL(QStringLiteral("update NOM set NOM_AMBALAJ = 1 where NOM_ID = 1"));
    addGoods(*dm, 2, 2, QStringLiteral("Вино"), 8, false);
    open();
    ASSERT_TRUE(select(1));
    window->actnEdit->trigger();
    EXPECT_TRUE(window->chkInReport()->isChecked());
    EXPECT_TRUE(window->chkPackaging()->isChecked());
    window->SaveClick();

    ASSERT_TRUE(select(2));
    QTest::keyClick(window.get(), Qt::Key_F3);
    ASSERT_EQ(window->qMain().state(), db::Dataset::State::Edit);
    EXPECT_EQ(QApplication::focusWidget(), window->cbCategoryName());
    EXPECT_FALSE(window->chkInReport()->isChecked());
    EXPECT_FALSE(window->chkPackaging()->isChecked());
    window->SaveClick();
    EXPECT_EQ(stored(QStringLiteral("select NOM_INREPORT + NOM_AMBALAJ from NOM where NOM_ID = 2")).toInt(), 0);

    window->actnEdit->trigger();
    window->chkPackaging()->click();
    window->SaveClick();
    EXPECT_EQ(stored(QStringLiteral("select NOM_AMBALAJ from NOM where NOM_ID = 2")).toInt(), 1);
    EXPECT_EQ(shownText(6), QStringLiteral(" да "));
}

TEST_F(Goods, TheSecondaryUnitIsOffered)
{
    addGoods(*dm, 1, 1, QStringLiteral("Яйца"));
    dm->ExecSQL(QStringLiteral("update NOM set NOM_MERKI_ID2 = 7 where NOM_ID = 1"));
    addGoods(*dm, 2, 2, QStringLiteral("Мляко"));
    open();
    ASSERT_TRUE(select(1));
    EXPECT_EQ(shownText(5), QStringLiteral("пакет"));
    window->actnEdit->trigger();
    EXPECT_TRUE(window->rbSecondUnit()->isChecked());
    EXPECT_TRUE(window->cbSecondUnit()->isEnabled());
    window->rbNoSecondUnit()->click();
    EXPECT_FALSE(window->cbSecondUnit()->isEnabled());
    window->SaveClick();
    EXPECT_EQ(stored(QStringLiteral("select NOM_MERKI_ID2 from NOM where NOM_ID = 1")).toInt(), -1);
    EXPECT_EQ(shownText(5), QString());

    ASSERT_TRUE(select(2));
    window->actnEdit->trigger();
    EXPECT_TRUE(window->rbNoSecondUnit()->isChecked());
    window->rbSecondUnit()->click();
    ASSERT_TRUE(window->cbSecondUnit()->isEnabled());
    choose(window->cbSecondUnit(), QStringLiteral("литър"));
    window->SaveClick();
    EXPECT_EQ(stored(QStringLiteral("select NOM_MERKI_ID2 from NOM where NOM_ID = 2")).toInt(), 3);
}

TEST_F(Goods, TheCategoryFilterNarrowsTheListAndNamesItInTheTitle)
{
    addCategory(5, 1, QStringLiteral("Напитки"));
    addCategory(6, 2, QStringLiteral("Храни"));
    addGoods(*dm, 1, 1, QStringLiteral("Бира"));
    addGoods(*dm, 2, 2, QStringLiteral("Вино"));
    addGoods(*dm, 3, 3, QStringLiteral("Хляб"));
    setCategory(1, 5);
    setCategory(2, 5);
    setCategory(3, 6);
    open();
    ASSERT_TRUE(select(3));
    EXPECT_EQ(shownText(0), QStringLiteral("Храни"));
    EXPECT_EQ(shownText(1), QStringLiteral("000003"));

    window->actnFilter->trigger();
    EXPECT_TRUE(window->cbFilterCategory()->view()->isVisible());
    window->cbFilterCategory()->hidePopup();
    EXPECT_EQ(QApplication::focusWidget(), window->cbFilterCategory());
    choose(window->cbFilterCategory(), QStringLiteral("Напитки"));
    window->actnRefresh->trigger();
    EXPECT_EQ(window->qMain().recordCount(), 2);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Стоки [от категория Напитки]"));
    EXPECT_TRUE(window->actnRemoveFilter->isEnabled());

    choose(window->cbFilterCategory(), QStringLiteral("Храни"));
    window->actnRefresh->trigger();
    EXPECT_EQ(window->qMain().recordCount(), 1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Стоки [от категория Храни]"));

    window->cbFilterCategory()->setCurrentIndex(0);
    window->actnRefresh->trigger();
    EXPECT_EQ(window->qMain().recordCount(), 3);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Стоки"));

    choose(window->cbFilterCategory(), QStringLiteral("Напитки"));
    window->actnRefresh->trigger();
    window->actnRemoveFilter->trigger();
    EXPECT_EQ(window->qMain().recordCount(), 3);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Стоки"));
    EXPECT_EQ(window->cbFilterCategory()->currentText(), QString());
}

TEST_F(Goods, TheCategoryIsChosenByCodeOrNameAndBothMoveTogether)
{
    addCategory(5, 12, QStringLiteral("Напитки"));
    addCategory(6, 34, QStringLiteral("Храни"));
    open();
    window->actnNew->trigger();
    choose(window->cbCategoryCode(), QStringLiteral("34"));
    EXPECT_EQ(window->cbCategoryName()->currentText(), QStringLiteral("Храни"));
    choose(window->cbCategoryName(), QStringLiteral("Напитки"));
    EXPECT_EQ(window->cbCategoryCode()->currentText(), QStringLiteral("12"));
    const QAbstractItemModel *listed = window->cbCategoryName()->model();
    ASSERT_EQ(listed->columnCount(), 2);
    EXPECT_EQ(listed->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Наименование"));
    EXPECT_EQ(listed->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Код"));
    EXPECT_EQ(listed->index(1, 1).data().toString(), QStringLiteral("34"));
    typeText(window->edtName(), QStringLiteral("Айрян"));
    choose(window->cbBaseUnit(), QStringLiteral("литър"));
    window->SaveClick();
    EXPECT_EQ(stored(QStringLiteral("select NOM_CATEGORY_ID from NOM where NOM_NAME = 'Айрян'")).toInt(), 5);

    // A category added meanwhile is offered with both columns too.
    addCategory(7, 56, QStringLiteral("Химия"));
    dm->RefreshDataSet(dm->qCategory());
    EXPECT_EQ(window->cbCategoryCode()->model()->index(2, 1).data().toString(), QStringLiteral("Химия"));
    EXPECT_GE(window->cbFilterCategory()->findText(QStringLiteral("Химия")), 0);
}

TEST_F(Goods, AnItemWhoseCategoryWasDeletedElsewhereCanStillBeEdited)
{
    addCategory(5, 1, QStringLiteral("Напитки"));
    addGoods(*dm, 1, 1, QStringLiteral("Бира"));
    setCategory(1, 5);
    dm->RefreshDataSet(dm->qCategory());
    dm->ExecSQL(QStringLiteral("delete from CATEGORY where ID = 5"));
    open();
    ASSERT_TRUE(select(1));
    EXPECT_EQ(shownText(0), QString());
    window->actnEdit->trigger();
    EXPECT_EQ(window->cbCategoryName()->currentText(), QString());
    typeText(window->edtName(), QStringLiteral(" светла"));
    window->SaveClick();
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(stored(QStringLiteral("select NOM_NAME from NOM where NOM_ID = 1")).toString(), QStringLiteral("Бира светла"));
}

TEST_F(Goods, ItemsUsedByStockLinesAreNotDeleted)
{
    addGoods(*dm, 1, 1, QStringLiteral("Бира"));
    addGoods(*dm, 2, 2, QStringLiteral("Вино"));
    addDocument(*dm, 1, 1, 1, QDateTime::currentDateTime());
    addLine(*dm, 1, 1, 1, 1, 10, 0);
    open();
    ASSERT_TRUE(select(1));
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_TRUE(dialogs.shown.empty()); // refused before the question
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Артикулът не може да се изтрие: използва се в документите (1 запис)."));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from NOM where NOM_ID = 1")).toInt(), 1);
    EXPECT_TRUE(window->quickSearch()->edit()->isEnabled());

    ASSERT_TRUE(select(2));
    dialogs.answers = {mrYes};
    QTest::keyClick(window.get(), Qt::Key_F4);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Моля, потвърдете изтриване!"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from NOM where NOM_ID = 2")).toInt(), 0);
    EXPECT_FALSE(dm->qNom().locate({QStringLiteral("NOM_ID")}, {2}));
    EXPECT_TRUE(window->quickSearch()->edit()->isEnabled());
}

TEST_F(Goods, TypedTextIsStoredAndFoundAsTyped)
{
    open();
    const QString quote = QStringLiteral("Вино 'Мелник'");
    const QString injection = QStringLiteral("'); DELETE FROM NOM; --");
    addThroughWindow(quote);
    addThroughWindow(injection);
    ASSERT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(stored(QStringLiteral("select count(*) from NOM where NOM_NAME = :N"), {{QStringLiteral("N"), quote}}).toInt(), 1);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from NOM where NOM_NAME = :N"), {{QStringLiteral("N"), injection}}).toInt(), 1);

    window->actnSearch->setChecked(true);
    typeText(window->quickSearch()->edit(), QStringLiteral("мелник'"));
    QTest::qWait(600); // the quick search waits for typing to pause
    EXPECT_EQ(window->qMain().value(QStringLiteral("NOM_NAME")).toString(), quote);
    window->quickSearch()->edit()->setText(QStringLiteral("delete from"));
    window->quickSearch()->findButton()->click();
    EXPECT_EQ(window->qMain().value(QStringLiteral("NOM_NAME")).toString(), injection);
    EXPECT_TRUE(notices().isEmpty());

    // Over-long input is cut by the editor, not refused by the server.
    EXPECT_EQ(window->edtName()->maxLength(), 40);
    window->actnNew->trigger();
    typeText(window->edtName(), QString(45, QChar(0x0436)));
    choose(window->cbBaseUnit(), QStringLiteral("брой"));
    window->edtCode()->setFocus();
    window->edtCode()->clear();
    typeText(window->edtCode(), QStringLiteral("12x345678901"));
    window->SaveClick();
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(stored(QStringLiteral("select count(*) from NOM where NOM_NAME = :N"),
                     {{QStringLiteral("N"), QString(40, QChar(0x0436))}})
                  .toInt(),
              1);
    EXPECT_EQ(stored(QStringLiteral("select NOM_CODE from NOM where NOM_NAME = :N"),
                     {{QStringLiteral("N"), QString(40, QChar(0x0436))}})
                  .toInt(),
              123456789);
}

TEST_F(Goods, QuickSearchFindsNextAndTellsWhenThereIsNoMore)
{
    addGoods(*dm, 1, 1, QStringLiteral("Сирене краве"));
    addGoods(*dm, 2, 2, QStringLiteral("Масло"));
    addGoods(*dm, 3, 3, QStringLiteral("Сирене овче"));
    addGoods(*dm, 4, 4, QStringLiteral("Яйца")); // listed last
    open();
    window->actnSearch->setChecked(true);
    EXPECT_TRUE(window->searchPanel()->isVisible());
    window->quickSearch()->edit()->setText(QStringLiteral("СИРЕНЕ"));
    window->quickSearch()->findButton()->click();
    EXPECT_EQ(window->qMain().value(QStringLiteral("NOM_ID")).toInt(), 1);
    window->quickSearch()->nextButton()->click();
    EXPECT_EQ(window->qMain().value(QStringLiteral("NOM_ID")).toInt(), 3);
    window->quickSearch()->nextButton()->click();
    EXPECT_EQ(notices(), QStringList{QStringLiteral("Друг такъв запис не е намерен!")});
    EXPECT_EQ(window->qMain().value(QStringLiteral("NOM_ID")).toInt(), 3); // the user keeps their place

    window->quickSearch()->edit()->setText(QStringLiteral("кашкавал"));
    QTest::keyClick(window->quickSearch()->edit(), Qt::Key_Return);
    EXPECT_TRUE(notices().contains(QStringLiteral("Такъв запис не е намерен!")));
    EXPECT_EQ(window->qMain().value(QStringLiteral("NOM_ID")).toInt(), 3);

    window->quickSearch()->edit()->clear();
    window->quickSearch()->findButton()->click();
    EXPECT_EQ(window->qMain().recNo(), 0);
    // The search bar is remembered open for the next time.
    EXPECT_TRUE(settings.ReadBool(QStringLiteral("ShowQuickSearch"), false));
}

TEST_F(Goods, AStockDocumentChoosesAnItem)
{
    addGoods(*dm, 1, 1, QStringLiteral("Бира"));
    addGoods(*dm, 2, 2, QStringLiteral("Вино"));
    dm->RefreshDataSet(dm->qNom());
    TfrmBaseForm document;
    auto *goods = document.CreateChildForm<TfrmNomenklatura>();
    PutParam(QStringLiteral("NOM::SHOWCMD"), QStringLiteral("CHOOSE"));
    QTimer::singleShot(5000, goods, [goods] { goods->done(QDialog::Rejected); });
    bool searchKeptItOpen = false;
    QTimer::singleShot(200, goods, [&] {
        ASSERT_TRUE(goods->chooseMode());
        EXPECT_TRUE(goods->actnChoose->isVisible());
        goods->actnSearch->setChecked(true);
        goods->quickSearch()->edit()->setFocus();
        goods->quickSearch()->edit()->setText(QStringLiteral("вино"));
        QTest::keyClick(goods->quickSearch()->edit(), Qt::Key_Return);
        searchKeptItOpen = goods->isVisible();
        goods->Grid()->setFocus();
        QTest::keyClick(goods->Grid(), Qt::Key_Return);
    });
    EXPECT_EQ(goods->exec(), QDialog::Accepted);
    EXPECT_TRUE(searchKeptItOpen);
    EXPECT_EQ(goods->ChosenKey(), 2);
    delete goods;
}

TEST_F(Goods, BarcodesAreCheckedAndStoredWithTheItem)
{
    addGoods(*dm, 1, 1, QStringLiteral("Бира"));
    addGoods(*dm, 2, 2, QStringLiteral("Вино"));
    addBarcode(*dm, 1, QStringLiteral("4006381333931"));
    open();
    ASSERT_TRUE(select(2));
    window->actnEdit->trigger();
    QLineEdit *code = window->barcodes()->edtCode();
    const struct
    {
        QString typed;
        QString refusal;
    } scans[] = {
        {QStringLiteral("96385074"), QString()},
        {QStringLiteral("4006381333932"), QStringLiteral("Баркодът \"4006381333932\" е с грешна контролна цифра (трябва да е 1).")},
        {QStringLiteral("4006381333931"), QStringLiteral("Баркодът \"4006381333931\" вече е на артикул \"Бира\".")},
        {QStringLiteral("ВН-1"), QString()},
    };
    for (const auto &scan : scans) {
        code->setFocus();
        code->clear();
        typeText(code, scan.typed);
        QTest::keyClick(code, Qt::Key_Return);
        EXPECT_EQ(dialogs.errorTexts().value(0), scan.refusal) << scan.typed.toStdString();
        EXPECT_EQ(code->text(), scan.refusal.isEmpty() ? QString() : scan.typed); // a refused code stays as typed
        dialogs.errors.clear();
    }
    typeText(code, QStringLiteral("036000291452")); // typed, not added: stored all the same
    window->SaveClick();
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errorTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(data::barcodesOf(*dm, 2),
              (QStringList{QStringLiteral("96385074"), QStringLiteral("ВН-1"), QStringLiteral("036000291452")}));

    window->actnEdit->trigger();
    window->barcodes()->list()->setCurrentRow(0);
    window->barcodes()->btnRemove()->click();
    typeText(code, QStringLiteral("4006381333931")); // another item's code refuses the whole change
    window->SaveClick();
    EXPECT_EQ(dialogs.errorTexts(), QStringList{QStringLiteral("Баркодът \"4006381333931\" вече е на артикул \"Бира\".")});
    EXPECT_EQ(window->qMain().state(), db::Dataset::State::Edit);
    EXPECT_EQ(data::barcodesOf(*dm, 2).size(), 3);
    code->clear();
    window->SaveClick();
    EXPECT_EQ(data::barcodesOf(*dm, 2), (QStringList{QStringLiteral("ВН-1"), QStringLiteral("036000291452")}));
}

TEST_F(Goods, AScannedCodeInTheSearchFindsItsItem)
{
    addGoods(*dm, 1, 1, QStringLiteral("Бира"));
    addGoods(*dm, 2, 2, QStringLiteral("Вино"));
    addBarcode(*dm, 2, QStringLiteral("4006381333931"));
    open();
    ASSERT_TRUE(select(1));
    window->actnSearch->setChecked(true);
    QLineEdit *search = window->quickSearch()->edit();
    typeText(search, QStringLiteral("4006381333931"));
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(window->qMain().value(QStringLiteral("NOM_ID")).toInt(), 2);
    EXPECT_TRUE(notices().isEmpty());

    search->clear();
    typeText(search, QStringLiteral("96385074"));
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(window->qMain().value(QStringLiteral("NOM_ID")).toInt(), 2);
    EXPECT_EQ(notices(), QStringList{QStringLiteral("Няма артикул с баркод \"96385074\".")});
}

} // namespace
