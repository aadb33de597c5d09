#include "ui/PrivateFonts.h"

#include <QDir>
#include <QFontDatabase>

PrivateFonts::PrivateFonts(const QString &folder)
{
    const QDir fonts(folder);
    for (const QString &name : fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files)) {
        const int id = QFontDatabase::addApplicationFont(fonts.filePath(name));
        if (id >= 0)
            m_ids << id;
    }
}

PrivateFonts::~PrivateFonts()
{
    for (const int id : m_ids)
        QFontDatabase::removeApplicationFont(id);
}
