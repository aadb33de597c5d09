#pragma once

#include "db/UsageCheck.h"
#include "util/Error.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QHash>
#include <QVariantHash>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QTimer;

namespace db {

class Attachment;
class PackedRows;
class Statement;
class Transaction;

// A check before a row is stored that refuses it: the message for the user
// and the field whose editor should take the focus.
class FieldError : public varnex::Error
{
public:
    FieldError(const QString &message, const QString &field)
        : varnex::Error(message)
        , m_field(field)
    {
    }
    const QString &field() const { return m_field; }

private:
    QString m_field;
};

// A store or delete refused because another workstation changed or deleted
// the row since it was read; the list has been read again.
class RecordConflict : public varnex::Error
{
public:
    RecordConflict()
        : varnex::Error(QStringLiteral("Записът е променен или изтрит от друг потребител. Списъкът е обновен."))
    {
    }
};

// How a field's value is shown in grids and editors.
enum class DisplayRule {
    Plain,
    Percent, // a fraction shown and typed as a percentage (0.05 ↔ 5)
    YesNo,   // 1 as " да ", anything else as " не "
};

// The rows of one select statement with a current row and an edit buffer:
// browse, edit and insert states; append, edit, post, cancel and remove
// through the statements the owner gives it, with ":NAME" bound to the new
// value of field NAME and ":OLD_NAME" to the value as it was read. Every
// stored change is committed at once, keeping the transaction open. An edit
// is stored only over the row as it was read: the row the update names is
// locked first (by the re-read itself when it reads that row of that table
// alone), and when it is gone, the re-read statement finds it changed or
// the update or delete changes no row, the change is refused with
// RecordConflict and the list is read again. An insert whose re-read names
// its columns of the same table gets them back from the insert itself.
//
// A dataset fetching on demand reads only its first rows when it opens and
// keeps the rest of the result open: rows come as they are asked for
// (a value, moving to a row, searching, counting) and, while the program
// is idle, in short bursts until all are read. It keeps its rows as the
// engine delivered them, decoding a value only when it is asked for.
class Dataset : public QObject
{
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };

    Dataset(Attachment &attachment, Transaction &transaction, QObject *parent = nullptr);
    ~Dataset() override;

    void setSelectSql(const QString &sql);
    const QString &selectSql() const { return m_selectSql; }
    void setInsertSql(const QString &sql) { m_insertSql = sql; }
    void setUpdateSql(const QString &sql) { m_updateSql = sql; }
    void setDeleteSql(const QString &sql) { m_deleteSql = sql; }
    // Re-reads one row after it is stored, bound like the other statements;
    // before an update it re-reads the row as it was read, to compare.
    void setRefreshSql(const QString &sql) { m_refreshSql = sql; }
    // Before a row is deleted, the places that refer to its `keyField` are
    // looked up and the deletion refused while one does; `recordName` names
    // the row for the user ("мярката").
    void setUsageChecks(const QString &recordName, const QString &keyField, std::vector<UsageCheck> checks);
    // Refuses, as remove() would, when a place uses the current row.
    void checkNotUsed();

    // A parameter of the select statement, by name, case-insensitive; the
    // value is kept when the statement's text changes.
    void setParam(const QString &name, const QVariant &value);

    // Takes effect at the next opening.
    void setFetchOnDemand(bool onDemand) { m_fetchOnDemand = onDemand; }
    bool fetchOnDemand() const { return m_fetchOnDemand; }
    // Rows read so far; as many as recordCount() once every row is read.
    int fetchedCount() const { return int(m_rows.size()); }
    bool fetchedAll() const { return !m_cursor; }
    // Reads up to `rows` more rows of the open result.
    void fetchMore(int rows);

