#include "core/TzekXMLNode2.h"

namespace {

const QLatin1String kLineBreak("\r\n");

bool isNameStartChar(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || c == u':'
           || (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF)
           || (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || c == 0x200C || c == 0x200D
           || (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF)
           || (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD);
}

bool isNameChar(char16_t c)
{
    return isNameStartChar(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == 0xB7
           || (c >= 0x300 && c <= 0x36F) || c == 0x203F || c == 0x2040;
}

// A CDATA section cannot hold its own terminator, so each "]]>" is split
// over two sections, which the reader joins again.
QString cdataSection(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1String("]]>"), QLatin1String("]]]]><![CDATA[>"));
    return QLatin1String("<![CDATA[") + escaped + QLatin1String("]]>");
}

} // namespace

TzekXMLNode2::TzekXMLNode2(const QString &name, TzekXMLNode2 *parent)
    : m_parent(parent)
{
    SetName(name);
}

TzekXMLNode2::~TzekXMLNode2()
{
    freeChildren();
}

void TzekXMLNode2::freeChildren()
{
    // Freed level by level rather than recursively, so that no depth of
    // elements can exhaust the stack.
    std::vector<std::unique_ptr<TzekXMLNode2>> pending = std::move(m_children);
    m_children.clear();
    while (!pending.empty()) {
        std::unique_ptr<TzekXMLNode2> node = std::move(pending.back());
        pending.pop_back();
        for (auto &child : node->m_children)
            pending.push_back(std::move(child));
        node->m_children.clear();
    }
}

int TzekXMLNode2::depth() const
{
    int levels = 1;
    for (const TzekXMLNode2 *up = m_parent; up; up = up->m_parent)
        ++levels;
    return levels;
}

bool TzekXMLNode2::isElementName(const QString &name)
{
    if (name.isEmpty() || !isNameStartChar(name.at(0).unicode()))
        return false;
    for (qsizetype i = 1; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        if (!isNameChar(c) && c != u'(' && c != u')')
            return false;
    }
    return true;
}

TzekXMLNode2 *TzekXMLNode2::FindChild(const QString &name) const
{
    for (const auto &child : m_children) {
        if (child->m_name == name)
            return child.get();
    }
    return nullptr;
}

TzekXMLNode2 *TzekXMLNode2::AddChild(const QString &name)
{
    m_children.push_back(std::make_unique<TzekXMLNode2>(name, this));
    return m_children.back().get();
}

void TzekXMLNode2::SetName(const QString &name)
{
    m_name = name;
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    m_namespacePrefix = colon >= 0 ? name.left(colon) : QString();
}

void TzekXMLNode2::SetText(const QString &text)
{
    m_text = text;
    m_cdata = text.contains(QLatin1Char('<')) || text.contains(QLatin1Char('>'));
}

const TzekXMLAttribute2 *TzekXMLNode2::findAttribute(const QString &name) const
{
    for (const TzekXMLAttribute2 &attribute : m_attributes) {
        if (attribute.name == name)
            return &attribute;
    }
    return nullptr;
}

QString TzekXMLNode2::GetAttribute(const QString &name) const
{
    const TzekXMLAttribute2 *attribute = findAttribute(name);
    return attribute ? attribute->value : QString();
}

bool TzekXMLNode2::HasAttribute(const QString &name) const
{
    return findAttribute(name) != nullptr;
}

void TzekXMLNode2::SetAttribute(const QString &name, const QString &value)
{
    for (TzekXMLAttribute2 &attribute : m_attributes) {
        if (attribute.name == name) {
            attribute.value = value;
            return;
        }
    }
    m_attributes.append({name, value});
}

void TzekXMLNode2::clearElement()
{
    SetName(QString());
    SetText(QString());
    m_attributes.clear();
    freeChildren();
}

void TzekXMLNode2::writeElement(QString &out, int level) const
{
    const QString indent(2 * level, QLatin1Char(' '));
    out += indent + QLatin1Char('<') + m_name;
    for (const TzekXMLAttribute2 &attribute : m_attributes) {
        const QChar quote = attribute.value.contains(QLatin1Char('\'')) ? QLatin1Char('"')
                                                                         : QLatin1Char('\'');
        out += QLatin1Char(' ') + attribute.name + QLatin1Char('=') + quote + attribute.value + quote;
    }

    const QString text = m_cdata ? cdataSection(m_text) : m_text;
    if (m_children.empty() && m_text.isEmpty()) {
        out += QLatin1String("/>");
    } else if (m_children.empty()) {
        out += QLatin1Char('>') + text + QLatin1String("</") + m_name + QLatin1Char('>');
    } else {
        out += QLatin1Char('>') + text;
        for (const auto &child : m_children) {
            out += kLineBreak;
            child->writeElement(out, level + 1);
        }
        out += kLineBreak + indent + QLatin1String("</") + m_name + QLatin1Char('>');
    }
}
