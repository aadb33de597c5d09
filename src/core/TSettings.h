#pragma once

#include <QString>

#include <memory>

// A store of workstation settings: keys are backslash paths below the
// object's section ("db_server\host").
class TSettings
{
public:
    TSettings();
    virtual ~TSettings();

    TSettings(const TSettings &) = delete;
    TSettings &operator=(const TSettings &) = delete;

    virtual void Clear() = 0;
    virtual void Open() = 0;
    virtual int ReadInteger(const QString &key, int defaultValue);
    // True only when the key reads as the integer 1.
    virtual bool ReadBool(const QString &key, bool defaultValue);
    virtual QString ReadString(const QString &key, const QString &defaultValue) = 0;
    virtual void WriteInteger(const QString &key, int value);
    virtual void WriteBool(const QString &key, bool value);
    virtual void WriteString(const QString &key, const QString &value) = 0;
    virtual bool HasSettingsSection(const QString &name) = 0;
    virtual void Save() = 0;
    virtual std::unique_ptr<TSettings> OpenSection(const QString &name) = 0;
    virtual QString ReadStringInherited(const QString &key, const QString &defaultValue) = 0;

    // The value of the valid leading part of a text: blanks, a sign, then
    // decimal digits or hexadecimal ones after "$", "x" or "0x"; 0 when
    // there is none.
    static int integerFromText(const QString &text);

    QString SectionPath;

protected:
    // Whether the key is present at all; integer keys need it because an
    // empty element reads as 0, not as the default.
    virtual bool HasKey(const QString &key) = 0;
};
