#include "ui/TDictionary.h"

int TDictionary::indexOf(const QString &name) const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].first.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QVariant TDictionary::value(const QString &name) const
{
    const int index = indexOf(name);
    return index < 0 ? QVariant() : m_entries[size_t(index)].second;
}

void TDictionary::add(const QString &name, const QVariant &value)
{
    m_entries.emplace_back(name, value);
}

void TDictionary::put(const QString &name, const QVariant &value)
{
    const int index = indexOf(name);
    if (index < 0)
        add(name, value);
    else
        m_entries[size_t(index)].second = value;
}

void TDictionary::remove(int index)
{
    m_entries.erase(m_entries.begin() + index);
}

void TDictionary::insert(int index, const QString &name, const QVariant &value)
{
    m_entries.insert(m_entries.begin() + index, {name, value});
}

void TDictionary::merge(const TDictionary &other)
{
    for (const auto &entry : other.m_entries)
        put(entry.first, entry.second);
}

TDictionary &ParamBoard()
{
    static TDictionary board;
    return board;
}

void PutParam(const QString &name, const QVariant &value)
{
    ParamBoard().put(name, value);
}

QVariant TakeParam(const QString &name, const QVariant &defaultValue)
{
    const int index = ParamBoard().indexOf(name);
    if (index < 0)
        return defaultValue;
    const QVariant value = ParamBoard().value(index);
    ParamBoard().remove(index);
    return value;
}
