#include "core/DatabaseInstaller.h"

#include "core/MessageSink.h"
#include "core/Tdm.h"
#include "data/InitialDatabase.h"
#include "util/Error.h"

void installDatabase(const QString &database, const QString &user, const QString &password, int version)
{
    data::createInitialDatabase(database, user, password);
    if (version == data::kFirstSchemaVersion)
        return;
    LastMessage messages;
    Tdm dm(messages);
    dm.setDatabase(database);
    dm.user = user;
    dm.password = password;
    dm.ApplyConnectionConfig();
    if (!dm.Connect())
        throw varnex::Error(messages.line);
    if (!dm.UpgradeSchema(data::kFirstSchemaVersion, version))
        Tdm::CheckSchemaResult(Tdm::SchemaResult::UpgradeFailed);
    dm.SetConfigById(101, QString::number(version));
    if (!dm.GrantTableRights())
        Tdm::CheckSchemaResult(Tdm::SchemaResult::GrantsFailed);
}
