#include "reportview/TfrmReportParams.h"

#include "reportview/DialogButtons.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QPushButton>

namespace {

QDateEdit *dateField(const QDate &date, QWidget *parent)
{
    auto *edit = new QDateEdit(date, parent);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setCalendarPopup(true);
    return edit;
}

} // namespace

TfrmReportParams::TfrmReportParams(const reportdata::ReportEntry &entry,
                                   const std::vector<reportdata::GoodsChoice> &goods, const QDate &today,
                                   QWidget *parent)
    : QDialog(parent)
{
    m_base.today = today;
    setWindowTitle(entry.name);
    auto *form = new QFormLayout;
    if (entry.parameters == reportdata::ParameterKind::GoodsAndPeriod) {
        m_goods = new QComboBox(this);
        m_goods->setEditable(true);
        m_goods->setInsertPolicy(QComboBox::NoInsert);
        for (const reportdata::GoodsChoice &item : goods)
            m_goods->addItem(QStringLiteral("%1 %2").arg(item.code, 6, 10, QLatin1Char('0')).arg(item.name), item.id);
        m_goods->setMinimumContentsLength(40);
        form->addRow(QStringLiteral("Стока:"), m_goods);
    }
    if (entry.parameters == reportdata::ParameterKind::Date) {
        m_date = dateField(today, this);
        form->addRow(QStringLiteral("Към дата:"), m_date);
    } else if (entry.parameters == reportdata::ParameterKind::Month) {
        // A month's ledger is handed over once the month is over.
        m_month = dateField(QDate(today.year(), today.month(), 1).addMonths(-1), this);
        m_month->setDisplayFormat(QStringLiteral("MM.yyyy"));
        form->addRow(QStringLiteral("Месец:"), m_month);
    } else {
        m_from = dateField(QDate(today.year(), today.month(), 1), this);
        m_to = dateField(today, this);
        form->addRow(QStringLiteral("От дата:"), m_from);
        form->addRow(QStringLiteral("До дата:"), m_to);
    }
    layOutWithButtons(*this, form, QStringLiteral("Покажи"));
}

reportdata::ReportParameters TfrmReportParams::parameters() const
{
    reportdata::ReportParameters result = m_base;
    if (m_date)
        result.date = m_date->date();
    if (m_from)
        result.from = m_from->date();
    if (m_to)
        result.to = m_to->date();
    if (m_month)
        result.month = m_month->date();
    // A name typed that matches no goods item leaves no choice, and the
    // report refuses to run.
    if (m_goods)
        result.goodsId = m_goods->findText(m_goods->currentText()) >= 0
                             ? m_goods->itemData(m_goods->findText(m_goods->currentText())).toInt()
                             : 0;
    return result;
}
