#include "SettingsCommands.h"

#include "AdminCommand.h"
#include "core/ProgramFiles.h"
#include "core/SettingsChange.h"
#include "core/TXMLDataBase2.h"
#include "core/TXMLSettings.h"
#include "util/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <functional>

namespace admin {

namespace {

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

bool boolWord(const QString &word)
{
    if (word == QLatin1String("1") || word == QLatin1String("true"))
        return true;
    if (word == QLatin1String("0") || word == QLatin1String("false"))
        return false;
    throw UsageError{QStringLiteral("Стойността по подразбиране трябва да е 1 или 0: %1").arg(word)};
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

} // namespace

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
