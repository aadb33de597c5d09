#include "invoicing/InvoiceHeaderPanel.h"

#include "core/Tdm.h"
#include "db/Dataset.h"
#include "invoicing/InvoiceData.h"
#include "invoicing/InvoiceRow.h"
#include "invoicing/InvoiceRules.h"
#include "ui/CityQuestion.h"
#include "ui/DBControls.h"
#include "ui/Dialogs.h"
#include "ui/EntryProposal.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

namespace invoicing {

namespace {

const char kClients[] = "select * from KONTR where (KONTR_ID <> -1) and ( (KONTR_IS_CLIENT=2) or "
                        "(KONTR_IS_CLIENT=0)) and (KONTR_ID <>1) Order By KONTR_NAME";

} // namespace

InvoiceHeaderPanel::InvoiceHeaderPanel(InvoiceRow &row, QWidget *parent)
    : QWidget(parent)
    , m_row(row)
    , m_clients(dm().createDataset(QString::fromLatin1(kClients)))
{
    m_clients->setParent(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    buildNumberRow(layout);
    buildParties(layout);
    for (QWidget *watched : std::initializer_list<QWidget *>{number, place, city, refNumber, client})
        watched->installEventFilter(this);
    connect(&m_row, &InvoiceRow::citiesChanged, this, [this] { FillCityBoxes({place, city}); });
}

InvoiceHeaderPanel::~InvoiceHeaderPanel() = default;

void InvoiceHeaderPanel::buildNumberRow(QVBoxLayout *layout)
{
    auto *header = new QHBoxLayout;
    number = new QLineEdit(this);
    number->setObjectName(QStringLiteral("edtNumber"));
    number->setProperty("dataField", QStringLiteral("NUMBER"));
    number->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,10}")), number));
    connect(number, &QLineEdit::textEdited, this, [this](const QString &typed) {
        m_row.guard([&] {
            m_row.set(QStringLiteral("NUMBER"), typed.isEmpty() ? QVariant() : QVariant(typed.toLongLong()));
        });
    });
    date = m_row.date(this, "edtDate", "IDATE");
    date->setToolTip(QStringLiteral("Дата на издаване на фактурата"));
    connect(date, &QDateEdit::dateChanged, this, &InvoiceHeaderPanel::dateChanged);
    place = m_row.textCombo(this, "cbPlace", "PLACE");
    place->setToolTip(QStringLiteral("Място на сделката"));
    status = new DBComboBox(this);
    status->setObjectName(QStringLiteral("cbStatus"));
    status->setChoices({{QStringLiteral("Издадена"), 0}, {QStringLiteral("Чакаща"), 1}, {QStringLiteral("Анулирана"), 2}});
    status->bind(m_row.dataset(), QStringLiteral("IS_WAITING"));
    connect(status, qOverload<int>(&QComboBox::currentIndexChanged), this, &InvoiceHeaderPanel::tintStatus);
    header->addWidget(new QLabel(QStringLiteral("№"), this));
    header->addWidget(number);
    header->addWidget(new QLabel(QStringLiteral("от дата"), this));
    header->addWidget(date);
    header->addWidget(new QLabel(QStringLiteral("гр./с."), this));
    header->addWidget(place, 1);
    header->addWidget(new QLabel(QStringLiteral("статус"), this));
    header->addWidget(status);
    layout->addLayout(header);
}

void InvoiceHeaderPanel::buildParties(QVBoxLayout *layout)
{
    auto *group = new QGroupBox(QStringLiteral(" Фактура "), this);
    auto *grid = new QGridLayout(group);
    notification = new DBCheckBox(QStringLiteral("Известие"), group);
    notification->setObjectName(QStringLiteral("chkNotification"));
    notification->bind(m_row.dataset(), QStringLiteral("NOTIFICATION"));
    notifType = new DBComboBox(group);
    notifType->setObjectName(QStringLiteral("cbNotifType"));
    notifType->setChoices({{QStringLiteral("Кредитно известие"), 0}, {QStringLiteral("Дебитно известие"), 1}});
    notifType->bind(m_row.dataset(), QStringLiteral("NOTIF_TYPE"));
    refNumber = m_row.edit(group, "edtRefNumber", "INVOICE_NUMBER");
    refDate = m_row.date(group, "edtRefDate", "INVNOTIF_DATE");
    connect(notification, &QCheckBox::toggled, this, [this](bool ticked) {
        if (!ticked) {
            m_row.guard([this] {
                QVariantHash cleared{{QStringLiteral("NOTIFICATION"), 0}};
                applyNotificationRule(cleared);
                for (auto it = cleared.cbegin(); it != cleared.cend(); ++it)
                    m_row.set(it.key(), it.value());
            });
        }
        followNotification();
    });

    client = tableCombo(group, {QStringLiteral("Код"), QStringLiteral("Име")}, 1);
    client->setObjectName(QStringLiteral("cbClient"));
    client->setEditable(true);
    client->setInsertPolicy(QComboBox::NoInsert);
    if (const int length = m_row.dataset().fieldLength(QStringLiteral("COMPANY")); length > 0)
        client->lineEdit()->setMaxLength(length);
    client->setProperty("dataField", QStringLiteral("CLIENT_ID"));
    client->setToolTip(QStringLiteral("Име на фирмата / физическото лице"));
    connect(client, qOverload<int>(&QComboBox::activated), this, &InvoiceHeaderPanel::chooseClient);
    connect(client->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &typed) {
        m_row.guard([&] { m_row.set(QStringLiteral("COMPANY"), typed.isEmpty() ? QVariant() : QVariant(typed)); });
    });
    dannum = m_row.edit(group, "edtDannum", "DANNUM");
    bulstat = m_row.edit(group, "edtBulstat", "BULSTAT");
    city = m_row.textCombo(group, "cbCity", "CITY");
    address = m_row.edit(group, "edtAddress", "ADDRESS");
    mol = m_row.edit(group, "edtMol", "MOL");

