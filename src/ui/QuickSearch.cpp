#include "ui/QuickSearch.h"

#include "core/TSettings.h"
#include "core/Tdm.h"
#include "db/Dataset.h"
#include "ui/TfrmBaseVXGrid.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

QuickSearch::QuickSearch(TfrmBaseVXGrid &window, db::Dataset &dataset, QStringList fields)
    : QObject(&window)
    , m_window(window)
    , m_dataset(dataset)
    , m_fields(std::move(fields))
{
    m_edit = new QLineEdit(window.searchPanel());
    m_edit->setObjectName(QStringLiteral("edtSearch"));
    m_edit->setMinimumWidth(220);
    m_find = new QPushButton(QStringLiteral("Търси"), window.searchPanel());
    m_next = new QPushButton(QStringLiteral("Следващ"), window.searchPanel());
    m_find->setAutoDefault(false);
    m_next->setAutoDefault(false);
    window.searchFields()->addWidget(m_edit);
    window.searchFields()->addWidget(m_find);
    window.searchFields()->addWidget(m_next);
    window.searchFields()->addStretch();

    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(400);
    connect(m_edit, &QLineEdit::textEdited, m_timer, qOverload<>(&QTimer::start));
    connect(m_timer, &QTimer::timeout, this, &QuickSearch::findFromFirst);
    connect(m_edit, &QLineEdit::returnPressed, this, &QuickSearch::findFromFirst);
    connect(m_find, &QPushButton::clicked, this, &QuickSearch::findFromFirst);
    connect(m_next, &QPushButton::clicked, this, &QuickSearch::findNext);
    connect(&dataset, &db::Dataset::stateChanged, this, [this] { setEnabled(!m_dataset.isEditing()); });
    connect(window.actnSearch, &QAction::toggled, this, [this](bool shown) {
        m_window.Settings().WriteBool(QStringLiteral("ShowQuickSearch"), shown);
        if (shown)
            m_edit->setFocus();
    });
}

void QuickSearch::setEnabled(bool enabled)
{
    if (!enabled) {
        m_timer->stop();
        m_edit->clear();
    }
    for (QWidget *part : {static_cast<QWidget *>(m_edit), static_cast<QWidget *>(m_find), static_cast<QWidget *>(m_next)})
        part->setEnabled(enabled);
}

void QuickSearch::offWhile(const std::function<void()> &work)
{
    setEnabled(false);
    try {
        work();
    } catch (...) {
        setEnabled(true);
        throw;
    }
    setEnabled(true);
}

void QuickSearch::findFromFirst()
{
    find(true);
}

void QuickSearch::findNext()
{
    find(false);
}

void QuickSearch::restoreShown()
{
    m_window.actnSearch->setChecked(m_window.Settings().ReadBool(QStringLiteral("ShowQuickSearch"), false));
}

void QuickSearch::find(bool fromFirst)
{
    m_timer->stop();
    if (m_dataset.isEditing())
        return;
    const QString text = m_edit->text();
    if (text.isEmpty()) {
        m_dataset.first();
        return;
    }
    m_window.SaveCurrentKey();
    const bool found = fromFirst ? dm().FindTextFromFirst(m_dataset, m_fields, text)
                                 : dm().FindText(m_dataset, m_fields, text, true);
    if (found)
        return;
    m_window.RestoreCurrentKey();
    m_window.ShowNotification(1, fromFirst ? QStringLiteral("Такъв запис не е намерен!")
                                           : QStringLiteral("Друг такъв запис не е намерен!"));
}
