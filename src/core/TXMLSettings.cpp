#include "core/TXMLSettings.h"

#include "core/DataFolder.h"
#include "core/TXMLDataBase2.h"
#include "util/Error.h"
#include "util/Win1251.h"

#include <QDebug>
#include <QStringList>

namespace {

QStringList pathParts(const QString &path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

TzekXMLNode2 *findPath(TzekXMLNode2 *from, const QString &path)
{
    for (const QString &name : pathParts(path)) {
        if (!from)
            break;
        from = from->FindChild(name);
    }
    return from;
}

// Every name is checked before the first element is made, so a refused key
// leaves the document as it was: a name that is not an element name would
// come back from the file as other elements, or break the ones after it.
TzekXMLNode2 *makePath(TzekXMLNode2 *from, const QString &path)
{
    const QStringList names = pathParts(path);
    for (const QString &name : names) {
        if (!TzekXMLNode2::isElementName(name)) {
            throw varnex::Error(
                QStringLiteral("Ключът „%1“ е недопустим: „%2“ не може да бъде име на елемент във файла с настройки.")
                    .arg(path, name));
        }
        varnex::toWin1251(name);
    }
    if (from->depth() + names.size() > TzekXMLNode2::MaxDepth) {
        throw varnex::Error(QStringLiteral("Ключът „%1“ е недопустим: настройките се влагат най-много на %2 нива.")
                                .arg(path)
                                .arg(TzekXMLNode2::MaxDepth));
    }
    for (const QString &name : names) {
        TzekXMLNode2 *child = from->FindChild(name);
        from = child ? child : from->AddChild(name);
    }
    return from;
}

} // namespace

TXMLSettings::TXMLSettings(const QString &fileName)
    : m_fileName(fileName)
{
    Clear();
}

TXMLSettings::TXMLSettings(std::shared_ptr<TXMLDataBase2> database, const QString &sectionPath)
    : m_database(std::move(database))
{
    Clear();
    SectionPath = sectionPath;
    m_fileName = m_database->fileName();
}

QString TXMLSettings::programSettingsFile()
{
    return varnex::dataFile(QStringLiteral(".xdb"));
}

TXMLSettings::~TXMLSettings()
{
    if (!m_owner || !m_saveWhenFreed)
        return;
    try {
        Save();
    } catch (const varnex::Error &error) {
        // Nothing is left to tell at this point; the log keeps the reason.
        qWarning().noquote() << error.message();
    }
}

void TXMLSettings::Clear()
{
    SectionPath.clear();
    m_section = nullptr;
}

void TXMLSettings::Open()
{
    if (!m_database) {
        if (m_fileName.isEmpty())
            m_fileName = programSettingsFile();
        m_database = std::make_shared<TXMLDataBase2>(m_fileName);
        m_database->Load();
        m_owner = true;
    }
    m_section = makePath(&m_database->document(), SectionPath);
}

QString TXMLSettings::loadError() const
{
    return m_database ? m_database->loadError() : QString();
}

TzekXMLNode2 *TXMLSettings::section()
{
    if (!m_section)
        Open();
    return m_section;
}

bool TXMLSettings::HasKey(const QString &key)
{
    return findPath(section(), key) != nullptr;
}

QString TXMLSettings::ReadString(const QString &key, const QString &defaultValue)
{
    const TzekXMLNode2 *element = findPath(section(), key);
    return element ? element->text() : defaultValue;
}

void TXMLSettings::WriteString(const QString &key, const QString &value)
{
    varnex::toWin1251(value);
    makePath(section(), key)->SetText(value);
}

bool TXMLSettings::HasSettingsSection(const QString &name)
{
    return findPath(section(), QLatin1String("settings\\") + name) != nullptr;
}

void TXMLSettings::Save()
{
    section();
    m_database->Save();
}

std::unique_ptr<TSettings> TXMLSettings::OpenSection(const QString &name)
{
    section();
    QString path = SectionPath;
    if (!name.isEmpty())
        path = path.isEmpty() ? name : path + QLatin1Char('\\') + name;
    std::unique_ptr<TXMLSettings> child(new TXMLSettings(m_database, path));
    child->Open();
    return child;
}

QString TXMLSettings::ReadStringInherited(const QString &key, const QString &defaultValue)
{
    for (TzekXMLNode2 *level = section(); level; level = level->parent()) {
        if (const TzekXMLNode2 *element = findPath(level, key))
            return element->text();
    }
    return defaultValue;
}
