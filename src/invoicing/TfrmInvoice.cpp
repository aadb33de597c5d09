#include "invoicing/TfrmInvoice.h"

#include "core/AppSettings.h"
#include "core/Tdm.h"
#include "data/Counters.h"
#include "db/Dataset.h"
#include "invoicing/InvoiceRow.h"
#include "invoicing/PrintValues.h"
#include "invoicing/TdmInvoice.h"
#include "ui/DBControls.h"
#include "ui/Dialogs.h"
#include "ui/EntryProposal.h"
#include "ui/ErrorGuard.h"
#include "ui/TDictionary.h"
#include "ui/TabOrder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

using namespace invoicing;

namespace {

constexpr int kFormSizeKey = 30;
constexpr int kCancelled = 2;

} // namespace

TfrmInvoice::TfrmInvoice(db::Dataset &invoice, QWidget *owner)
    : TfrmBaseDBEditForm(owner)
    , m_invoice(invoice)
{
    setObjectName(QStringLiteral("frmInvoice"));
    setWindowTitle(QStringLiteral(" Фактуриране"));
    setMainDataset(invoice);
    today = [] { return QDate::currentDate(); };
    printer = [this](TdmInvoice &module, int invoiceId) { module.PrintInvoice(invoiceId, this); };

    m_row = new InvoiceRow(invoice, this);
    m_header = new InvoiceHeaderPanel(*m_row, this);
    m_lines = new InvoiceLinesPanel(this);
    m_footer = new InvoiceTotalsFooter(this);
    contentLayout()->addWidget(m_header);
    contentLayout()->addWidget(m_lines, 1);
    contentLayout()->addWidget(m_footer);

    auto *pagesRow = new QHBoxLayout;
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pgPages"));
    m_people = new InvoicePeoplePage(*m_row, m_pages);
    m_tax = new InvoiceTaxPages(*m_row, m_pages);
    m_pages->addTab(m_people, QStringLiteral("Съставил/получил"));
    m_pages->addTab(m_tax->ratePage, QStringLiteral("Данъчна ставка"));
    m_pages->addTab(m_tax->casesPage, QStringLiteral("ДДС/Обстоятелства"));
    pagesRow->addWidget(m_pages, 1);
    pagesRow->addWidget(m_tax->distance);
    contentLayout()->addLayout(pagesRow);

    m_print = new QPushButton(QStringLiteral("Печат"), this);
    m_print->setObjectName(QStringLiteral("btnPrint"));
    m_print->setAutoDefault(false);
    m_copy = new QCheckBox(QStringLiteral("Копие"), this);
    m_copy->setObjectName(QStringLiteral("chkCopy"));
    m_copy->setToolTip(QStringLiteral("Подготвя се за печат само копието/ята"));
    buttonLayout()->insertWidget(0, m_copy);
    buttonLayout()->insertWidget(1, m_print);
    connect(m_print, &QPushButton::clicked, this, &TfrmInvoice::PrintClick);

    for (QWidget *box : std::initializer_list<QWidget *>{
             m_header->number, m_header->date, m_header->place, m_header->client, m_header->dannum, m_header->bulstat,
             m_header->city, m_header->address, m_header->mol, m_people->creator, m_people->receiver, m_people->sellDate})
        box->setStyleSheet(QStringLiteral("background-color: #ccffcc;"));
    proposeOnEntry(m_header->date, m_invoice, [this] {
        if (m_invoice.isOpen() && m_invoice.value(QStringLiteral("IDATE")).isNull())
            m_row->guard([this] { m_row->set(QStringLiteral("IDATE"), today()); });
    });
    connect(m_header, &InvoiceHeaderPanel::dateChanged, this, &TfrmInvoice::recomputeTotals);
    connect(m_lines, &InvoiceLinesPanel::linesChanged, this, &TfrmInvoice::recomputeTotals);
    connect(m_lines, &InvoiceLinesPanel::stateChanged, this, &TfrmInvoice::updatePrintButton);
    connect(m_tax, &InvoiceTaxPages::rateChanged, this, &TfrmInvoice::recomputeTotals);
    updatePrintButton();
    resize(820, 700);
    chainTabOrderByLayout(this);
}

TfrmInvoice::~TfrmInvoice() = default;

double TfrmInvoice::rate() const
{
    return m_tax->rate();
}

bool TfrmInvoice::prepared() const
{
    return m_row->prepared();
}

db::Dataset &TfrmInvoice::qLines() const
{
    return m_lines->dataset();
}

void TfrmInvoice::showEvent(QShowEvent *event)
{
    if (!m_shown) {
        m_shown = true;
        runGuarded(this, [this] { prepare(); });
    }
    TfrmBaseDBEditForm::showEvent(event);
}

