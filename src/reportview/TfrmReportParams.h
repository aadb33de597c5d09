#pragma once

#include "reportdata/Reports.h"

#include <QDialog>

class QComboBox;
class QDateEdit;

// The choices a report needs before it runs: a day, a period or a month,
// and for the stock card also the goods item.
class TfrmReportParams : public QDialog
{
    Q_OBJECT

public:
    TfrmReportParams(const reportdata::ReportEntry &entry, const std::vector<reportdata::GoodsChoice> &goods,
                     const QDate &today, QWidget *parent = nullptr);

    reportdata::ReportParameters parameters() const;

    QDateEdit *dateEdit() const { return m_date; }
    QDateEdit *fromEdit() const { return m_from; }
    QDateEdit *toEdit() const { return m_to; }
    QDateEdit *monthEdit() const { return m_month; }
    QComboBox *goodsBox() const { return m_goods; }

private:
    reportdata::ReportParameters m_base;
    QDateEdit *m_date = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QDateEdit *m_month = nullptr;
    QComboBox *m_goods = nullptr;
};
