#include "WorkstationCommand.h"

#include "AdminCommand.h"
#include "DatabaseCommands.h"
#include "SettingsCommands.h"
#include "core/TSettings.h"
#include "util/Error.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace admin {

namespace {

// In the data folder it selects the embedded engine, whatever the settings say.
const char *const kEngineMarker = "firebird.conf";

// The program logs in as the administrator to check the schema, then as the
// workstation's user; both must work or it does not start.
void tryConnections(const QString &database, const Invocation &invocation)
{
    Invocation administrator = invocation;
    administrator.user = QStringLiteral("SYSDBA");
    administrator.password = QStringLiteral("pendrolix");
    Session{database, administrator};
    if (invocation.user != administrator.user || invocation.password != administrator.password)
        Session{database, invocation};
}

} // namespace

void runWorkstationCommand(Invocation &invocation)
{
    QStringList &words = invocation.words;
    takeCredentials(invocation);
    const QString database = takeWord(words, "базата на сървъра (СЪРВЪР:ПЪТ)");
    expectNoMoreWords(words);
    const qsizetype colon = database.indexOf(QLatin1Char(':'));
    if (colon <= 0 || colon + 1 == database.size())
        throw UsageError{QStringLiteral("Базата на сървъра се дава като СЪРВЪР:ПЪТ: %1").arg(database)};

    // A workstation that works today keeps its settings when the new ones would not work.
    try {
        tryConnections(database, invocation);
    } catch (const varnex::Error &error) {
        throw varnex::Error(QStringLiteral("Няма връзка с „%1“; настройките не са променени. %2").arg(database, error.message()));
    }
    if (invocation.settingsFile.isEmpty() && !QDir().mkpath(invocation.toolDirectory))
        throw varnex::Error(QStringLiteral("Папката „%1“ не може да бъде създадена.").arg(invocation.toolDirectory));
    const QString path = settingsFilePath(invocation);
    changeSettings(path, [&](TSettings &settings) {
        settings.WriteString(QStringLiteral("clientinfo\\network"), QStringLiteral("1"));
        settings.WriteString(QStringLiteral("db_server\\host"), database.left(colon));
        settings.WriteString(QStringLiteral("db_server\\database"), database.mid(colon + 1));
        settings.WriteString(QStringLiteral("db_server\\user"), invocation.user);
        settings.WriteString(QStringLiteral("db_server\\pass"), invocation.password);
    });
    invocation.out << QStringLiteral("Работното място работи с „%1“; настройките са записани в „%2“.\n").arg(database, path);

    const QString marker = QDir(invocation.toolDirectory).filePath(QLatin1String(kEngineMarker));
    if (!QFile::exists(marker))
        return;
    if (!QFile::remove(marker))
        throw varnex::Error(QStringLiteral("Файлът „%1“ не може да бъде премахнат; докато го има, програмата работи с "
                                           "местната база.")
                                .arg(marker));
    invocation.out << QStringLiteral("Файлът „%1“ е премахнат: програмата вече работи със сървъра, а не с местната база.\n")
                          .arg(marker);
}

} // namespace admin
