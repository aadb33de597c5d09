#include "core/TzekXMLNode2.h"

namespace {
const QLatin1String kLineBreak("\r\n");
}

TzekXMLNode2::TzekXMLNode2(const QString &name, TzekXMLNode2 *parent)
    : m_parent(parent)
{
    SetName(name);
}

TzekXMLNode2::~TzekXMLNode2() = default;

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
    m_children.clear();
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

    const QString text = m_cdata ? QLatin1String("<![CDATA[") + m_text + QLatin1String("]]>") : m_text;
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
