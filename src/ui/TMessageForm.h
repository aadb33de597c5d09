#pragma once

#include "ui/Dialogs.h"

#include <QDialog>

class QPushButton;

// The message dialog: Bulgarian caption and button texts, an icon by kind,
// the text word-wrapped within half the screen and the buttons in one row
// under it. Its result is one of the modal results.
class TMessageForm : public QDialog
{
    Q_OBJECT

public:
    TMessageForm(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons, QWidget *parent = nullptr);

    QPushButton *button(TMsgDlgBtn which) const;
    QPushButton *defaultButton() const { return m_default; }
    int cancelResult() const { return m_cancelResult; }

    static QString captionFor(TMsgDlgType type);
    static QString buttonCaption(TMsgDlgBtn button);
    static int buttonResult(TMsgDlgBtn button);

public Q_SLOTS:
    // Esc and the close box answer with the cancel button's result.
    void reject() override;

private:
    QList<QPair<TMsgDlgBtn, QPushButton *>> m_buttons;
    QPushButton *m_default = nullptr;
    int m_cancelResult = mrCancel;
};
