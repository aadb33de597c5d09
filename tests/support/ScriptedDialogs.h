#pragma once

#include "ui/Dialogs.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

// Answers the program's dialogs from a queue, without blocking, and keeps
// what was shown. Installed for its lifetime.
class ScriptedDialogs : public DialogProvider
{
public:
    struct Shown
    {
        QString text;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
    };

    ScriptedDialogs() { SetDialogProvider(this); }
    ~ScriptedDialogs() override { SetDialogProvider(nullptr); }

    int messageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) override
    {
        shown.push_back({text, type, buttons});
        if (answers.empty())
            return buttons.testFlag(mbOK) ? mrOk : mrNo;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void systemMessage(const QString &text) override { systemMessages.push_back(text); }
    void errorBox(const QString &text) override { errors.push_back(text); }
    void captionedBox(const QString &text, const QString &caption, bool) override
    {
        errors.push_back(caption + QLatin1String(": ") + text);
    }

    // Runs a cancel that may ask whether the changes are to be dropped,
    // answering Yes; the question is not kept among what was shown.
    void givingUpChanges(const std::function<void()> &cancel)
    {
        const size_t before = shown.size();
        answers.push_front(mrYes);
        cancel();
        if (shown.size() > before && shown[before].text == QStringLiteral("Отказвате ли се от направените промени?"))
            shown.erase(shown.begin() + long(before));
        else
            answers.pop_front();
    }

    QStringList shownTexts() const
    {
        QStringList texts;
        for (const Shown &each : shown)
            texts << each.text;
        return texts;
    }

    std::deque<int> answers;
    std::vector<Shown> shown;
    std::vector<QString> errors;

    QStringList errorTexts() const { return QStringList(errors.begin(), errors.end()); }
    std::vector<QString> systemMessages;
};

} // namespace testing_support
