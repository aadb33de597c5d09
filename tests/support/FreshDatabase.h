#pragma once

#include "core/MessageSink.h"
#include "core/Tdm.h"
#include "data/SchemaUpgrade.h"
#include "support/TempDir.h"
#include "util/Error.h"

#include <deque>
#include <memory>
#include <vector>

namespace testing_support {

// Messages the data module showed, for tests to look at, and scripted
// answers to its questions and prompts (no answer left: cancelled).
class RecordedMessages : public MessageSink
{
public:
    struct Shown
    {
        QString text;
        QString caption;
        MessageKind kind;
    };
    struct Typed
    {
        QString first;
        QString second;
        QString third;
    };

    void showMessage(const QString &text, const QString &caption, MessageKind kind) override
    {
        shown.push_back({text, caption, kind});
    }
    bool confirm(const QString &text) override
    {
        questions.push_back(text);
        return !confirmations.empty() && take(confirmations);
    }
    bool askLogin(QString *name, QString *password) override
    {
        ++loginPrompts;
        if (logins.empty())
            return false;
        const Typed typed = take(logins);
        *name = typed.first;
        *password = typed.second;
        return true;
    }
    bool askZonePassword(QString *password) override
    {
        ++zonePrompts;
        if (zonePasswords.empty())
            return false;
        *password = take(zonePasswords);
        return true;
    }
    bool askPasswordChange(bool oldEnabled, QString *old, QString *fresh, QString *repeat) override
    {
        oldFieldEnabled.push_back(oldEnabled);
        if (passwordChanges.empty())
            return false;
        const Typed typed = take(passwordChanges);
        *old = typed.first;
        *fresh = typed.second;
        *repeat = typed.third;
        return true;
    }

    std::vector<Shown> shown;
    std::vector<QString> questions;
    std::deque<bool> confirmations;
    std::deque<Typed> logins;
    int loginPrompts = 0;
    std::deque<QString> zonePasswords;
    int zonePrompts = 0;
    std::deque<Typed> passwordChanges;
    std::vector<bool> oldFieldEnabled;

private:
    template<class T>
    static T take(std::deque<T> &queue)
    {
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

// A new database made by the install script in a scratch directory, at the
// given schema version, and data modules connected to it.
class FreshDatabase
{
public:
    explicit FreshDatabase(int version = data::kTargetSchemaVersion);

    const QString &path() const { return m_path; }
    // A connected data module (counters resynchronised as at every connect).
    std::unique_ptr<Tdm> connect();

    RecordedMessages messages;

private:
    TempDir m_dir;
    QString m_path;
};

} // namespace testing_support
