#include "core/SettingsChange.h"

#include "core/SettingsInUse.h"
#include "util/Error.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {
// QLockFile's own waiting backs off to seconds between tries; a change takes
// milliseconds, so many tools queued on one file would wait far too long.
const unsigned long kRetryMs = 10;
} // namespace

SettingsChange::SettingsChange(const QString &settingsFile, std::chrono::milliseconds wait)
    : m_lock(lockFileName(settingsFile))
{
    const QDeadlineTimer deadline(wait);
    while (!m_lock.tryLock(0)) {
        if (m_lock.error() != QLockFile::LockFailedError) {
            throw varnex::Error(QStringLiteral("Файлът „%1“ не може да бъде създаден; настройките не са променени.")
                                    .arg(lockFileName(settingsFile)));
        }
        if (deadline.hasExpired()) {
            throw varnex::Error(QStringLiteral("Файлът с настройки „%1“ се променя от друг процес; опитайте отново.")
                                    .arg(settingsFile));
        }
        QThread::msleep(kRetryMs);
    }
    if (SettingsInUse::heldByProgram(settingsFile)) {
        throw varnex::Error(QStringLiteral("Програмата работи с файла с настройки „%1“; затворете я и опитайте отново.")
                                .arg(settingsFile));
    }
}

QString SettingsChange::lockFileName(const QString &settingsFile)
{
    return settingsFile + QLatin1String(".lock");
}
