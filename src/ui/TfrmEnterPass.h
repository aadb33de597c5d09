#pragma once

#include "ui/TfrmYesNo.h"

class QLineEdit;

// Asks for a password; the caller checks it. Nothing of it is remembered.
class TfrmEnterPass : public TfrmYesNo
{
    Q_OBJECT

public:
    explicit TfrmEnterPass(QWidget *owner = nullptr);

    QString password() const;
    QLineEdit *edtPass() const { return m_password; }

protected:
    // Centred on the desktop once its size is final.
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_password;
};
