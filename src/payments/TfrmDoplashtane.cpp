#include "payments/TfrmDoplashtane.h"

#include "core/Tdm.h"
#include "db/Dataset.h"
#include "payments/Outstanding.h"
#include "payments/Settlement.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "util/NumberFormat.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

double number(const QVariant &value)
{
    return value.isNull() ? 0.0 : value.toDouble();
}

const char *const kGoodsColumns[] = {"TRANZ_ID",          "TRANZ_TIME",         "TRANZ_PADEJ",      "TRANZ_TYPES_NAME",
                                     "KONTR_NAME",        "TRANZ_NOTE",         "NOM_NAME",         "TRANZ_RED_KOL1",
                                     "TRANZ_RED_IZNESENO", "MERKI_ZNAK",        "RAZLIKA",          "TRANZ_RED_TYPE_ID",
                                     "TRANZ_RED_NOM_ID",  "TRANZ_RED_CENA",     "TRANZ_RED_OTSTUPKA", "TRANZ_RED_KOL2",
                                     "IZNESENO",          "TRANZ_RED_ID"};

} // namespace

TfrmDoplashtane::TfrmDoplashtane(QWidget *owner)
    : TfrmYesNo(owner)
    , m_question(new QLabel(this))
    , m_grid(new DataGrid(this))
    , m_amount(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmDoplashtane"));
    AskBeforeDroppingInput = true;
    resize(520, 320);
    btnOK()->setText(QStringLiteral("Запиши"));
    btnCancel()->setText(QStringLiteral("Отказ"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditable(false);
    m_amount->setObjectName(QStringLiteral("edtAmount"));
    contentLayout()->addWidget(m_question);
    contentLayout()->addWidget(m_grid, 1);
    contentLayout()->addWidget(m_amount);
    // The box keeps every decimal typed; only the shown text is rounded.
    connect(m_amount, &QLineEdit::textEdited, this, [this](const QString &text) {
        double value = 0;
        if (DBNumberEdit::parseNumber(text, &value))
            m_typed = value;
    });
}

TfrmDoplashtane::~TfrmDoplashtane() = default;

void TfrmDoplashtane::openList(const QString &sql)
{
    m_list = dm().createDataset(sql);
}

void TfrmDoplashtane::showAmount(double amount)
{
    m_typed = amount;
    m_amount->setText(varnex::formatFloat(QStringLiteral("0.00"), amount));
}

QVariantList TfrmDoplashtane::rowValues(int row) const
{
    QVariantList values;
    for (int field = 0; field < m_list->fieldCount(); ++field)
        values << m_list->value(row, field);
    return values;
}

double TfrmDoplashtane::typedAmount() const
{
    double value = 0;
    return DBNumberEdit::parseNumber(m_amount->text(), &value) ? m_typed : 0.0;
}

bool TfrmDoplashtane::settleMoney(int documentType, int counterpartyId, const QDate &toDate)
{
    m_goods = false;
    openList(payments::settleMoneySql());
    for (auto [name, value] : payments::settleMoneyParams(documentType, counterpartyId, toDate).asKeyValueRange())
        m_list->setParam(name, value);
    m_list->open();
    m_list->setDisplayFormat(QStringLiteral("RAZLIKA"), QStringLiteral("0.00"));
    m_grid->bind(*m_list, {{QStringLiteral("RAZLIKA"), QStringLiteral("Разлика"), 120, true}});
    std::vector<payments::MoneyRow> rows;
    double proposal = 0;
    for (int row = 0; row < m_list->recordCount(); ++row) {
        rows.push_back(payments::moneyRowOf(rowValues(row)));
        proposal += number(m_list->value(row, m_list->requireField(QStringLiteral("RAZLIKA"))));
    }
    m_limit = proposal;
    showAmount(proposal);
    m_question->setText(QStringLiteral("Каква сума е изплатена?"));
    setWindowTitle(documentType == payments::kDeliveryType ? QStringLiteral("Задължения") : QStringLiteral("Вземания"));
    if (exec() != QDialog::Accepted)
        return false;
    const double amount = payments::settledAmount(typedAmount(), proposal);
    runGuarded(parentWidget(), [&] { payments::settleMoney(dm(), rows, amount); });
    return true;
}

bool TfrmDoplashtane::settleGoods(int documentType, int counterpartyId, int goodsId, double outstanding,
                                  const QDate &toDate)
{
    m_goods = true;
    openList(payments::settleGoodsSql());
    for (auto [name, value] :
         payments::settleGoodsParams(documentType, counterpartyId, goodsId, toDate).asKeyValueRange())
        m_list->setParam(name, value);
    m_list->open();
    std::vector<GridColumn> columns;
    for (const char *field : kGoodsColumns)
        columns.push_back({QString::fromLatin1(field), QString::fromLatin1(field), 90, true});
    m_grid->bind(*m_list, columns);
    std::vector<payments::GoodsRow> rows;
    for (int row = 0; row < m_list->recordCount(); ++row)
        rows.push_back(payments::goodsRowOf(rowValues(row)));
    m_limit = outstanding;
    showAmount(outstanding);
    m_question->setText(QStringLiteral("Какво количество е взето?"));
    setWindowTitle(documentType == payments::kSaleType ? QStringLiteral("Задължения в Стоки")
                                                       : QStringLiteral("Вземания в Стоки"));
    if (exec() != QDialog::Accepted)
        return false;
    const double amount = payments::settledAmount(typedAmount(), outstanding);
    runGuarded(parentWidget(), [&] { payments::settleGoods(dm(), rows, amount); });
    return true;
}

void TfrmDoplashtane::accept()
{
    double typed = 0;
    if (!DBNumberEdit::parseNumber(m_amount->text(), &typed) || !std::isfinite(typed)) {
        MessageDlg(QStringLiteral("\"%1\" не е валидно число.").arg(m_amount->text().trimmed()), TMsgDlgType::mtError,
                   mbOK);
        m_amount->setFocus();
        m_amount->selectAll();
        return;
    }
    if (!payments::withinLimit(typedAmount(), m_limit)) {
        ShowSystemMessage(m_goods ? QStringLiteral("Количеството, което сте въвели надхвърля \nзаписаното в документа!")
                                  : QStringLiteral("Сумата, която сте въвели надхвърля \nтази за доплащане по документа!"));
        showAmount(m_limit);
        return;
    }
    TfrmYesNo::accept();
}
