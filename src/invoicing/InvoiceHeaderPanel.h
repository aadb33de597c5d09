#pragma once

#include <QWidget>

#include <memory>

class DBCheckBox;
class DBComboBox;
class DBDateEdit;
class DBEdit;
class QComboBox;
class QLineEdit;
class QVBoxLayout;
namespace db {
class Dataset;
}

namespace invoicing {

class InvoiceRow;

// The top of an invoice: its number, date, place and status, whether it is
// a notification and what it corrects, and the recipient.
class InvoiceHeaderPanel : public QWidget
{
    Q_OBJECT

public:
    InvoiceHeaderPanel(InvoiceRow &row, QWidget *parent);
    ~InvoiceHeaderPanel() override;

    // The clients offered; read when the editor prepares the document.
    void openClients();
    // The row's values in the boxes that are no bound controls.
    void showRowTexts();
    // What those boxes show, written into the row before it is checked.
    void syncTextsToRow();
    void chooseClientById(int clientId);
    void followNotification();
    void tintStatus();
    // Where the number box's text was typed over by a proposal.
    void showNumber(qint64 number);

    void numberLeft();
    void placeLeft(QComboBox *box);
    void refNumberLeft();
    void chooseClient(int index);

    // The boxes, as a designed form exposes them.
    QLineEdit *number = nullptr;
    DBDateEdit *date = nullptr;
    QComboBox *place = nullptr;
    DBComboBox *status = nullptr;
    DBCheckBox *notification = nullptr;
    DBComboBox *notifType = nullptr;
    DBEdit *refNumber = nullptr;
    DBDateEdit *refDate = nullptr;
    QComboBox *client = nullptr;
    DBEdit *dannum = nullptr;
    DBEdit *bulstat = nullptr;
    QComboBox *city = nullptr;
    DBEdit *address = nullptr;
    DBEdit *mol = nullptr;

Q_SIGNALS:
    // The date of issue changed: the currency of the figures may follow.
    void dateChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildNumberRow(QVBoxLayout *layout);
    void buildParties(QVBoxLayout *layout);
    void fillClients();

    InvoiceRow &m_row;
    std::unique_ptr<db::Dataset> m_clients;
    bool m_askingCity = false;
};

} // namespace invoicing