void TfrmInvoice::prepare()
{
    const InvoicingOptions options = invoicingOptions(dm());
    m_defaultVat = options.defaultVat;
    if (m_defaultVat.trimmed().isEmpty()) {
        MessageDlg(QStringLiteral("Моля, попълнете ДДС ставка в \"Настройки\"!"), TMsgDlgType::mtInformation, mbOK);
        return;
    }
    if (!m_invoice.isEditing())
        m_invoice.edit();
    m_newDocument = m_invoice.value(QStringLiteral("ID")).isNull();
    if (m_newDocument)
        prepareNew(options);
    else
        prepareExisting(options);
    m_header->openClients();
    m_people->openLists();
    m_lines->open(m_documentId);
    m_row->setPrepared(true);
    if (m_newDocument) {
        if (m_prefill.clientId > 0)
            m_header->chooseClientById(m_prefill.clientId);
        m_lines->append(m_prefill.lines);
        m_prefill = {};
    }
    m_header->showRowTexts();
    m_people->showRowTexts();
    m_header->followNotification();
    m_tax->followSpecialCases();
    m_header->tintStatus();
    m_pages->setCurrentWidget(m_people);
    recomputeTotals();
}

void TfrmInvoice::prepareNew(const InvoicingOptions &options)
{
    m_documentId = dm().NewCounterValue(data::CounterInvoices);
    const QString creator = dm().GetConfigByName(QStringLiteral("INVOICE_CREATOR"));
    if (!creator.isEmpty())
        m_row->set(QStringLiteral("INVOICE_CREATOR"), creator);
    m_row->set(QStringLiteral("NUMBER"), proposeInvoiceNumber(dm()));
    m_row->set(QStringLiteral("IS_WAITING"), 0);
    m_row->set(QStringLiteral("IDATE"), today());
    m_row->set(QStringLiteral("SELL_DATE"), today());
    m_row->set(QStringLiteral("DIST_SELLING_VAT"), QStringLiteral("0"));
    m_tax->showRate(QString(), options.defaultVat);
    m_storedNumber = QVariant();
}

void TfrmInvoice::prepareExisting(const InvoicingOptions &options)
{
    m_documentId = m_invoice.value(QStringLiteral("ID")).toInt();
    m_storedNumber = m_invoice.value(QStringLiteral("NUMBER"));
    m_storedStatus = m_invoice.value(QStringLiteral("IS_WAITING")).toInt();
    m_tax->showRate(m_invoice.value(QStringLiteral("SECOND_VAT")).toString(), options.defaultVat);
    if (m_invoice.value(QStringLiteral("DIST_SELLING_VAT")).toString().isEmpty())
        m_tax->distVat->setText(QStringLiteral("0"));
}

void TfrmInvoice::updatePrintButton()
{
    const db::Dataset &lines = m_lines->dataset();
    m_print->setEnabled(lines.isOpen() && !lines.isEmpty());
}

void TfrmInvoice::recomputeTotals()
{
    if (!m_lines->dataset().isOpen())
        return;
    m_totals = invoiceTotals(m_lines->lines(), m_tax->rate());
    m_footer->showTotals(m_totals, m_tax->rateText(),
                         DocumentCurrency::on(m_invoice.value(QStringLiteral("IDATE")).toDate()));
}

bool TfrmInvoice::refuse(const InvoiceRefusal &refusal)
{
    if (refusal.page != EditorPage::Header)
        m_pages->setCurrentIndex(int(refusal.page) - 1);
    MessageDlg(refusal.message, TMsgDlgType::mtError, mbOK);
    if (QWidget *editor = editorForField(this, refusal.field))
        editor->setFocus();
    return false;
}

bool TfrmInvoice::numberAccepted()
{
    const QVariant number = m_invoice.value(QStringLiteral("NUMBER"));
    // A stored document keeping its number is never renumbered, even when
    // an earlier program version let another take the same number.
    if (!m_newDocument && number == m_storedNumber)
        return true;
    if (!invoiceNumberTaken(dm(), number.toLongLong(), m_documentId))
        return true;
    const qint64 proposal = proposeInvoiceNumber(dm());
    MessageDlg(numberTakenMessage(number.toLongLong(), proposal), TMsgDlgType::mtError, mbOK);
    m_header->showNumber(proposal);
    m_header->number->setFocus();
    return false;
}

bool TfrmInvoice::cancellationAccepted()
{
    if (m_invoice.value(QStringLiteral("IS_WAITING")).toInt() != kCancelled || m_storedStatus == kCancelled)
        return true;
    const QString refusal =
        cancellationRefusal(dm(), m_invoice.value(QStringLiteral("NUMBER")).toLongLong(), m_documentId);
    return refusal.isEmpty() || refuse({refusal, QStringLiteral("IS_WAITING"), EditorPage::Header});
}

