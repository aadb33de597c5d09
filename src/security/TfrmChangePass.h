#pragma once

#include "ui/TfrmYesNo.h"

class QLineEdit;

// "Смяна на парола": old, new and repeated password. OK needs the new and
// the repeated password equal and an old one unless it is not asked.
class TfrmChangePass : public TfrmYesNo
{
    Q_OBJECT

public:
    explicit TfrmChangePass(QWidget *owner = nullptr);

    QLineEdit *edtOld() const { return m_old; }
    QLineEdit *edtNew() const { return m_new; }
    QLineEdit *edtRepeat() const { return m_repeat; }
    void setOldEnabled(bool enabled);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updateOk();

    QLineEdit *m_old;
    QLineEdit *m_new;
    QLineEdit *m_repeat;
};
