#include "core/TzekXMLParser2.h"

#include "util/Error.h"
#include "util/Win1251.h"

#include <QFile>
#include <QSaveFile>

namespace {

// Carries a reader error from deep inside the parse up to ParseText.
struct ParseFailure
{
    QString message;
};

const QLatin1String kLineBreak("\r\n");
const QLatin1String kCDataStart("<![CDATA[");
const qsizetype kWriterBufferStep = 65536;

} // namespace

TzekXMLParser2::TzekXMLParser2() = default;

QString TzekXMLParser2::ParseText(const QString &text)
{
    clearElement();
    m_declaration.clearElement();
    m_source = text;
    m_pos = 0;
    m_lastError.clear();
    try {
        parseDeclaration();
        parseElements();
    } catch (const ParseFailure &failure) {
        m_lastError = errorText(failure.message);
    }
    return m_lastError;
}

QString TzekXMLParser2::LoadFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ParseText(QString());
        m_lastError = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return m_lastError;
    }
    return ParseText(varnex::fromWin1251(file.readAll()));
}

qsizetype TzekXMLParser2::require(QLatin1String what, qsizetype from, const char *message) const
{
    const qsizetype at = m_source.indexOf(what, from);
    if (at < 0)
        throw ParseFailure{QString::fromLatin1(message)};
    return at;
}

void TzekXMLParser2::parseDeclaration()
{
    const qsizetype lt = m_source.indexOf(QLatin1Char('<'));
    if (lt < 0 || !QStringView(m_source).mid(lt).startsWith(QLatin1String("<?xml")))
        return;
    const qsizetype end = require(QLatin1String("?>"), lt, "Missing ?> in xml declaration.");
    const qsizetype start = lt + int(sizeof("<?xml") - 1);
    parseAttributes(m_source.mid(start, end - start).trimmed(), m_declaration);
    m_pos = end + 2;
}

void TzekXMLParser2::parseElements()
{
    TzekXMLNode2 *current = nullptr; // the element whose content is being read
    int depth = 0;                   // of current
    for (;;) {
        const qsizetype lt = require(QLatin1String("<"), m_pos, "Missing <");
        const qsizetype gt = require(QLatin1String(">"), lt, "Missing >");
        QString tag = m_source.mid(lt + 1, gt - lt - 1);
        m_pos = gt + 1;

        if (tag.startsWith(QLatin1Char('/'))) {
            // End tags close the open element whatever name they carry.
            if (!current || !current->parent())
                return;
            current = current->parent();
            --depth;
            continue;
        }

        const bool empty = tag.endsWith(QLatin1Char('/'));
        if (empty)
            tag = tag.chopped(1).trimmed();
        qsizetype blank = 0;
        while (blank < tag.size() && !tag.at(blank).isSpace())
            ++blank;

        if (depth == MaxDepth)
            throw ParseFailure{QStringLiteral("Elements nested deeper than %1 levels").arg(MaxDepth)};
        TzekXMLNode2 *element = this;
        if (current)
            element = current->AddChild(tag.left(blank));
        else
            SetName(tag.left(blank));
        parseAttributes(tag.mid(blank).trimmed(), *element);

        if (empty) {
            // An empty root is a whole document: nothing more to read.
            if (!current)
                return;
            continue;
        }
        element->SetText(parseElementText());
        current = element;
        ++depth;
    }
}

QString TzekXMLParser2::parseElementText()
{
    const qsizetype lt = require(QLatin1String("<"), m_pos, "Expected < when parsing text");
    if (QStringView(m_source).mid(lt).startsWith(kCDataStart)) {
        // Sections that follow each other directly make one text: the writer
        // splits a text holding "]]>" that way.
        QString text;
        m_pos = lt;
        do {
            const qsizetype start = m_pos + kCDataStart.size();
            const qsizetype end = require(QLatin1String("]]>"), start,
                                          "Expected ]]> when parsing CDATA section");
            text += QStringView(m_source).mid(start, end - start);
            m_pos = end + 3;
        } while (QStringView(m_source).mid(m_pos).startsWith(kCDataStart));
        return text.trimmed();
    }
    const QString text = m_source.mid(m_pos, lt - m_pos).trimmed();
    m_pos = lt;
    return text;
}

void TzekXMLParser2::parseAttributes(QString list, TzekXMLNode2 &element)
{
    while (!list.isEmpty()) {
        const qsizetype eq = list.indexOf(QLatin1Char('='));
        if (eq < 0)
            throw ParseFailure{QStringLiteral("missing = when parsing attributes")};
        const QString name = list.left(eq).trimmed();
        const QChar quote = eq + 1 < list.size() ? list.at(eq + 1) : QChar();
        if (quote != QLatin1Char('"') && quote != QLatin1Char('\''))
            throw ParseFailure{QStringLiteral("missing value delimiter when parsing attributes")};
        const qsizetype close = list.indexOf(quote, eq + 2);
        if (close < 0) {
            throw ParseFailure{QStringLiteral("Expected closing ") + quote
                               + QStringLiteral(" when parsing attributes")};
        }
        element.SetAttribute(name, list.mid(eq + 2, close - eq - 2));
        list = list.mid(close + 1).trimmed();
    }
}

QString TzekXMLParser2::errorText(const QString &message) const
{
    const qsizetype position = m_pos + 1;
    const qsizetype nearFrom = qMax<qsizetype>(0, position - 1 - 20);
    return message + QLatin1String(" near ") + m_source.mid(nearFrom, 50) + kLineBreak
           + QLatin1String("Error position=") + QString::number(position) + kLineBreak + ToText();
}

QString TzekXMLParser2::ToText() const
{
    const auto declared = [this](const QString &name, const char *absent) {
        return m_declaration.HasAttribute(name) ? m_declaration.GetAttribute(name)
                                                : QString::fromLatin1(absent);
    };
    QString out;
    out.reserve(kWriterBufferStep);
    out += QLatin1String("<?xml version='") + declared(QStringLiteral("version"), "1.0")
           + QLatin1String("' encoding='") + declared(QStringLiteral("encoding"), "ISO-8859-1")
           + QLatin1String("' ?>") + kLineBreak;
    writeElement(out, 0);
    return out;
}

void TzekXMLParser2::SaveToFile(const QString &path) const
{
    const QByteArray bytes = varnex::toWin1251(ToText());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw varnex::Error(QStringLiteral("Файлът „%1“ не може да бъде записан: %2")
                                .arg(path, file.errorString()));
    }
}
