#pragma once

#include "ui/TfrmYesNo.h"

class QLineEdit;

// "Идентификация": user name and password. Offers the last user name and
// remembers the one typed; OK needs a user name.
class TfrmLogin : public TfrmYesNo
{
    Q_OBJECT

public:
    explicit TfrmLogin(QWidget *owner = nullptr);
    ~TfrmLogin() override;

    QLineEdit *edtUser() const { return m_user; }
    QLineEdit *edtPass() const { return m_password; }
    void LoadLayout() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_user;
    QLineEdit *m_password;
};
