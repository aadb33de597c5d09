#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

class DBDateEdit;
class DBEdit;
class QComboBox;
class QWidget;
namespace db {
class Dataset;
}

namespace invoicing {

// The invoice row the editor's panels write into, and the window whose one
// error guard tells what goes wrong. Boxes that are no plain bound controls
// (free-text drop-downs, the number box) write through here.
class InvoiceRow : public QObject
{
    Q_OBJECT

public:
    InvoiceRow(db::Dataset &row, QWidget *window);

    db::Dataset &dataset() const { return m_row; }
    QVariant value(const QString &column) const;
    // Puts the row into edit mode first: a value typed is a change.
    void set(const QString &column, const QVariant &value);
    void guard(const std::function<void()> &command) const;
    // Whether the editor has prepared the document; until then leaving a
    // box does nothing (no default rate, no lists).
    bool prepared() const { return m_prepared; }
    void setPrepared(bool prepared) { m_prepared = prepared; }

    DBEdit *edit(QWidget *parent, const char *objectName, const char *column) const;
    DBDateEdit *date(QWidget *parent, const char *objectName, const char *column) const;
    // A drop-down typed freely, each keystroke written into `column`; it
    // takes as many characters as the column holds.
    QComboBox *textCombo(QWidget *parent, const char *objectName, const char *column);
    // Free-text drop-downs and their columns: the row's values shown in
    // them, and what they show written back before the row is checked.
    using TextBoxes = std::initializer_list<std::pair<QComboBox *, const char *>>;
    void showTexts(TextBoxes boxes) const;
    void syncTexts(TextBoxes boxes);

Q_SIGNALS:
    // A settlement was added; every settlement drop-down reloads.
    void citiesChanged();

private:
    db::Dataset &m_row;
    QWidget *m_window;
    bool m_prepared = false;
};

// A drop-down whose list shows several titled columns, each as wide as its
// longest value, and whose box shows one of them.
QComboBox *tableCombo(QWidget *parent, const QStringList &titles, int shownColumn);
void setTableRows(QComboBox *box, const std::vector<QStringList> &rows);

} // namespace invoicing
