#pragma once

#include <QLockFile>
#include <QString>

#include <chrono>

// The right to change a settings file from outside the program, held around
// reading, changing and saving it ("<file>.lock"): one change at a time, and
// none while a program runs with the file.
class SettingsChange
{
public:
    // Waits for another change to end. Throws varnex::Error when the right
    // cannot be had, or when a running program holds the file.
    explicit SettingsChange(const QString &settingsFile,
                            std::chrono::milliseconds wait = std::chrono::seconds(30));

    static QString lockFileName(const QString &settingsFile);

private:
    QLockFile m_lock;
};
