#include "ui/DBControls.h"

#include "db/Dataset.h"
#include "ui/DateKeys.h"
#include "ui/ErrorGuard.h"

#include <QDateTime>
#include <QCalendarWidget>
#include <QLocale>
#include <QValidator>

namespace {

const QDate kBlankDate(1899, 12, 30);

// A number field takes what can become a number and nothing else, so no
// letter typed into it is silently thrown away when the field is left.
class NumberTextValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        const QString group = QLocale().groupSeparator();
        for (const QChar c : input) {
            if (!c.isDigit() && !c.isSpace() && !QStringLiteral("+-.,eE").contains(c) && !group.contains(c))
                return Invalid;
        }
        double number = 0;
        return input.trimmed().isEmpty() || DBNumberEdit::parseNumber(input, &number) ? Acceptable : Intermediate;
    }
};

} // namespace

FieldLink::FieldLink(QWidget *editor, db::Dataset &dataset, const QString &field, std::function<void()> show)
    : QObject(editor)
    , m_editor(editor)
    , m_dataset(dataset)
    , m_field(field)
    , m_show(std::move(show))
{
    editor->setProperty("dataField", field);
    connect(&dataset, &db::Dataset::currentChanged, this, &FieldLink::refresh);
    connect(&dataset, &db::Dataset::reset, this, &FieldLink::refresh);
    connect(&dataset, &db::Dataset::stateChanged, this, &FieldLink::refresh);
    connect(&dataset, &db::Dataset::rowChanged, this, [this](int row) {
        if (row == m_dataset.recNo())
            refresh();
    });
    refresh();
}

QVariant FieldLink::value() const
{
    return m_dataset.isOpen() && m_dataset.hasField(m_field) ? m_dataset.value(m_field) : QVariant();
}

bool FieldLink::write(const QVariant &value)
{
    m_writing = true;
    const bool written = runGuarded(m_editor->window(), [&] {
        if (!m_dataset.isEditing())
            m_dataset.edit();
        m_dataset.setValue(m_field, value);
    });
    m_writing = false;
    if (!written)
        refresh();
    return written;
}

void FieldLink::refresh()
{
    if (m_writing)
        return;
    const QSignalBlocker blocker(m_editor);
    m_show();
}

DBEdit::DBEdit(QWidget *parent)
    : QLineEdit(parent)
{
}

void DBEdit::bind(db::Dataset &dataset, const QString &field)
{
    m_link = new FieldLink(this, dataset, field, [this] {
        if (!m_link)
            return;
        // The column's size is known once the statement has been opened.
        if (const int length = m_link->dataset().fieldLength(m_link->field()); length > 0)
            setMaxLength(length);
        setText(m_link->value().toString());
    });
    m_link->refresh();
    connect(this, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_link->write(text.isEmpty() ? QVariant() : QVariant(text));
    });
}

DBNumberEdit::DBNumberEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight);
    setValidator(new NumberTextValidator(this));
}

bool DBNumberEdit::parseNumber(const QString &text, double *number)
{
    bool ok = false;
    *number = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok)
        *number = QLocale::c().toDouble(QString(text.trimmed()).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    return ok;
}

void DBNumberEdit::bind(db::Dataset &dataset, const QString &field)
{
    m_link = new FieldLink(this, dataset, field, [this] {
        if (!m_link)
            return;
        const db::Dataset &rows = m_link->dataset();
        setText(rows.isOpen() && rows.recNo() >= 0 ? rows.displayText(m_link->field()) : QString());
    });
    m_link->refresh();
    connect(this, &QLineEdit::textEdited, this, [this](const QString &text) {
        double number = 0;
        if (text.trimmed().isEmpty()) {
            m_link->write(QVariant());
        } else if (parseNumber(text, &number)) {
            const bool percent = m_link->dataset().displayRule(m_link->field()) == db::DisplayRule::Percent;
            m_link->write(percent ? number / 100 : number);
        }
    });
}

void DBNumberEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (m_link)
        m_link->refresh();
}

DBDateEdit::DBDateEdit(QWidget *parent)
    : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setMinimumDate(kBlankDate);
    setSpecialValueText(QStringLiteral(" "));
    DateKeys::install(this);
    // The calendar of a blank date opens on this month, not on the blank's.
    calendarWidget()->window()->installEventFilter(this);
}

