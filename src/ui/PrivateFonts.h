#pragma once

#include <QList>
#include <QString>

// The fonts in the "fonts" folder beside the program, added to this
// process for as long as the object lives.
class PrivateFonts
{
public:
    explicit PrivateFonts(const QString &folder);
    ~PrivateFonts();

    PrivateFonts(const PrivateFonts &) = delete;
    PrivateFonts &operator=(const PrivateFonts &) = delete;

    int count() const { return int(m_ids.size()); }

private:
    QList<int> m_ids;
};
