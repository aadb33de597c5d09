#include "invoicing/InvoicePeoplePage.h"

#include "core/Tdm.h"
#include "db/Dataset.h"
#include "invoicing/InvoiceRow.h"
#include "invoicing/InvoiceRules.h"
#include "ui/CityQuestion.h"
#include "ui/DBControls.h"
#include "ui/EntryProposal.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace invoicing {

namespace {

const char kCreators[] = "SELECT MRU_VAL FROM MRU_ITEMS WHERE MRU_ID = 6";

} // namespace

InvoicePeoplePage::InvoicePeoplePage(InvoiceRow &row, QWidget *parent)
    : QWidget(parent)
    , m_row(row)
{
    auto *grid = new QGridLayout(this);
    creator = m_row.textCombo(this, "cbCreator", "INVOICE_CREATOR");
    creator->setToolTip(QStringLiteral("Попълват се Три Имена"));
    receiver = m_row.edit(this, "edtReceiver", "RECIEVER");
    sellDate = m_row.date(this, "edtSellDate", "SELL_DATE");
    laNumber = m_row.edit(this, "edtLaNumber", "LA_NUMBER");
    laDate = m_row.date(this, "edtLaDate", "LA_DATE");
    lkno = m_row.edit(this, "edtLkno", "LKNO");
    lkno->setToolTip(QStringLiteral("№ на лична карта"));
    mvr = m_row.textCombo(this, "cbMvr", "MVR");
    published = m_row.date(this, "edtPublished", "PUBLISHED");
    published->setToolTip(QStringLiteral("Дата на издаване на ЛК"));
    cash = new QRadioButton(QStringLiteral("В брой"), this);
    cash->setObjectName(QStringLiteral("rbCash"));
    bank = new QRadioButton(QStringLiteral("По банков път"), this);
    bank->setObjectName(QStringLiteral("rbBank"));
    cash->setChecked(true);
    auto *payment = new QButtonGroup(this);
    payment->addButton(cash);
    payment->addButton(bank);
    connect(cash, &QRadioButton::clicked, this, [this] { choosePayment(false); });
    connect(bank, &QRadioButton::clicked, this, [this] { choosePayment(true); });
    iban = tableCombo(this, {QStringLiteral("IBAN"), QStringLiteral("БАНКА"), QStringLiteral("BIC")}, 0);
    iban->setObjectName(QStringLiteral("cbIban"));
    iban->setProperty("dataField", QStringLiteral("ACCOUNT"));
    // An IBAN has up to 34 characters; the box shows it whole.
    iban->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    iban->setMinimumContentsLength(34);
    connect(iban, qOverload<int>(&QComboBox::activated), this, &InvoicePeoplePage::chooseAccount);
    bankName = m_row.edit(this, "edtBank", "BANK");
    bic = m_row.edit(this, "edtBic", "CODE");
    bankName->setReadOnly(true);
    bic->setReadOnly(true);

    grid->addWidget(new QLabel(QStringLiteral("Съставил"), this), 0, 0);
    grid->addWidget(creator, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Получил"), this), 1, 0);
    grid->addWidget(receiver, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Дата на дан. събитие"), this), 2, 0);
    grid->addWidget(sellDate, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Пълном. №"), this), 3, 0);
    grid->addWidget(laNumber, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("/"), this), 3, 2);
    grid->addWidget(laDate, 3, 3);
    grid->addWidget(new QLabel(QStringLiteral("ЛК №"), this), 4, 0);
    grid->addWidget(lkno, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("МВР"), this), 4, 2);
    grid->addWidget(mvr, 4, 3);
    grid->addWidget(new QLabel(QStringLiteral("Изд. на"), this), 5, 0);
    grid->addWidget(published, 5, 1);
    grid->addWidget(cash, 0, 4);
    grid->addWidget(bank, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("IBAN"), this), 1, 4);
    grid->addWidget(iban, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("Банка"), this), 2, 4);
    grid->addWidget(bankName, 2, 5);
    grid->addWidget(new QLabel(QStringLiteral("BIC"), this), 3, 4);
    grid->addWidget(bic, 3, 5);

    for (QWidget *watched : std::initializer_list<QWidget *>{mvr, creator})
        watched->installEventFilter(this);
    connect(&m_row, &InvoiceRow::citiesChanged, this, [this] { FillCityBoxes({mvr}); });
}

