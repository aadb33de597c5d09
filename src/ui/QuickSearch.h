#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QLineEdit;
class QPushButton;
class QTimer;
class TfrmBaseVXGrid;
namespace db {
class Dataset;
}

// The quick search bar of a list window, put into its search panel: a text
// box searched 400 ms after typing stops (at once with "Търси" or Enter),
// and "Следващ", which goes on after the current row. A row matches when one
// of the fields shows the text, ignoring letter case; an empty text goes to
// the first row. A failed search leaves the current row where it was and
// shows the window's "not found" notice. While the dataset is edited the bar
// is cleared and disabled. Whether the panel is shown is kept in the
// window's settings under "ShowQuickSearch".
class QuickSearch : public QObject
{
    Q_OBJECT

public:
    QuickSearch(TfrmBaseVXGrid &window, db::Dataset &dataset, QStringList fields);

    QLineEdit *edit() const { return m_edit; }
    QPushButton *findButton() const { return m_find; }
    QPushButton *nextButton() const { return m_next; }
    QTimer *timer() const { return m_timer; }

    // Cleared as well when disabled, so nothing typed waits to be searched.
    void setEnabled(bool enabled);
    // Runs `work` (a deletion, say) with the bar off, and on again after,
    // whether the work ended or failed.
    void offWhile(const std::function<void()> &work);
    void findFromFirst();
    void findNext();
    // The panel as it was left, from the window's settings.
    void restoreShown();

private:
    void find(bool fromFirst);

    TfrmBaseVXGrid &m_window;
    db::Dataset &m_dataset;
    QStringList m_fields;
    QLineEdit *m_edit;
    QPushButton *m_find;
    QPushButton *m_next;
    QTimer *m_timer;
};
