#pragma once

#include <QLockFile>
#include <QString>

// The running program's mark beside its settings file ("<file>.running"),
// held for the program's lifetime so that tools leave the file alone while
// the program would write over their changes at its end. A mark left by a
// program that was killed counts for nothing.
class SettingsInUse
{
public:
    explicit SettingsInUse(const QString &settingsFile);

    // False when another running program holds the file already, or when no
    // mark can be made beside it.
    bool isHeld() const { return m_mark.isLocked(); }

    // Whether a running program holds the file; a mark whose program is gone
    // is removed on the way.
    static bool heldByProgram(const QString &settingsFile);
    static QString markFileName(const QString &settingsFile);

private:
    QLockFile m_mark;
};