void InvoicePeoplePage::openLists()
{
    FillCityBoxes({mvr});
    fillCreators();
    m_accounts = ownAccounts(dm());
    std::vector<QStringList> rows;
    for (const OwnAccount &account : m_accounts)
        rows.push_back({account.iban, account.bank, account.bic});
    setTableRows(iban, rows);
}

void InvoicePeoplePage::fillCreators()
{
    const QString typed = creator->currentText();
    const QSignalBlocker blocker(creator);
    creator->clear();
    for (const QVariantList &row : dm().QueryRows(QString::fromLatin1(kCreators)))
        creator->addItem(row.value(0).toString());
    creator->setEditText(typed);
}

void InvoicePeoplePage::showRowTexts()
{
    m_row.showTexts({{creator, "INVOICE_CREATOR"}, {mvr, "MVR"}});
    const bool byBank = m_row.value(QStringLiteral("WITH_BANKS")).toInt() == 1;
    bank->setChecked(byBank);
    cash->setChecked(!byBank);
    iban->setEnabled(byBank);
    const QString account = m_row.value(QStringLiteral("ACCOUNT")).toString();
    int found = -1;
    for (size_t i = 0; i < m_accounts.size(); ++i) {
        if (m_accounts[i].iban == account)
            found = int(i);
    }
    const QSignalBlocker blocker(iban);
    iban->setCurrentIndex(found);
}

void InvoicePeoplePage::syncTextsToRow()
{
    m_row.syncTexts({{creator, "INVOICE_CREATOR"}, {mvr, "MVR"}});
}

bool InvoicePeoplePage::bankPayment() const
{
    return bank->isChecked();
}

void InvoicePeoplePage::mvrLeft()
{
    const QString typed = mvr->currentText().trimmed();
    if (typed.isEmpty() || mvr->findText(typed, Qt::MatchFixedString) >= 0)
        return;
    m_row.guard([&] {
        dm().AddCity(1, typed);
        dm().RefreshDataSet(dm().qCities(), QStringLiteral("ID"));
        Q_EMIT m_row.citiesChanged();
        mvr->setEditText(typed);
        m_row.set(QStringLiteral("MVR"), typed);
    });
}

void InvoicePeoplePage::creatorLeft()
{
    const QString typed = creator->currentText().trimmed();
    if (typed.isEmpty() || creator->findText(typed, Qt::MatchFixedString) >= 0)
        return;
    m_row.guard([&] {
        dm().AddRecentValue(kCreatorsList, typed, kCreatorsListSize);
        dm().SetConfigByName(QStringLiteral("INVOICE_CREATOR"), typed);
        fillCreators();
        creator->setEditText(typed);
        m_row.set(QStringLiteral("INVOICE_CREATOR"), typed);
    });
}

void InvoicePeoplePage::choosePayment(bool byBank)
{
    iban->setEnabled(byBank);
    bank->setChecked(byBank);
    cash->setChecked(!byBank);
    if (!byBank)
        setPaymentColumns(std::nullopt);
}

void InvoicePeoplePage::chooseAccount(int index)
{
    if (index >= 0 && index < int(m_accounts.size()))
        setPaymentColumns(m_accounts[size_t(index)]);
}

void InvoicePeoplePage::setPaymentColumns(const std::optional<OwnAccount> &account)
{
    m_row.guard([&] {
        QVariantHash columns;
        applyPayment(columns, account);
        for (const char *column : {"ACCOUNT", "BANK", "CODE"})
            m_row.set(QString::fromLatin1(column), columns.value(QString::fromLatin1(column)));
        const QSignalBlocker blocker(iban);
        int index = -1;
        for (size_t i = 0; account && i < m_accounts.size(); ++i) {
            if (m_accounts[i].id == account->id)
                index = int(i);
        }
        iban->setCurrentIndex(index);
    });
}

bool InvoicePeoplePage::eventFilter(QObject *watched, QEvent *event)
{
    if (isLeaving(event) && m_row.prepared()) {
        if (watched == mvr)
            mvrLeft();
        else if (watched == creator)
            creatorLeft();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace invoicing