    grid->addWidget(notification, 0, 0);
    grid->addWidget(notifType, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("kъм фактура №"), group), 0, 2);
    grid->addWidget(refNumber, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("от Дата"), group), 0, 4);
    grid->addWidget(refDate, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("Клиент"), group), 1, 0);
    grid->addWidget(client, 1, 1, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("ИН/ЕГН"), group), 2, 0);
    grid->addWidget(dannum, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("ИН по ЗДДС BG"), group), 2, 2);
    grid->addWidget(bulstat, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("Гр/с"), group), 2, 4);
    grid->addWidget(city, 2, 5);
    grid->addWidget(new QLabel(QStringLiteral("Адрес"), group), 3, 0);
    grid->addWidget(address, 3, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("МОЛ"), group), 3, 4);
    grid->addWidget(mol, 3, 5);
    layout->addWidget(group);
}

void InvoiceHeaderPanel::openClients()
{
    FillCityBoxes({place, city});
    m_clients->open();
    fillClients();
}

void InvoiceHeaderPanel::fillClients()
{
    std::vector<QStringList> rows;
    const int code = m_clients->fieldIndex(QStringLiteral("KONTR_CODE"));
    const int name = m_clients->fieldIndex(QStringLiteral("KONTR_NAME"));
    for (int row = 0; row < m_clients->recordCount(); ++row) {
        const QVariant codeValue = m_clients->value(row, code);
        rows.push_back({codeValue.isNull() ? QString() : QStringLiteral("%1").arg(codeValue.toLongLong(), 6, 10, QLatin1Char('0')),
                        m_clients->value(row, name).toString()});
    }
    setTableRows(client, rows);
}

void InvoiceHeaderPanel::showRowTexts()
{
    const QVariant stored = m_row.value(QStringLiteral("NUMBER"));
    number->setText(stored.isNull() ? QString() : invoiceNumberText(stored.toLongLong()));
    m_row.showTexts({{place, "PLACE"}, {city, "CITY"}, {client, "COMPANY"}});
}

