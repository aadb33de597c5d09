#include "ui/TToolbarLayout.h"

#include <QWidget>

void TToolbarLayout::clear()
{
    m_buttons.clear();
    m_groups = 0;
}

void TToolbarLayout::addButton(QWidget *button, int group)
{
    m_buttons.append({button, group});
    m_groups = qMax(m_groups, group + 1);
}

void TToolbarLayout::insertGroup(int index)
{
    for (auto &entry : m_buttons) {
        if (entry.second >= index)
            ++entry.second;
    }
    m_groups = qMax(m_groups + 1, index + 1);
}

int TToolbarLayout::arrange(int top) const
{
    int x = 0;
    for (int group = 0; group < m_groups; ++group) {
        x += gap;
        for (const auto &entry : m_buttons) {
            if (entry.second != group || entry.first->isHidden())
                continue;
            entry.first->move(x, top);
            x += entry.first->width() + spacing;
        }
    }
    return x;
}
