#include "SettingsCommands.h"

#include "AdminCommand.h"
#include "DatabaseCommands.h"
#include "core/OwnCompany.h"
#include "core/ProgramFiles.h"
#include "core/SettingsChange.h"
#include "core/TXMLDataBase2.h"
#include "core/TXMLSettings.h"
#include "util/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace admin {

namespace {

// The column lengths of the database the program of this settings file
// works with; while that cannot be opened here (not made yet, on a server,
// in use) those of the database the program makes at its first start.
QHash<QString, int> counterpartyColumnLengths(const QString &settingsPath, const Invocation &invocation)
{
    const QFileInfo file(settingsPath);
    const QString database = file.absoluteDir().filePath(file.completeBaseName() + QLatin1String(".fdb"));
    TXMLSettings settings(settingsPath);
    settings.setSaveWhenFreed(false);
    settings.Open();
    if (settings.ReadString(QStringLiteral("clientinfo\\network"), QStringLiteral("0")) != QLatin1String("1")
        && QFileInfo::exists(database)) {
        try {
            Session session(database, invocation);
            return varnex::counterpartyColumnLengths(session.dm());
        } catch (const std::exception &) {
            // The lengths the program's own database was made with serve.
        }
    }
    return varnex::installedCounterpartyColumnLengths();
}

// A value the program would refuse to write to its column is stored all the
// same (the file is the user's), with a word of why it will not be used.
void warnAboutLength(const QString &path, const QString &key, const QString &value, const Invocation &invocation)
{
    const auto feeds = [&](const varnex::OwnCompanySetting &setting) { return setting.key == key; };
    const QList<varnex::OwnCompanySetting> &settings = varnex::ownCompanySettings();
    if (!invocation.err || std::none_of(settings.cbegin(), settings.cend(), feeds))
        return;
    const QString why = varnex::overlongSettingText(key, value, counterpartyColumnLengths(path, invocation));
    if (!why.isEmpty()) {
        *invocation.err << QStringLiteral("Внимание: ") << why
                        << QStringLiteral(" Програмата няма да запише стойността в контрагент 1, докато не бъде съкратена.\n");
    }
}

bool boolWord(const QString &word)
{
    if (word == QLatin1String("1") || word == QLatin1String("true"))
        return true;
    if (word == QLatin1String("0") || word == QLatin1String("false"))
        return false;
    throw UsageError{QStringLiteral("Стойността по подразбиране трябва да е 1 или 0: %1").arg(word)};
}

} // namespace

QString settingsFilePath(const Invocation &invocation)
{
    const QString path = !invocation.settingsFile.isEmpty()
                             ? invocation.settingsFile
                             : varnex::programFileWithExtension(
                                   QDir(invocation.toolDirectory).filePath(QStringLiteral("Varnex")),
                                   QStringLiteral(".xdb"));
    const QDir directory = QFileInfo(path).absoluteDir();
    if (!directory.exists())
        throw varnex::Error(QStringLiteral("Папката „%1“ не съществува.").arg(directory.path()));
    return path;
}

// Changes are made under the file's change lock, so two tools never save over
// each other, and only to a file the tool could read whole and may write.
void changeSettings(const QString &path, const std::function<void(TSettings &)> &change)
{
    const SettingsChange lock(path);
    const QFileInfo file(path);
    // The store's own test of a read-only file, which its save skips in silence.
    if (file.exists() && !(file.permissions() & QFileDevice::WriteOwner))
        throw varnex::Error(QStringLiteral("Файлът с настройки „%1“ е само за четене; не е променен.").arg(path));
    TXMLSettings settings(path);
    settings.setSaveWhenFreed(false);
    settings.Open();
    if (!settings.loadError().isEmpty()) {
        throw varnex::Error(QStringLiteral("Файлът с настройки „%1“ не може да бъде прочетен изцяло (%2); не е променен.")
                                .arg(path, settings.loadError().section(QLatin1String("\r\n"), 0, 0)));
    }
    change(settings);
    settings.Save();
}

void runSettingsCommand(Invocation &invocation)
{
    QStringList &words = invocation.words;
    QTextStream &out = invocation.out;
    const QString action = takeWord(words, "действие за settings");
    static const QStringList actions{QStringLiteral("get"), QStringLiteral("get-int"),
                                     QStringLiteral("get-bool"), QStringLiteral("set"),
                                     QStringLiteral("set-int"), QStringLiteral("dump")};
    if (!actions.contains(action))
        throw UsageError{QStringLiteral("Непознато действие за settings: %1").arg(action)};
    const QString path = settingsFilePath(invocation);

    if (action == QLatin1String("dump")) {
        expectNoMoreWords(words);
        TXMLDataBase2 database(path);
        database.Load();
        out << database.document().ToText() << '\n';
        return;
    }

    const QString key = takeWord(words, "ключ");
    if (action == QLatin1String("set")) {
        const QString value = takeWord(words, "стойност");
        expectNoMoreWords(words);
        changeSettings(path, [&](TSettings &settings) { settings.WriteString(key, value); });
        warnAboutLength(path, key, value, invocation);
        return;
    }
    if (action == QLatin1String("set-int")) {
        const int value = integerWord(takeWord(words, "число"), "Стойността");
        expectNoMoreWords(words);
        changeSettings(path, [&](TSettings &settings) { settings.WriteInteger(key, value); });
        return;
    }

    TXMLSettings settings(path);
    settings.setSaveWhenFreed(false);
    settings.Open();
    if (action == QLatin1String("get")) {
        const QString fallback = takeOptionalWord(words, QString());
        expectNoMoreWords(words);
        out << settings.ReadString(key, fallback) << '\n';
    } else if (action == QLatin1String("get-int")) {
        const int fallback = integerWord(takeOptionalWord(words, QStringLiteral("0")), "Подразбирането");
        expectNoMoreWords(words);
        out << settings.ReadInteger(key, fallback) << '\n';
    } else {
        const bool fallback = boolWord(takeOptionalWord(words, QStringLiteral("0")));
        expectNoMoreWords(words);
        out << (settings.ReadBool(key, fallback) ? 1 : 0) << '\n';
    }
}

} // namespace admin
