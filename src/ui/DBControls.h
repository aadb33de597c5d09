#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <functional>

namespace db {
class Dataset;
}

// What every data-aware editor shares: it shows a field of the dataset's
// current row, follows the row as it moves, and puts the row into editing
// on the first change the user makes, writing into the edit buffer.
class FieldLink : public QObject
{
    Q_OBJECT

public:
    FieldLink(QWidget *editor, db::Dataset &dataset, const QString &field, std::function<void()> show);

    db::Dataset &dataset() const { return m_dataset; }
    const QString &field() const { return m_field; }
    QVariant value() const;
    // Writes a value the user gave; false when the row cannot be edited.
    bool write(const QVariant &value);
    void refresh();

private:
    QWidget *m_editor;
    db::Dataset &m_dataset;
    QString m_field;
    std::function<void()> m_show;
    bool m_writing = false;
};

// A text field, taking no more characters than its column holds.
class DBEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit DBEdit(QWidget *parent = nullptr);
    void bind(db::Dataset &dataset, const QString &field);

private:
    FieldLink *m_link = nullptr;
};

// A number field: shown with the field's format, typed with the locale's
// decimal point (a "." is taken too); percentages are typed as such.
class DBNumberEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit DBNumberEdit(QWidget *parent = nullptr);
    void bind(db::Dataset &dataset, const QString &field);
    static bool parseNumber(const QString &text, double *number);

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    FieldLink *m_link = nullptr;
};

// A date field with the date keys; an empty value shows blank.
class DBDateEdit : public QDateEdit
{
    Q_OBJECT

public:
    explicit DBDateEdit(QWidget *parent = nullptr);
    void bind(db::Dataset &dataset, const QString &field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FieldLink *m_link = nullptr;
};

// A multi-line text; Enter makes a new line. A text column's size limits it.
class DBMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit DBMemo(QWidget *parent = nullptr);
    void bind(db::Dataset &dataset, const QString &field);

private:
    FieldLink *m_link = nullptr;
};

// A tick box storing 1 when ticked and 0 when not.
class DBCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit DBCheckBox(const QString &text, QWidget *parent = nullptr);
    void bind(db::Dataset &dataset, const QString &field);

private:
    FieldLink *m_link = nullptr;
};

// A drop-down list of fixed choices, each a text and the value stored.
class DBComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DBComboBox(QWidget *parent = nullptr);
    void setChoices(const QList<QPair<QString, QVariant>> &choices);
    void bind(db::Dataset &dataset, const QString &field);

private:
    FieldLink *m_link = nullptr;
};

// A drop-down over a look-up list: shows one column of it (the code or the
// name) and writes the list's key into the field. A code combo and a name
// combo bound to the same field move together.
class DBLookupCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit DBLookupCombo(QWidget *parent = nullptr);
    void bind(db::Dataset &dataset, const QString &field, db::Dataset &lookup, const QString &lookupKey,
              const QString &lookupDisplay);

private:
    void fill();

    FieldLink *m_link = nullptr;
    db::Dataset *m_lookup = nullptr;
    QString m_lookupKey;
    QString m_lookupDisplay;
};
