#pragma once

#include "ui/TfrmBaseForm.h"

class QHBoxLayout;
class QPushButton;
class QVBoxLayout;

// A dialog with "OK" (default, also Ctrl+Enter from any field) and "Cancel"
// (Esc) at the bottom right. It
// keeps its designed size; its place is remembered. Derived dialogs put
// their fields into contentLayout() and may recaption the buttons.
class TfrmYesNo : public TfrmBaseForm
{
    Q_OBJECT

public:
    explicit TfrmYesNo(QWidget *owner = nullptr);

    QPushButton *btnOK() const { return m_ok; }
    QPushButton *btnCancel() const { return m_cancel; }

    // Cancel, Esc and the close box ask before what the user typed into the
    // dialog is dropped.
    bool AskBeforeDroppingInput = false;

public Q_SLOTS:
    void reject() override;

protected:
    QVBoxLayout *contentLayout() const { return m_content; }
    QHBoxLayout *buttonLayout() const { return m_buttons; }
    void showEvent(QShowEvent *event) override;
    // Puts the focus into the first enabled text field that is still empty,
    // so that typing starts there rather than on a button.
    void focusFirstEmptyField();

private:
    void watchInput();

    QVBoxLayout *m_content;
    QHBoxLayout *m_buttons;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    bool m_inputGiven = false;
    bool m_inputWatched = false;
};