void TfrmInvoice::setRowValues()
{
    if (m_invoice.value(QStringLiteral("ID")).isNull())
        m_row->set(QStringLiteral("ID"), m_documentId);
    m_row->set(QStringLiteral("WITH_BANKS"), m_people->bankPayment() ? 1 : 0);
    QVariantHash notification{{QStringLiteral("NOTIFICATION"), m_header->notification->isChecked() ? 1 : 0},
                              {QStringLiteral("NOTIF_TYPE"), m_invoice.value(QStringLiteral("NOTIF_TYPE"))},
                              {QStringLiteral("INVOICE_NUMBER"), m_invoice.value(QStringLiteral("INVOICE_NUMBER"))},
                              {QStringLiteral("INVNOTIF_DATE"), m_invoice.value(QStringLiteral("INVNOTIF_DATE"))}};
    applyNotificationRule(notification);
    for (auto it = notification.cbegin(); it != notification.cend(); ++it)
        m_row->set(it.key(), it.value());
    m_row->set(QStringLiteral("NONCHARGE_VAT"), m_tax->noncharge->isChecked() ? 1 : 0);
    m_row->set(QStringLiteral("REQUESTED_VAT"), m_tax->requested->isChecked() ? 1 : 0);
    m_row->set(QStringLiteral("NOVO_SREDSTVO"), m_tax->newVehicle->isChecked() ? 1 : 0);
    if (!m_tax->rateBox->text().trimmed().isEmpty())
        m_row->set(QStringLiteral("SECOND_VAT"), m_tax->rateBox->text().trimmed());
}

bool TfrmInvoice::ValidateRecord()
{
    if (!m_row->prepared()) {
        MessageDlg(QStringLiteral("Моля, попълнете ДДС ставка в \"Настройки\"!"), TMsgDlgType::mtInformation, mbOK);
        return false;
    }
    if (!m_lines->postPending())
        return false;
    m_header->syncTextsToRow();
    m_people->syncTextsToRow();
    InvoiceEntry entry;
    for (int column = 0; column < m_invoice.fieldCount(); ++column)
        entry.row.insert(m_invoice.fieldName(column), m_invoice.value(m_invoice.fieldName(column)));
    entry.numberText = m_header->number->text();
    entry.notification = m_header->notification->isChecked();
    entry.bankPayment = m_people->bankPayment();
    entry.rateText = m_tax->rateBox->text();
    entry.nonchargeVat = m_tax->noncharge->isChecked();
    entry.requestedVat = m_tax->requested->isChecked();
    entry.newVehicle = m_tax->newVehicle->isChecked();
    if (const auto refusal = checkInvoice(entry))
        return refuse(*refusal);
    if (!m_newDocument) {
        const QVariantHash stored{{QStringLiteral("NUMBER"), m_storedNumber},
                                  {QStringLiteral("IS_WAITING"), m_storedStatus}};
        if (const auto refusal = checkStoredStatus(stored, entry.row))
            return refuse(*refusal);
    }
    if (!numberAccepted() || !cancellationAccepted())
        return false;
    setRowValues();
    return true;
}

bool TfrmInvoice::PostDetails()
{
    return m_lines->postPending();
}

void TfrmInvoice::PrintClick()
{
    runGuarded(this, [this] {
        commitOpenEditors();
        if (!m_lines->postPending())
            return;
        const std::vector<InvoiceLine> lines = m_lines->lines();
        const bool halfPage = dm().GetConfigById(kFormSizeKey) == QLatin1String("1");
        const QString warning = printLimitWarning(printLineCount(lines), halfPage);
        if (!warning.isEmpty()) {
            MessageDlg(warning, TMsgDlgType::mtWarning, mbOK);
            return;
        }
        if (!ValidateRecord())
            return;
        m_invoice.post();
        // Whatever happens to the print, the user goes on editing the
        // document that is now stored.
        m_newDocument = false;
        m_storedNumber = m_invoice.value(QStringLiteral("NUMBER"));
        m_storedStatus = m_invoice.value(QStringLiteral("IS_WAITING")).toInt();
        try {
            const QVariantHash stored = storedInvoice(dm(), m_documentId);
            for (const RecentValue &recent : recentValues(stored))
                dm().AddRecentValue(recent.list, recent.value, recent.maxCount);
            const QString creator = stored.value(QStringLiteral("INVOICE_CREATOR")).toString().trimmed();
            if (!creator.isEmpty())
                dm().SetConfigByName(QStringLiteral("INVOICE_CREATOR"), creator);
            for (const auto &[name, value] :
                 invoiceBoardValues(stored, invoiceLines(dm(), m_documentId), m_defaultVat, m_copy->isChecked()))
                PutParam(name, value);
            TdmInvoice module(dm(), AppSettings());
            printer(module, m_documentId);
        } catch (...) {
            m_invoice.edit();
            throw;
        }
        m_invoice.edit();
    });
}

void TfrmInvoice::done(int result)
{
    TfrmBaseDBEditForm::done(result);
    // Lines are stored as they are typed; those of a new document the user
    // abandoned would belong to no invoice.
    if (m_documentId > 0)
        runGuarded(this, [this] { removeLinesOfUnstoredInvoice(dm(), m_documentId); });
}