void InvoiceHeaderPanel::syncTextsToRow()
{
    m_row.syncTexts({{place, "PLACE"}, {city, "CITY"}, {client, "COMPANY"}});
    if (!number->text().trimmed().isEmpty())
        m_row.set(QStringLiteral("NUMBER"), number->text().toLongLong());
}

void InvoiceHeaderPanel::showNumber(qint64 value)
{
    m_row.set(QStringLiteral("NUMBER"), value);
    number->setText(invoiceNumberText(value));
}

void InvoiceHeaderPanel::chooseClientById(int clientId)
{
    if (m_clients->locate({QStringLiteral("KONTR_ID")}, {clientId}))
        chooseClient(m_clients->recNo());
}

void InvoiceHeaderPanel::followNotification()
{
    const bool on = notification->isChecked();
    for (QWidget *box : std::initializer_list<QWidget *>{notifType, refNumber, refDate})
        box->setEnabled(on);
}

void InvoiceHeaderPanel::tintStatus()
{
    const int chosen = status->currentIndex();
    status->setStyleSheet(chosen == 1   ? QStringLiteral("QComboBox { color: white; background-color: #3050d0; }")
                          : chosen == 2 ? QStringLiteral("QComboBox { color: white; background-color: #d03030; }")
                                        : QString());
}

void InvoiceHeaderPanel::numberLeft()
{
    const QString padded = padInvoiceNumber(number->text());
    number->setText(padded);
    m_row.guard([&] { m_row.set(QStringLiteral("NUMBER"), padded.toLongLong()); });
}

void InvoiceHeaderPanel::placeLeft(QComboBox *box)
{
    const QString typed = box->currentText().trimmed();
    m_row.guard([&] {
        if (!OfferToAddCity(*box, m_askingCity))
            return;
        Q_EMIT m_row.citiesChanged();
        box->setEditText(typed);
        m_row.set(box->property("dataField").toString(), typed);
    });
}

void InvoiceHeaderPanel::refNumberLeft()
{
    const QString typed = refNumber->text().trimmed();
    if (typed.isEmpty())
        return;
    bool isNumber = false;
    const qint64 reference = typed.toLongLong(&isNumber);
    if (!isNumber) {
        MessageDlg(QStringLiteral("Номерът на фактурата трябва да бъде цяло число !"), TMsgDlgType::mtError, mbOK);
        refNumber->setFocus();
        return;
    }
    if (reference != 0)
        m_row.guard([&] { m_row.set(QStringLiteral("INVOICE_NUMBER"), invoiceNumberText(reference)); });
}

void InvoiceHeaderPanel::chooseClient(int index)
{
    if (index < 0 || index >= m_clients->recordCount())
        return;
    m_row.guard([&] {
        QVariantHash counterparty;
        for (int column = 0; column < m_clients->fieldCount(); ++column)
            counterparty.insert(m_clients->fieldName(column), m_clients->value(index, column));
        const QVariantHash copied = clientCopy(counterparty);
        for (auto it = copied.cbegin(); it != copied.cend(); ++it)
            m_row.set(it.key(), it.value());
        m_row.set(QStringLiteral("CLIENT_ID"), counterparty.value(QStringLiteral("KONTR_ID")));
        const QSignalBlocker blocker(client);
        client->setCurrentIndex(index);
        client->setEditText(copied.value(QStringLiteral("COMPANY")).toString());
        city->setEditText(copied.value(QStringLiteral("CITY")).toString());
    });
}

bool InvoiceHeaderPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == client && event->type() == QEvent::FocusIn) {
        // Tabbing into an empty client box opens the list of clients.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (m_row.prepared() && client->currentText().isEmpty()
            && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason))
            QTimer::singleShot(0, client, &QComboBox::showPopup);
    } else if (isLeaving(event) && m_row.prepared()) {
        if (watched == number)
            numberLeft();
        else if (watched == place || watched == city)
            placeLeft(static_cast<QComboBox *>(watched));
        else if (watched == refNumber)
            refNumberLeft();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace invoicing
