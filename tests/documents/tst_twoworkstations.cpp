#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/ScrapDocument.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmBrak.h"
#include "support/GuiTest.h"
#include "support/NetworkServer.h"
#include "support/StockData.h"
#include "ui/DBControls.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace documents;
using namespace testing_support;

namespace {

const QString kChangedElsewhere = QStringLiteral("Записът е променен или изтрит от друг потребител. Списъкът е обновен.");

QString f(const char *name)
{
    return QString::fromLatin1(name);
}

// Two workstations on one database of the loopback server, and a scrap
// document of two lines both of them open.
class TwoWorkstations : public GuiTest
{
protected:
    void SetUp() override
    {
        REQUIRE_SERVER();
        database = std::make_unique<ServedDatabase>();
        first = connect();
        second = connect();
        addGoods(*first, 1, 1, QStringLiteral("Брашно"));
        addDocument(*first, 5, 13, -1, QDateTime::currentDateTime());
        addLine(*first, 51, 5, 1, -1, 2, 2, 1.5);
        addLine(*first, 52, 5, 1, -1, 3, 3, 1.0);
        for (Tdm *station : {first.get(), second.get()})
            station->qNom().reopen();
    }
    void TearDown() override { SetDataModule(nullptr); }

    std::unique_ptr<Tdm> connect()
    {
        auto station = std::make_unique<Tdm>(messages);
        station->setDatabase(database->name());
        station->ApplyConnectionConfig();
        if (!station->Connect())
            throw std::runtime_error("cannot connect to the served database");
        return station;
    }
    static QString conflict(const std::function<void()> &write)
    {
        try {
            write();
        } catch (const db::RecordConflict &refused) {
            return refused.message();
        }
        return QString();
    }
    QVariant stored(const QString &sql) { return first->QueryValue(sql); }

    RecordedMessages messages;
    std::unique_ptr<ServedDatabase> database;
    std::unique_ptr<Tdm> first;
    std::unique_ptr<Tdm> second;
};

TEST_F(TwoWorkstations, AHeaderSavedOverAnotherWorkstationsSaveIsRefused)
{
    DocumentModel here(*first, scrapKind());
    DocumentModel there(*second, scrapKind());
    here.openExisting(5);
    there.openExisting(5);
    here.header().setValue(f("TRANZ_NOTE"), QStringLiteral("от първата"));
    here.save();

    there.header().setValue(f("TRANZ_NOTE"), QStringLiteral("от втората"));
    EXPECT_EQ(conflict([&] { there.save(); }), kChangedElsewhere);
    EXPECT_EQ(stored(f("select TRANZ_NOTE from TRANZ where TRANZ_ID = 5")).toString(), QStringLiteral("от първата"));
    // The document was read again; edited afresh, it is stored.
    there.resumeEditing();
    EXPECT_EQ(there.header().value(f("TRANZ_NOTE")).toString(), QStringLiteral("от първата"));
    there.header().setValue(f("TRANZ_NOTE"), QStringLiteral("от втората"));
    there.save();
    EXPECT_EQ(stored(f("select TRANZ_NOTE from TRANZ where TRANZ_ID = 5")).toString(), QStringLiteral("от втората"));
}

TEST_F(TwoWorkstations, ALineChangedOrDeletedElsewhereIsNotWrittenOver)
{
    DocumentModel here(*first, scrapKind());
    DocumentModel there(*second, scrapKind());
    here.openExisting(5);
    there.openExisting(5);
    db::Dataset &mine = here.area(0).lines();
    db::Dataset &theirs = there.area(0).lines();
    ASSERT_TRUE(mine.locate({f("TRANZ_RED_ID")}, {51}));
    ASSERT_TRUE(theirs.locate({f("TRANZ_RED_ID")}, {51}));
    mine.edit();
    mine.setValue(f("TRANZ_RED_KOL1"), 7.0);
    here.area(0).storeLine();

    theirs.edit();
    theirs.setValue(f("TRANZ_RED_KOL1"), 9.0);
    EXPECT_EQ(conflict([&] { there.area(0).storeLine(); }), kChangedElsewhere);
    EXPECT_EQ(stored(f("select TRANZ_RED_KOL1 from TRANZ_RED where TRANZ_RED_ID = 51")).toDouble(), 7);
    EXPECT_EQ(theirs.value(f("TRANZ_RED_KOL1")).toDouble(), 7);

    ASSERT_TRUE(mine.locate({f("TRANZ_RED_ID")}, {52}));
    here.area(0).deleteLine();
    ASSERT_TRUE(theirs.locate({f("TRANZ_RED_ID")}, {52}));
    EXPECT_EQ(conflict([&] { there.area(0).deleteLine(); }), kChangedElsewhere);
    EXPECT_EQ(theirs.recordCount(), 1);
}

TEST_F(TwoWorkstations, ADocumentDestroyedElsewhereIsNotStoredAgain)
{
    DocumentModel there(*second, scrapKind());
    there.openExisting(5);
    first->DeleteDocument(5);
    there.header().setValue(f("TRANZ_NOTE"), QStringLiteral("късно"));
    EXPECT_EQ(conflict([&] { there.save(); }), kChangedElsewhere);
    EXPECT_EQ(stored(f("select count(*) from TRANZ")).toInt(), 0);
    DocumentModel again(*second, scrapKind());
    try {
        again.openExisting(5);
        FAIL() << "a destroyed document opened";
    } catch (const varnex::Error &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Документът не е намерен. Възможно е да е унищожен от друг потребител."));
    }
}

TEST_F(TwoWorkstations, TheEditorTellsTheUserAndGoesOnEditingTheDocumentAsItNowIs)
{
    SetDataModule(first.get());
    TfrmBrak window;
    window.OpenDocument(5);
    window.show();
    QApplication::setActiveWindow(&window);

    DocumentModel there(*second, scrapKind());
    there.openExisting(5);
    there.header().setValue(f("TRANZ_NOTE"), QStringLiteral("от втората"));
    there.save();

    window.edtNote()->setFocus();
    typeText(window.edtNote(), QStringLiteral("от първата"));
    QTest::mouseClick(window.btnSave(), Qt::LeftButton);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], kChangedElsewhere);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.model().header().isEditing());
    EXPECT_EQ(window.edtNote()->text(), QStringLiteral("от втората"));
    EXPECT_EQ(stored(f("select TRANZ_NOTE from TRANZ where TRANZ_ID = 5")).toString(), QStringLiteral("от втората"));

    typeText(window.edtNote(), QStringLiteral("!"));
    QTest::mouseClick(window.btnSave(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(stored(f("select TRANZ_NOTE from TRANZ where TRANZ_ID = 5")).toString(), QStringLiteral("от втората!"));
}

} // namespace
