#pragma once

#include <QList>
#include <QPair>

class QWidget;

// Places toolbar buttons in groups from the left: each group starts after
// a gap, its visible buttons follow one another with a spacing, and hidden
// buttons take no room.
class TToolbarLayout
{
public:
    void clear();
    void addButton(QWidget *button, int group);
    // Moves every button of group `index` or higher one group up.
    void insertGroup(int index);
    // Returns the x just past the last placed button.
    int arrange(int top) const;

    int gap = 2;
    int spacing = 2;

private:
    QList<QPair<QWidget *, int>> m_buttons;
    int m_groups = 0;
};
