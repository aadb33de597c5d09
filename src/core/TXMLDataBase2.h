#pragma once

#include "core/TzekXMLParser2.h"

// The settings file and the one document that every settings object opened
// from the global one shares.
class TXMLDataBase2
{
public:
    explicit TXMLDataBase2(const QString &fileName);

    const QString &fileName() const { return m_fileName; }
    TzekXMLParser2 &document() { return m_document; }

    // A missing file gives an empty "dataroot"; a malformed one keeps what
    // could be read before the error.
    void Load();
    // The reader's error text for the file, or "" when it was read whole or
    // did not exist.
    const QString &loadError() const { return m_loadError; }
    // Skips a file marked read-only. A file that could not be parsed is kept
    // as "<file>.bad" before it is first overwritten, and the new text only
    // replaces the old once it is written whole.
    void Save();

private:
    QString m_fileName;
    TzekXMLParser2 m_document;
    QString m_loadError;
    bool m_unparsedOriginal = false;
};
