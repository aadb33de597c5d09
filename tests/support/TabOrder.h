#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QStringList>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <string>

namespace testing_support {

// Tab follows the layout. A field is a widget Tab stops on: shown, enabled,
// taking Tab focus and lending it to no other; what lies inside a field (a
// drop-down's line edit, a grid's cell editor) is the field's own. Within
// each parent the fields, and the children holding fields, are read as one
// reads a page: top to bottom, and left to right within a row, a row being
// the children whose top edge lies above the middle of the highest of them.
// A child holding fields has them all read at its place. Tab wraps around,
// so the window's chain may start anywhere in that cycle.
namespace tab_order {

inline bool isField(const QWidget *widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && !widget->focusProxy();
}

inline QList<QWidget *> fieldsIn(QWidget *parent)
{
    struct Block
    {
        QRect place;
        QList<QWidget *> fields;
    };
    std::vector<Block> blocks;
    for (QWidget *child : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || !child->isVisible())
            continue;
        if (isField(child))
            blocks.push_back({child->geometry(), {child}});
        else if (QList<QWidget *> inner = fieldsIn(child); !inner.isEmpty())
            blocks.push_back({child->geometry(), inner});
    }
    const auto byTop = [](const Block &a, const Block &b) { return a.place.top() < b.place.top(); };
    const auto byLeft = [](const Block &a, const Block &b) { return a.place.left() < b.place.left(); };
    std::stable_sort(blocks.begin(), blocks.end(), byTop);
    QList<QWidget *> order;
    for (auto row = blocks.begin(); row != blocks.end();) {
        const int middle = row->place.center().y();
        const auto rowEnd = std::find_if(row, blocks.end(), [&](const Block &b) { return b.place.top() >= middle; });
        std::stable_sort(row, rowEnd, byLeft);
        for (auto block = row; block != rowEnd; ++block)
            order += block->fields;
        row = rowEnd;
    }
    return order;
}

inline bool insideField(QWidget *widget, QWidget *window)
{
    for (QWidget *up = widget->parentWidget(); up && up != window; up = up->parentWidget())
        if (isField(up))
            return true;
    return false;
}

inline QString nameOf(QWidget *field)
{
    QString name = field->objectName();
    if (const auto *button = qobject_cast<QAbstractButton *>(field); name.isEmpty() && button)
        name = button->text();
    for (const QLabel *label : field->window()->findChildren<QLabel *>())
        if (name.isEmpty() && label->buddy() == field)
            name = label->text();
    if (name.isEmpty())
        name = QString::fromLatin1(field->metaObject()->className());
    const QPoint at = field->mapTo(field->window(), QPoint());
    return QStringLiteral("%1@%2,%3").arg(name).arg(at.x()).arg(at.y());
}

// One field a line, so that a failed comparison shows the lines that differ.
inline std::string names(const QList<QWidget *> &fields)
{
    QStringList list;
    for (QWidget *field : fields)
        list << nameOf(field);
    return list.join(QLatin1Char('\n')).toStdString();
}

} // namespace tab_order

// The window's fields in the order the layout reads.
inline std::string readingOrder(QWidget *window)
{
    return tab_order::names(tab_order::fieldsIn(window));
}

// The window's fields as Tab visits them, starting where reading starts.
inline std::string tabOrder(QWidget *window)
{
    const QList<QWidget *> reading = tab_order::fieldsIn(window);
    QList<QWidget *> chain;
    for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if (w->window() == window && w->isVisible() && tab_order::isField(w) && !tab_order::insideField(w, window))
            chain << w;
    if (!reading.isEmpty() && chain.contains(reading.first()))
        std::rotate(chain.begin(), chain.begin() + chain.indexOf(reading.first()), chain.end());
    return tab_order::names(chain);
}

// Runs `check` on every page of the window's tab widgets in turn (once if
// it has none), with the page's name.
inline void forEachPage(QWidget *window, const std::function<void(const QString &page)> &check)
{
    const QList<QTabWidget *> tabs = window->findChildren<QTabWidget *>();
    if (tabs.isEmpty())
        check(QString());
    for (QTabWidget *pages : tabs) {
        for (int page = 0; page < pages->count(); ++page) {
            if (!pages->isTabEnabled(page) || !pages->isVisible())
                continue;
            pages->setCurrentIndex(page);
            check(pages->tabText(page));
        }
    }
}

} // namespace testing_support
