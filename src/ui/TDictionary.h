#pragma once

#include <QString>
#include <QVariant>

#include <vector>

// An ordered list of names with one value each; names compare without
// regard to letter case and the first match counts.
class TDictionary
{
public:
    int count() const { return int(m_entries.size()); }
    QString name(int index) const { return m_entries.at(size_t(index)).first; }
    QVariant value(int index) const { return m_entries.at(size_t(index)).second; }
    void setValue(int index, const QVariant &value) { m_entries.at(size_t(index)).second = value; }
    int indexOf(const QString &name) const;
    bool contains(const QString &name) const { return indexOf(name) >= 0; }
    // Empty when the name is absent.
    QVariant value(const QString &name) const;
    void add(const QString &name, const QVariant &value = QVariant());
    // Sets the value of an existing name, else adds it.
    void put(const QString &name, const QVariant &value);
    void remove(int index);
    void insert(int index, const QString &name, const QVariant &value = QVariant());
    void clear() { m_entries.clear(); }
    void assign(const TDictionary &other) { m_entries = other.m_entries; }
    void merge(const TDictionary &other);

private:
    std::vector<std::pair<QString, QVariant>> m_entries;
};

// The board through which windows hand values to one another.
TDictionary &ParamBoard();
void PutParam(const QString &name, const QVariant &value);
// The value, removed from the board; the default when it is not there.
QVariant TakeParam(const QString &name, const QVariant &defaultValue = QVariant());
