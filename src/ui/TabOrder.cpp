#include "ui/TabOrder.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>

namespace {

void collect(QWidget *widget, QList<QWidget *> &fields);

void collect(QLayoutItem *item, QList<QWidget *> &fields);

void collect(QLayout *layout, QList<QWidget *> &fields)
{
    QList<QLayoutItem *> items;
    if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
        std::vector<std::pair<std::pair<int, int>, QLayoutItem *>> cells;
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            cells.push_back({{row, column}, grid->itemAt(i)});
        }
        std::stable_sort(cells.begin(), cells.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &cell : cells)
            items << cell.second;
    } else if (auto *form = qobject_cast<QFormLayout *>(layout)) {
        for (int row = 0; row < form->rowCount(); ++row)
            for (QFormLayout::ItemRole role : {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole})
                if (QLayoutItem *item = form->itemAt(row, role))
                    items << item;
    } else {
        for (int i = 0; i < layout->count(); ++i)
            items << layout->itemAt(i);
        if (auto *box = qobject_cast<QBoxLayout *>(layout);
            box && (box->direction() == QBoxLayout::RightToLeft || box->direction() == QBoxLayout::BottomToTop))
            std::reverse(items.begin(), items.end());
    }
    for (QLayoutItem *item : items)
        collect(item, fields);
}

void collect(QLayoutItem *item, QList<QWidget *> &fields)
{
    if (QWidget *widget = item->widget())
        collect(widget, fields);
    else if (QLayout *inner = item->layout())
        collect(inner, fields);
}

void collect(QWidget *widget, QList<QWidget *> &fields)
{
    if ((widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy()) {
        fields << widget;
        return;
    }
    if (auto *pages = qobject_cast<QTabWidget *>(widget)) {
        collect(pages->tabBar(), fields);
        for (int page = 0; page < pages->count(); ++page)
            collect(pages->widget(page), fields);
    } else if (widget->layout()) {
        collect(widget->layout(), fields);
    } else {
        for (QWidget *child : widget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (!child->isWindow())
                collect(child, fields);
    }
}

} // namespace

void chainTabOrderByLayout(QWidget *window)
{
    QList<QWidget *> fields;
    if (window->layout())
        collect(window->layout(), fields);
    for (int i = 1; i < fields.size(); ++i)
        QWidget::setTabOrder(fields[i - 1], fields[i]);
}
