#pragma once

#include "core/TzekXMLNode2.h"

// The settings document: it is its own root element and also holds the
// declaration, the reader and the writer. Reading never raises; it returns
// an error text and keeps whatever it read before the error.
class TzekXMLParser2 : public TzekXMLNode2
{
public:
    TzekXMLParser2();

    // "" on success, otherwise the error text (message, the source around the
    // error position, the position, and the partial document).
    QString ParseText(const QString &text);
    QString LoadFromFile(const QString &path);
    QString ToText() const;
    // Throws varnex::Error when the file cannot be written or the text does not
    // fit Windows-1251. The old file stays whole until the new one is complete.
    void SaveToFile(const QString &path) const;

    const TzekXMLNode2 &declaration() const { return m_declaration; }
    const QString &lastError() const { return m_lastError; }

private:
    void parseDeclaration();
    void parseElements();
    QString parseElementText();
    void parseAttributes(QString list, TzekXMLNode2 &element);
    qsizetype require(QLatin1String what, qsizetype from, const char *message) const;
    QString errorText(const QString &message) const;

    TzekXMLNode2 m_declaration;
    QString m_source;
    qsizetype m_pos = 0; // 0-based here; reported 1-based
    QString m_lastError;
};
