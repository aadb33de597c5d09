#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <vector>

struct TzekXMLAttribute2
{
    QString name;
    QString value;
};

// One element of the settings document: a name, a text, attributes and
// child elements. Names are compared exactly; the first child of a name wins.
class TzekXMLNode2
{
public:
    // The deepest nesting the reader accepts and the settings store builds, the
    // root counting as level 1; far beyond any real settings file, and shallow
    // enough for the writer's recursion.
    static constexpr int MaxDepth = 256;

    explicit TzekXMLNode2(const QString &name = QString(), TzekXMLNode2 *parent = nullptr);
    virtual ~TzekXMLNode2();

    TzekXMLNode2(const TzekXMLNode2 &) = delete;
    TzekXMLNode2 &operator=(const TzekXMLNode2 &) = delete;

    const QString &name() const { return m_name; }
    const QString &namespacePrefix() const { return m_namespacePrefix; }
    const QString &text() const { return m_text; }
    bool isCData() const { return m_cdata; }
    TzekXMLNode2 *parent() const { return m_parent; }
    // 1 for an element without a parent.
    int depth() const;
    const std::vector<std::unique_ptr<TzekXMLNode2>> &children() const { return m_children; }
    const QList<TzekXMLAttribute2> &attributes() const { return m_attributes; }

    TzekXMLNode2 *FindChild(const QString &name) const;
    TzekXMLNode2 *AddChild(const QString &name);
    void SetName(const QString &name);
    // Texts holding "<" or ">" are written as CDATA sections.
    void SetText(const QString &text);
    QString GetAttribute(const QString &name) const;
    bool HasAttribute(const QString &name) const;
    void SetAttribute(const QString &name, const QString &value);
    // Empties the name, the text, the attributes and the children.
    void clearElement();

    // Whether the writer can write the name as an element that the reader reads
    // back as the same element: an XML name, which may also carry parentheses
    // after its first character (the grid layout keys have always had them).
    static bool isElementName(const QString &name);

protected:
    void writeElement(QString &out, int level) const;

private:
    void freeChildren();
    const TzekXMLAttribute2 *findAttribute(const QString &name) const;

    QString m_name;
    QString m_namespacePrefix;
    QString m_text;
    bool m_cdata = false;
    QList<TzekXMLAttribute2> m_attributes;
    std::vector<std::unique_ptr<TzekXMLNode2>> m_children;
    TzekXMLNode2 *m_parent = nullptr;
};
