#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "ui/DisabledGlyph.h"
#include "ui/TNotifyPopup.h"
#include "ui/TfrmBaseForm.h"
#include "ui/TfrmYesNo.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QPointer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class frmSample : public TfrmBaseForm
{
public:
    explicit frmSample(QWidget *owner = nullptr)
        : TfrmBaseForm(owner)
    {
        setObjectName(QStringLiteral("frmSample"));
        resize(300, 200);
    }
};

class frmSampleDialog : public TfrmYesNo
{
public:
    explicit frmSampleDialog(QWidget *owner = nullptr)
        : TfrmYesNo(owner)
    {
        setObjectName(QStringLiteral("frmSampleDialog"));
        resize(250, 120);
    }
};

using BaseForm = GuiTest;

TEST_F(BaseForm, ChildWindowsKeepTheirPlaceInTheirOwnSection)
{
    frmSample opener;
    frmSample *child = opener.CreateChildForm<frmSample>();
    child->show();
    child->move(40, 50);
    child->resize(320, 240);
    child->close();
    EXPECT_EQ(settings.ReadInteger(QStringLiteral("frmSample\\posLeft"), -1), 40);
    EXPECT_EQ(settings.ReadInteger(QStringLiteral("frmSample\\sizeWidth"), -1), 320);
    EXPECT_FALSE(settings.ReadBool(QStringLiteral("frmSample\\Maximized"), true));

    // The same class opened by the child keeps its keys below the child's section.
    frmSample *grandChild = child->CreateChildForm<frmSample>();
    grandChild->show();
    grandChild->move(7, 8);
    grandChild->close();
    EXPECT_EQ(settings.ReadInteger(QStringLiteral("frmSample\\frmSample\\posLeft"), -1), 7);

    frmSample *again = opener.CreateChildForm<frmSample>();
    EXPECT_EQ(again->pos(), QPoint(40, 50));
    EXPECT_EQ(again->size(), QSize(320, 240));
}

TEST_F(BaseForm, AMaximisedWindowKeepsItsEarlierPlaceAndSize)
{
    settings.WriteInteger(QStringLiteral("frmSample\\posLeft"), 11);
    settings.WriteInteger(QStringLiteral("frmSample\\posTop"), 12);
    settings.WriteInteger(QStringLiteral("frmSample\\sizeWidth"), 400);
    settings.WriteInteger(QStringLiteral("frmSample\\sizeHeight"), 300);
    frmSample opener;
    frmSample *child = opener.CreateChildForm<frmSample>();
    child->showMaximized();
    child->close();
    EXPECT_TRUE(settings.ReadBool(QStringLiteral("frmSample\\Maximized"), false));
    EXPECT_EQ(settings.ReadInteger(QStringLiteral("frmSample\\posLeft"), -1), 11);
    EXPECT_EQ(settings.ReadInteger(QStringLiteral("frmSample\\sizeWidth"), -1), 400);

    frmSample *next = opener.CreateChildForm<frmSample>();
    EXPECT_EQ(next->size(), QSize(400, 300));
    EXPECT_TRUE(next->windowState() & Qt::WindowMaximized);
}

TEST_F(BaseForm, DialogsKeepTheirDesignedSize)
{
    settings.WriteInteger(QStringLiteral("frmSampleDialog\\sizeWidth"), 900);
    settings.WriteInteger(QStringLiteral("frmSampleDialog\\sizeHeight"), 700);
    settings.WriteInteger(QStringLiteral("frmSampleDialog\\posLeft"), 5);
    frmSample opener;
    frmSampleDialog *dialog = opener.CreateChildForm<frmSampleDialog>();
    EXPECT_EQ(dialog->size(), QSize(250, 120));
    EXPECT_EQ(dialog->pos().x(), 5);
}

TEST_F(BaseForm, EnterMovesOnExceptInMemosAndOpenLists)
{
    frmSample window;
    auto *layout = new QVBoxLayout(&window);
    auto *first = new QLineEdit(&window);
    auto *memo = new QPlainTextEdit(&window);
    auto *combo = new QComboBox(&window);
    combo->addItems({QStringLiteral("едно"), QStringLiteral("две")});
    auto *check = new QCheckBox(QStringLiteral("отметка"), &window);
    auto *last = new QLineEdit(&window);
    for (QWidget *widget : std::initializer_list<QWidget *>{first, memo, combo, check, last})
        layout->addWidget(widget);
    window.show();
    QApplication::setActiveWindow(&window);

    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), memo);

    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("\n"));
    EXPECT_EQ(QApplication::focusWidget(), memo);

    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), check);
    QTest::keyClick(check, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), last);

    combo->setFocus();
    combo->showPopup();
    QTest::keyClick(combo->view()->viewport(), Qt::Key_Down);
    QTest::keyClick(combo->view()->viewport(), Qt::Key_Return);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), combo);
}

TEST_F(BaseForm, NotificationsSlideInCutTheirTextAndGoAtAClick)
{
    frmSample window;
    window.resize(200, 150);
    window.show();
    window.ShowNotification(1, QString(200, QChar(0x0448)));
    auto *popup = window.findChild<TNotifyPopup *>();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isSliding());
    EXPECT_LE(popup->geometry().right(), window.width());
    EXPECT_TRUE(popup->shownText().endsWith(QChar(0x2026)));
    EXPECT_EQ(popup->displayTime(), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(!popup->isSliding(), 3000);
    EXPECT_EQ(popup->y(), popup->targetTop());
    EXPECT_EQ(popup->geometry().bottom(), window.height() - 3 - 1);

    QPointer<TNotifyPopup> watched(popup);
    QTest::mouseClick(popup, Qt::LeftButton);
    QTRY_VERIFY(watched.isNull());
}

TEST(DisabledGlyph, GreysEveryPixelButTheTransparentOne)
{
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(qRgb(255, 0, 255)); // the bottom-left colour is transparent
    image.setPixel(0, 0, qRgb(255, 255, 255));
    image.setPixel(1, 0, qRgb(0, 0, 0));
    const QImage grey = disabledGlyph(image);
    EXPECT_EQ(qAlpha(grey.pixel(0, 1)), 0);
    EXPECT_EQ(grey.pixel(0, 0), qRgb(154, 154, 154)); // (85 + 127) / 3 + 84
    EXPECT_EQ(grey.pixel(1, 0), qRgb(126, 126, 126));
}

} // namespace
