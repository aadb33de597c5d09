#include "support/QtPrinters.h"
#include "ui/TMessageForm.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct ButtonSet
{
    TMsgDlgButtons buttons;
    int enter;
    int escape;
};

class MessageDlgKeys : public ::testing::TestWithParam<ButtonSet>
{
};

int answer(const ButtonSet &set, Qt::Key key)
{
    TMessageForm form(QStringLiteral("Моля, потвърдете изтриване!"), TMsgDlgType::mtConfirmation, set.buttons);
    form.show();
    QTest::keyClick(&form, key);
    return form.result();
}

TEST_P(MessageDlgKeys, EnterAnswersTheDefaultAndEscTheCancelButton)
{
    EXPECT_EQ(answer(GetParam(), Qt::Key_Return), GetParam().enter);
    EXPECT_EQ(answer(GetParam(), Qt::Key_Escape), GetParam().escape);
}

INSTANTIATE_TEST_SUITE_P(
    ButtonSets, MessageDlgKeys,
    ::testing::Values(ButtonSet{mbOK, mrOk, mrOk}, ButtonSet{mbYes | mbNo, mrYes, mrNo},
                      ButtonSet{mbYes | mbCancel, mrYes, mrCancel}, ButtonSet{mbYes | mbNo | mbCancel, mrYes, mrCancel},
                      ButtonSet{mbOK | mbCancel, mrOk, mrCancel}, ButtonSet{mbRetry | mbCancel, mrRetry, mrCancel},
                      ButtonSet{mbAbort | mbRetry | mbIgnore, mrRetry, mrCancel}));

TEST(MessageDlg, CaptionsButtonsAndResultsAreBulgarian)
{
    EXPECT_EQ(TMessageForm::captionFor(TMsgDlgType::mtWarning), QStringLiteral("Внимание"));
    EXPECT_EQ(TMessageForm::captionFor(TMsgDlgType::mtError), QStringLiteral("Грешка"));
    EXPECT_EQ(TMessageForm::captionFor(TMsgDlgType::mtInformation), QStringLiteral("Съобщение"));
    EXPECT_EQ(TMessageForm::captionFor(TMsgDlgType::mtConfirmation), QStringLiteral("Потвърждение"));
    EXPECT_EQ(TMessageForm::captionFor(TMsgDlgType::mtCustom), QStringLiteral("Съобщение"));

    TMessageForm form(QStringLiteral("Текст"), TMsgDlgType::mtWarning, mbYes | mbNo | mbOK | mbCancel | mbAll);
    QStringList order;
    for (QPushButton *button : form.findChildren<QPushButton *>())
        order << button->text();
    EXPECT_EQ(order, (QStringList{QStringLiteral("Да"), QStringLiteral("Не"), QStringLiteral("ОК"),
                                  QStringLiteral("Отказ"), QStringLiteral("Всички")}));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Внимание"));
    EXPECT_EQ(TMessageForm::buttonResult(mbNoToAll), 9);
    EXPECT_EQ(TMessageForm::buttonResult(mbYesToAll), 10);

    form.show();
    form.button(mbAll)->click();
    EXPECT_EQ(form.result(), mrAll);
}

TEST(MessageDlg, LongTextsWrapWithinHalfTheScreen)
{
    TMessageForm form(QString(400, QChar(0x0436)) + QLatin1Char(' ') + QString(400, QChar(0x0436)),
                      TMsgDlgType::mtInformation, mbOK);
    form.show();
    EXPECT_LE(form.width(), form.screen()->availableGeometry().width() / 2 + 200);
}

TEST(MessageDlg, ShortTextsKeepEveryWordOnTheirLine)
{
    const QStringList texts{QStringLiteral("Моля, потвърдете изтриване!"),
                            QStringLiteral("Паролата е успешно сменена."),
                            QStringLiteral("Полето \"Означение\" трябва да бъде попълнено!"),
                            QStringLiteral("WWWWW WWWWW WWWWW"),
                            QStringLiteral("Първи ред\nи втори, по-дълъг ред на съобщението")};
    for (const QString &text : texts) {
        for (const TMsgDlgType type : {TMsgDlgType::mtConfirmation, TMsgDlgType::mtCustom}) {
            TMessageForm form(text, type, mbYes | mbNo);
            form.show();
            const auto *label = form.findChild<QLabel *>(QStringLiteral("Message"));
            ASSERT_NE(label, nullptr);
            QLabel unwrapped(text);
            unwrapped.setFont(label->font());
            EXPECT_LE(label->heightForWidth(label->width()), qMax(label->minimumHeight(), unwrapped.sizeHint().height()))
                << text.toStdString();
        }
    }
}

} // namespace