    void open();
    // Opens with the statement's fields and no rows, without running it:
    // for a list that cannot hold any yet (the lines of a document whose
    // key was just drawn).
    void openWithoutRows();
    void close();
    // Closes and opens again; the current row goes back to the first.
    void reopen();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }

    // All the rows: a dataset fetching on demand reads the rest first.
    int recordCount() const;
    bool isEmpty() const;
    // The current row, −1 when there is none.
    int recNo() const { return m_current; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);

    int fieldCount() const { return int(m_fields.size()); }
    QString fieldName(int field) const;
    int fieldIndex(const QString &name) const; // −1 when absent
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    // Throws "Field not found" for a name the dataset does not have.
    int requireField(const QString &name) const;
    // The most characters a text field of the statement holds; 0 for other
    // fields, unknown names and before the first open.
    int fieldLength(const QString &name) const;

    // Values of the current row (the edit buffer while editing); null on an
    // empty dataset.
    QVariant value(const QString &field) const;
    QVariant value(int row, int field) const;
    QString displayText(int row, int field) const;
    QString displayText(const QString &field) const;
    // Puts a value into the edit buffer; the dataset must be editing.
    void setValue(const QString &field, const QVariant &value);
    bool isModified() const { return m_modified; }

    void append();
    void edit();
    // Runs the before-post check, stores the row, re-reads it. On failure
    // the row stays in editing and the error goes to the caller.
    void post();
    void cancel();
    void remove();

    // Moves to the first row whose fields all equal the values.
    bool locate(const QStringList &fields, const QVariantList &values);

    // While controls are disabled no change is announced; enabling them
    // again announces one reset of everything.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabledControls > 0; }
    // While scroll events are off the scroll hooks do not run.
    void setScrollEventsEnabled(bool enabled) { m_scrollEvents = enabled; }

    // Fields computed from the row, and look-ups of a value in another
    // dataset through a key field of this one.
    void addCalculatedField(const QString &name, std::function<QVariant(const Dataset &, int row)> compute);
    void addLookupField(const QString &name, const QString &keyField, Dataset *lookup, const QString &lookupKey,
                        const QString &lookupResult);
    void setDisplayFormat(const QString &field, const QString &format);
    void setDisplayRule(const QString &field, DisplayRule rule);
    DisplayRule displayRule(const QString &field) const;
    // The value of `resultField` in the first row whose `keyField` equals `key`.
    QVariant lookupValue(const QString &keyField, const QVariant &key, const QString &resultField) const;

    std::function<void(Dataset &)> onNewRecord;
    std::function<void(Dataset &)> beforePost; // throws FieldError to refuse
    std::function<void(Dataset &)> afterPost;
    std::function<void(Dataset &)> beforeScroll;
    std::function<void(Dataset &)> afterScroll;

Q_SIGNALS:
    void stateChanged();
    void currentChanged();
    // The whole result changed (opened, closed, reopened, controls enabled).
    void reset();
    void rowChanged(int row);
    void rowInserted(int row);
    void rowRemoved(int row);
    // Rows first..last were read from the open result and added at the end.
    void rowsFetched(int first, int last);

private:
    struct Field
    {
        enum class Kind { Data, Calculated, Lookup } kind = Kind::Data;
        QString name;
        int length = 0;
        std::function<QVariant(const Dataset &, int)> compute;
        QString keyField;
        Dataset *lookup = nullptr;
        QString lookupKey;
        QString lookupResult;
    };

    // A row is either decoded values (read whole, stored or appended) or
    // the engine's bytes kept in m_packed.
    struct Row
    {
        const char *packed = nullptr;
        QVariantList values;
    };

    void open(bool readRows);
    QVariantList readRow(Statement &statement) const;
    QVariant storedValue(int row, int field) const;
    QVariantList storedRow(int row) const;
    // Rows read from the open result: pullRows keeps them unannounced (a
    // burst or an opening announces once), readRows announces them.
    int pullRows(int count) const;
    void announceFetched(int first) const;
    void readRows(int count) const;
    void readRest() const;
    bool hasRow(int row) const;
    void readInIdleTime();
    void dropCursor();
    int dataFieldCount() const;
    qint64 runChange(const QString &sql);
    // Locks the row the update names; false when it is gone.
    bool lockStoredRow();
    void releaseLocks() noexcept;
    // Whether the row `sql` reads, bound to the values as read, is gone or
    // differs from them.
    bool storedRowDiffers(const QString &sql);
    // Runs the insert; true when it gave back the stored row, so no re-read
    // is needed.
    bool insertRow();
    void takeStoredValues(Statement &statement);
    [[noreturn]] void refuseAsChangedElsewhere(const QString &sql);
    void bindRow(Statement &statement, const QVariantList &current, const QVariantList &original) const;
    void setCurrent(int row);
    void setState(State state);
    void announceReset();

    Attachment &m_attachment;
    Transaction &m_transaction;
    QString m_selectSql;
    QString m_insertSql;
    QString m_updateSql;
    QString m_deleteSql;
    QString m_refreshSql;
    QString m_usageRecordName;
    QString m_usageKeyField;
    std::vector<UsageCheck> m_usageChecks;
    QVariantHash m_params; // upper-case names
    // How fields are shown, by upper-case name; they may be set before the
    // first open and outlive reopening.
    QHash<QString, QString> m_formats;
    QHash<QString, DisplayRule> m_rules;

    std::vector<Field> m_fields;
    std::vector<Row> m_rows; // data fields only
    bool m_fetchOnDemand = false;
    std::unique_ptr<PackedRows> m_packed;
    std::unique_ptr<Statement> m_cursor; // while rows are left to read
    int m_endWatch = 0;
    QTimer *m_idleReading = nullptr;
    struct LookupIndex
    {
        QHash<double, int> numbers; // key value → first row
        QHash<QString, int> texts;
    };
    mutable std::map<int, LookupIndex> m_lookupIndex; // by key field
    int m_current = -1;
    bool m_eof = true;
    State m_state = State::Inactive;
    QVariantList m_buffer;
    QVariantList m_original;
    bool m_modified = false;
    int m_disabledControls = 0;
    bool m_pendingReset = false;
    bool m_scrollEvents = true;
};

} // namespace db
