#pragma once

#include "core/MessageSink.h"
#include "core/Tdm.h"
#include "data/SchemaUpgrade.h"
#include "support/TempDir.h"
#include "util/Error.h"

#include <memory>
#include <vector>

namespace testing_support {

// Messages the data module showed, for tests to look at.
class RecordedMessages : public MessageSink
{
public:
    struct Shown
    {
        QString text;
        QString caption;
        MessageKind kind;
    };
    void showMessage(const QString &text, const QString &caption, MessageKind kind) override
    {
        shown.push_back({text, caption, kind});
    }
    std::vector<Shown> shown;
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
