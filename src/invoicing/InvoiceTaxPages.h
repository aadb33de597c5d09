#pragma once

#include <QObject>
#include <QString>

class DBCheckBox;
class DBEdit;
class DBNumberEdit;
class QGroupBox;
class QLineEdit;
class QWidget;

namespace invoicing {

class InvoiceRow;

// What decides the invoice's VAT: the rate, the circumstances under which
// none is charged, and the data of a distance sale. The editor places the
// pages and the group.
class InvoiceTaxPages : public QObject
{
    Q_OBJECT

public:
    InvoiceTaxPages(InvoiceRow &row, QWidget *parent);

    // The document's own rate, or the default one where it has none.
    void showRate(const QString &ownRate, const QString &defaultRate);
    double rate() const { return m_rate; }
    QString rateText() const { return m_rateText; }
    // False (and the user told, once the focus has moved) for a blank rate.
    bool rateLeft();
    void followSpecialCases();

    QWidget *ratePage = nullptr;
    QWidget *casesPage = nullptr;
    QGroupBox *distance = nullptr;

    QLineEdit *rateBox = nullptr;
    DBCheckBox *noncharge = nullptr;
    DBCheckBox *requested = nullptr;
    DBEdit *rvDetails = nullptr;
    DBCheckBox *newVehicle = nullptr;
    DBEdit *nvDetails = nullptr;
    DBEdit *zeroGround = nullptr;
    DBEdit *distEik = nullptr;
    DBEdit *distVat = nullptr;
    DBNumberEdit *distValue = nullptr;

Q_SIGNALS:
    void rateChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildRatePage(QWidget *parent);
    void buildCasesPage(QWidget *parent);
    void buildDistance(QWidget *parent);
    void takeRate();

    InvoiceRow &m_row;
    double m_rate = 0;
    QString m_rateText;
};

} // namespace invoicing
