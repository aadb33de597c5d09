#include "core/TXMLDataBase2.h"

#include "util/Error.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The user's way of protecting a settings file is taking away its write bit.
bool markedReadOnly(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}

} // namespace

TXMLDataBase2::TXMLDataBase2(const QString &fileName)
    : m_fileName(fileName)
{
}

void TXMLDataBase2::Load()
{
    m_document.ParseText(QString());
    m_document.SetName(QStringLiteral("dataroot"));
    m_unparsedOriginal = false;
    m_loadError.clear();
    if (!QFileInfo::exists(m_fileName))
        return;
    m_loadError = m_document.LoadFromFile(m_fileName);
    m_unparsedOriginal = !m_loadError.isEmpty();
}

void TXMLDataBase2::Save()
{
    if (m_fileName.isEmpty())
        throw varnex::Error(QStringLiteral("Cannot save XML DataBase!\n\rNo FileName is specified!"));
    if (markedReadOnly(m_fileName))
        return;
    if (m_unparsedOriginal && QFileInfo::exists(m_fileName)) {
        const QString badCopy = m_fileName + QLatin1String(".bad");
        QFile::remove(badCopy);
        if (!QFile::copy(m_fileName, badCopy)) {
            throw varnex::Error(
                QStringLiteral("Повреденият файл с настройки „%1“ не може да бъде запазен като „%2“; "
                               "настройките не са записани.")
                    .arg(m_fileName, badCopy));
        }
    }
    m_document.SaveToFile(m_fileName);
    m_unparsedOriginal = false;
}
