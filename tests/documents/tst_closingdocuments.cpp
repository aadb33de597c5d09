#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/EditorDriving.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmDostavki.h"
#include "documents/TfrmProdajbi.h"
#include "documents/TfrmProizvodstvo.h"
#include "support/GuiTest.h"
#include "support/StockData.h"
#include "ui/DBControls.h"

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <tuple>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const bool kDotDecimals = (QLocale::setDefault(QLocale::c()), true);
const QString kDropChanges = QStringLiteral("Отказвате ли се от направените промени?");

QString f(const char *name)
{
    return QString::fromLatin1(name);
}

enum class Exit { CancelButton, Escape, CloseBox };

// A stored delivery (20), sale (21) and production (22), each of two lines
// whose first one is worth 20, the headers' sums and paid amounts as stored.
class ClosingDocuments : public GuiDatabaseTest
{
protected:
    ClosingDocuments()
    {
        addGoods(*dm, 1, 1, QStringLiteral("Брашно"));
        addCounterparty(*dm, 2, 2, QStringLiteral("Мелница АД"), 2);
        const QDateTime yesterday = QDateTime::currentDateTime().addDays(-1);
        const std::tuple<int, int, int> documents[] = {{20, 12, 1}, {21, 11, -1}, {22, 10, -1}};
        for (const auto &[id, type, sign] : documents) {
            addDocument(*dm, id, type, type == 10 ? -1 : 2, yesterday);
            addLine(*dm, id * 10 + 1, id, 1, sign, 10, 10, 2);
            addLine(*dm, id * 10 + 2, id, 1, sign, 5, 5, 2);
            dm->ExecSQL(f("update TRANZ set TRANZ_SUM = 30, TRANZ_PLATENO = :PAID where TRANZ_ID = :ID"),
                        {{f("ID"), id}, {f("PAID"), type == 11 ? 30 : 0}});
        }
        dm->qNom().reopen();
    }

public: // the cases name the window to open
    template <class Window>
    void open(int documentId)
    {
        window = std::make_unique<Window>();
        window->OpenDocument(documentId);
        window->show();
        QApplication::setActiveWindow(window.get());
        area = window->lineArea(0);
    }
    void leave(Exit exit)
    {
        switch (exit) {
        case Exit::CancelButton:
            QTest::mouseClick(window->btnCancel(), Qt::LeftButton);
            break;
        case Exit::Escape:
            QTest::keyClick(window.get(), Qt::Key_Escape);
            break;
        case Exit::CloseBox:
            window->close();
            break;
        }
    }

protected:
    void deleteFirstLine()
    {
        ASSERT_TRUE(area->area().lines().locate({f("TRANZ_RED_ID")}, {window->model().documentId() * 10 + 1}));
        dialogs.answers = {mrYes};
        QTest::mouseClick(area->btnDeleteLine(), Qt::LeftButton);
        dialogs.shown.clear();
    }
    QVariant stored(const char *column)
    {
        return dm->QueryValue(f("select %1 from TRANZ where TRANZ_ID = :ID").arg(f(column)), QString(),
                              {{f("ID"), window->model().documentId()}});
    }

    std::unique_ptr<TfrmStockDocument> window;
    StockLineArea *area = nullptr;
};

TEST_F(ClosingDocuments, LeavingAfterADeletedLineStoresTheSumWithThePaidRuleWhicheverWayOut)
{
    struct Case
    {
        void (ClosingDocuments::*open)(int);
        int id;
        Exit exit;
        double paid;
        QString told;
    };
    const QString lowered = QStringLiteral("Платената сума надвишава новата сума на документа и е намалена на 10.00.");
    const Case cases[] = {
        {&ClosingDocuments::open<TfrmDostavki>, 20, Exit::CancelButton, 0, QString()},
        {&ClosingDocuments::open<TfrmProdajbi>, 21, Exit::Escape, 10, lowered},
        {&ClosingDocuments::open<TfrmProizvodstvo>, 22, Exit::CloseBox, 0, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        (this->*c.open)(c.id);
        deleteFirstLine();
        leave(c.exit);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(dialogs.shownTexts(), c.told.isEmpty() ? QStringList() : QStringList{c.told});
        EXPECT_DOUBLE_EQ(stored("TRANZ_SUM").toDouble(), 10);
        EXPECT_DOUBLE_EQ(stored("TRANZ_PLATENO").toDouble(), c.paid);
        dialogs.shown.clear();
    }
}

TEST_F(ClosingDocuments, HeaderEditsAreAskedAboutAndDroppedButTheSumIsWrittenAllTheSame)
{
    open<TfrmProdajbi>(21);
    deleteFirstLine();
    typeInto(window->findChild<DBEdit *>(f("edtNote")), QStringLiteral("бележка"));
    dialogs.answers = {mrNo};
    leave(Exit::CancelButton);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dialogs.shownTexts(), QStringList{kDropChanges});
    EXPECT_EQ(window->model().header().value(f("TRANZ_NOTE")).toString(), QStringLiteral("бележка"));
    EXPECT_DOUBLE_EQ(stored("TRANZ_SUM").toDouble(), 30);

    dialogs.answers = {mrYes, mrOk};
    leave(Exit::CancelButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(stored("TRANZ_NOTE").isNull());
    EXPECT_DOUBLE_EQ(stored("TRANZ_SUM").toDouble(), 10);
}

TEST_F(ClosingDocuments, ALineTypedButNotStoredIsAskedAboutAndNoKeepsItAsTyped)
{
    open<TfrmDostavki>(20);
    ASSERT_TRUE(area->area().lines().locate({f("TRANZ_RED_ID")}, {202}));
    area->area().lines().edit();
    typeInto(area->edtQuantity(), QStringLiteral("7"));
    dialogs.answers = {mrNo};
    leave(Exit::Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dialogs.shownTexts(), QStringList{kDropChanges});
    EXPECT_TRUE(area->area().isEditing());
    EXPECT_EQ(area->edtQuantity()->text(), QStringLiteral("7"));

    dialogs.answers = {mrYes};
    leave(Exit::Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dm->QueryValue(f("select TRANZ_RED_KOL1 from TRANZ_RED where TRANZ_RED_ID = 202")).toDouble(), 5);
}

TEST_F(ClosingDocuments, AHeaderChangedElsewhereMeanwhileIsToldNotWrittenOver)
{
    open<TfrmProdajbi>(21);
    deleteFirstLine();
    dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_NOTE = 'от другата' where TRANZ_ID = 21"));
    leave(Exit::CancelButton);
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(window->model().header().value(f("TRANZ_NOTE")).toString(), QStringLiteral("от другата"));
    EXPECT_DOUBLE_EQ(stored("TRANZ_SUM").toDouble(), 30);

    // Read again, the document is left with its sum written over what is stored now.
    leave(Exit::CancelButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(stored("TRANZ_NOTE").toString(), QStringLiteral("от другата"));
    EXPECT_DOUBLE_EQ(stored("TRANZ_SUM").toDouble(), 10);
}

} // namespace
