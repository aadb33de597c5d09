#pragma once

#include "core/TSettings.h"

#include <memory>

class TXMLDataBase2;
class TzekXMLNode2;

// Settings kept in the XML settings file. The object that loads the file is
// its owner: it saves the document when it is freed. Sections opened from it
// share the document and never save on their own.
class TXMLSettings : public TSettings
{
public:
    // An empty file name means the file beside the program.
    explicit TXMLSettings(const QString &fileName = QString());
    ~TXMLSettings() override;

    // The file beside the program, in the data folder (core/DataFolder.h).
    static QString programSettingsFile();

    void Clear() override;
    void Open() override;
    QString ReadString(const QString &key, const QString &defaultValue) override;
    // Refuses (varnex::Error) a value that Windows-1251 cannot hold and a key
    // whose parts cannot be element names of the file.
    void WriteString(const QString &key, const QString &value) override;
    bool HasSettingsSection(const QString &name) override;
    void Save() override;
    std::unique_ptr<TSettings> OpenSection(const QString &name) override;
    QString ReadStringInherited(const QString &key, const QString &defaultValue) override;

    const QString &fileName() const { return m_fileName; }
    // Why the file could not be read whole (see TXMLDataBase2::loadError);
    // "" also before the object is opened.
    QString loadError() const;
    // Tools that only read settings turn off the owner's save at the end.
    void setSaveWhenFreed(bool save) { m_saveWhenFreed = save; }

protected:
    bool HasKey(const QString &key) override;

private:
    TXMLSettings(std::shared_ptr<TXMLDataBase2> database, const QString &sectionPath);
    TzekXMLNode2 *section();

    std::shared_ptr<TXMLDataBase2> m_database;
    TzekXMLNode2 *m_section = nullptr;
    QString m_fileName;
    bool m_owner = false;
    bool m_saveWhenFreed = true;
};
