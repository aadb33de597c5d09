#include "core/SettingsInUse.h"

#include "core/SettingsChange.h"

namespace {
// A change by a tool takes milliseconds; the program waits that long at most
// rather than start from the file as it was before the change.
const int kChangeWaitMs = 5000;
} // namespace

SettingsInUse::SettingsInUse(const QString &settingsFile)
    : m_mark(markFileName(settingsFile))
{
    // The mark lives as long as the program, so only a dead owner, not age,
    // makes it stale.
    m_mark.setStaleLockTime(0);
    // Taken while holding the change lock, so that a tool either finishes its
    // change before the program reads the file or sees the mark.
    QLockFile change(SettingsChange::lockFileName(settingsFile));
    change.tryLock(kChangeWaitMs);
    m_mark.tryLock(0);
}

bool SettingsInUse::heldByProgram(const QString &settingsFile)
{
    QLockFile mark(markFileName(settingsFile));
    mark.setStaleLockTime(0);
    if (mark.tryLock(0))
        return false;
    return mark.error() == QLockFile::LockFailedError;
}

QString SettingsInUse::markFileName(const QString &settingsFile)
{
    return settingsFile + QLatin1String(".running");
}