bool DBDateEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == calendarWidget()->window() && event->type() == QEvent::Show && date() == kBlankDate) {
        const QDate today = QDate::currentDate();
        calendarWidget()->setCurrentPage(today.year(), today.month());
    }
    return QDateEdit::eventFilter(watched, event);
}

void DBDateEdit::bind(db::Dataset &dataset, const QString &field)
{
    m_link = new FieldLink(this, dataset, field, [this] {
        const QVariant value = m_link ? m_link->value() : QVariant();
        setDate(value.isNull() ? kBlankDate : value.toDate());
    });
    m_link->refresh();
    connect(this, &QDateEdit::dateChanged, this, [this](const QDate &date) {
        if (date == kBlankDate) {
            m_link->write(QVariant());
            return;
        }
        // A moment edited as a date keeps its time of day.
        const QVariant stored = m_link->value();
        m_link->write(stored.typeId() == QMetaType::QDateTime ? QVariant(QDateTime(date, stored.toDateTime().time()))
                                                              : QVariant(date));
    });
}

DBMemo::DBMemo(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
}

void DBMemo::bind(db::Dataset &dataset, const QString &field)
{
    m_link = new FieldLink(this, dataset, field, [this] {
        const QString text = m_link ? m_link->value().toString() : QString();
        if (toPlainText() != text)
            setPlainText(text);
    });
    m_link->refresh();
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        QString text = toPlainText();
        const int length = m_link->dataset().fieldLength(m_link->field());
        if (length > 0 && text.size() > length) {
            // What does not fit the column is cut off as it is typed or pasted.
            const int position = qMin(textCursor().position(), length);
            text.truncate(length);
            const QSignalBlocker blocker(this);
            setPlainText(text);
            QTextCursor cursor = textCursor();
            cursor.setPosition(position);
            setTextCursor(cursor);
        }
        m_link->write(text.isEmpty() ? QVariant() : QVariant(text));
    });
}

DBCheckBox::DBCheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
}

void DBCheckBox::bind(db::Dataset &dataset, const QString &field)
{
    m_link = new FieldLink(this, dataset, field, [this] { setChecked(m_link && m_link->value().toInt() == 1); });
    m_link->refresh();
    connect(this, &QCheckBox::toggled, this, [this](bool checked) { m_link->write(checked ? 1 : 0); });
}

DBComboBox::DBComboBox(QWidget *parent)
    : QComboBox(parent)
{
}

void DBComboBox::setChoices(const QList<QPair<QString, QVariant>> &choices)
{
    const QSignalBlocker blocker(this);
    clear();
    for (const auto &choice : choices)
        addItem(choice.first, choice.second);
    if (m_link)
        m_link->refresh();
}

void DBComboBox::bind(db::Dataset &dataset, const QString &field)
{
    m_link = new FieldLink(this, dataset, field, [this] {
        const QVariant value = m_link ? m_link->value() : QVariant();
        int found = -1;
        for (int i = 0; i < count() && !value.isNull(); ++i) {
            if (itemData(i).toString() == value.toString())
                found = i;
        }
        setCurrentIndex(found);
    });
    m_link->refresh();
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int index) { m_link->write(itemData(index)); });
}

DBLookupCombo::DBLookupCombo(QWidget *parent)
    : QComboBox(parent)
{
}

void DBLookupCombo::bind(db::Dataset &dataset, const QString &field, db::Dataset &lookup, const QString &lookupKey,
                         const QString &lookupDisplay)
{
    m_lookup = &lookup;
    m_lookupKey = lookupKey;
    m_lookupDisplay = lookupDisplay;
    fill();
    m_link = new FieldLink(this, dataset, field, [this] {
        const QVariant key = m_link ? m_link->value() : QVariant();
        setCurrentIndex(key.isNull() ? -1 : findData(key.toString()));
    });
    m_link->refresh();
    connect(&lookup, &db::Dataset::reset, this, [this] {
        fill();
        m_link->refresh();
    });
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        m_link->write(m_lookup->value(index, m_lookup->requireField(m_lookupKey)));
    });
}

void DBLookupCombo::fill()
{
    const QSignalBlocker blocker(this);
    clear();
    if (!m_lookup->isOpen())
        return;
    const int key = m_lookup->requireField(m_lookupKey);
    const int display = m_lookup->requireField(m_lookupDisplay);
    for (int row = 0; row < m_lookup->recordCount(); ++row)
        addItem(m_lookup->displayText(row, display), m_lookup->value(row, key).toString());
}
