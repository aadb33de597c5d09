#pragma once

#include "ui/TfrmYesNo.h"

class QPlainTextEdit;

// The notes of a backup: one text, OK or Cancel; nothing of it is stored.
class TfrmRemarks : public TfrmYesNo
{
    Q_OBJECT

public:
    explicit TfrmRemarks(QWidget *owner = nullptr);

    QPlainTextEdit *memText() const { return m_text; }

private:
    QPlainTextEdit *m_text;
};

// Shows the notes window; on OK `text` becomes what the user left there.
bool EditNotes(const QString &caption, QString &text, QWidget *owner = nullptr);
