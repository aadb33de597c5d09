#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace admin {

enum ExitCode { Success = 0, Failure = 1, WrongUsage = 2 };

// Wrong words on the command line: the tool prints the message and the usage.
struct UsageError
{
    QString message;
};

// What a command gets: its words after the command name, the global options,
// and where to print.
struct Invocation
{
    QStringList words;
    QString settingsFile;
    // The data folder, where the program keeps its settings file.
    QString toolDirectory;
    QTextStream &out;
    // Where warnings go; none: they are not printed.
    QTextStream *err = nullptr;
    QString user = QStringLiteral("SYSDBA");
    QString password = QStringLiteral("pendrolix");
    // Where answers to questions come from; none: every question is no.
    QTextStream *in = nullptr;
};

QString usageText();

// Runs one command line (without the program name) and returns the exit code.
int run(const QStringList &arguments, const QString &toolDirectory, QTextStream &out, QTextStream &err,
        QTextStream *in = nullptr);

// Words of a command, checked for count, taken one by one.
QString takeWord(QStringList &words, const char *what);
QString takeOptionalWord(QStringList &words, const QString &absent);
void expectNoMoreWords(const QStringList &words);
// Removes "--name" from the words; whether it was there.
bool takeFlag(QStringList &words, const QString &name);
// Removes "--name VALUE" from the words; the value, or `absent`.
QString takeOption(QStringList &words, const QString &name, const QString &absent = QString());
// "--user NAME" and "--password WORD", over the invocation's own.
void takeCredentials(Invocation &invocation);
// Refuses a required option left out: "Липсва `usage`.".
void requireOption(const QString &value, const char *usage);
int integerWord(const QString &word, const char *what);
// Reads one answer: "да" (or "д", "y", "yes") is yes, anything else and no
// input at all are no.
bool answeredYes(const Invocation &invocation);

} // namespace admin
