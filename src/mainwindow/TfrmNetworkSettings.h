#pragma once

#include "ui/TfrmYesNo.h"

class QLineEdit;

// "Network Settings": where the network database is, as the settings file
// says. It stores nothing; the file is the installer's.
class TfrmNetworkSettings : public TfrmYesNo
{
    Q_OBJECT

public:
    explicit TfrmNetworkSettings(QWidget *owner = nullptr);

    QLineEdit *edtServer() const { return m_server; }
    QLineEdit *edtDatabase() const { return m_database; }
    QLineEdit *edtUser() const { return m_user; }
    QLineEdit *edtPassword() const { return m_password; }

private:
    QLineEdit *m_server;
    QLineEdit *m_database;
    QLineEdit *m_user;
    QLineEdit *m_password;
};
