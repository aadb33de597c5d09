#include "ui/EntryProposal.h"

#include "db/Dataset.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {

bool byUser(const QEvent *event)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// Keys that change what a field holds, as opposed to moving through it.
bool changesValue(const QKeyEvent &key)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return key.key() == Qt::Key_V || key.key() == Qt::Key_X;
    switch (key.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return !key.text().isEmpty() && key.text().at(0).isPrint();
    }
}

class EntryProposal : public QObject
{
public:
    EntryProposal(QWidget *field, db::Dataset &rows, std::function<void()> propose)
        : QObject(field)
        , m_propose(std::move(propose))
    {
        field->installEventFilter(this);
        const auto forget = [this] { m_typed = false; };
        connect(&rows, &db::Dataset::currentChanged, this, forget);
        connect(&rows, &db::Dataset::reset, this, forget);
        connect(&rows, &db::Dataset::stateChanged, this, [this, &rows] {
            if (!rows.isEditing())
                m_typed = false;
        });
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && changesValue(*static_cast<QKeyEvent *>(event)))
            m_typed = true;
        else if (event->type() == QEvent::FocusIn && isEntering(event) && !m_typed)
            m_propose();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_propose;
    bool m_typed = false;
};

} // namespace

bool isEntering(const QEvent *event)
{
    return event->type() == QEvent::FocusIn && byUser(event);
}

bool isLeaving(const QEvent *event)
{
    return event->type() == QEvent::FocusOut && byUser(event);
}

void proposeOnEntry(QWidget *field, db::Dataset &rows, std::function<void()> propose)
{
    new EntryProposal(field, rows, std::move(propose));
}
