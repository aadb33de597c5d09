#include "invoicing/InvoiceTaxPages.h"

#include "db/Dataset.h"
#include "invoicing/InvoiceData.h"
#include "invoicing/InvoiceRow.h"
#include "ui/DBControls.h"
#include "ui/Dialogs.h"
#include "ui/EntryProposal.h"
#include "ui/ErrorGuard.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

namespace invoicing {

InvoiceTaxPages::InvoiceTaxPages(InvoiceRow &row, QWidget *parent)
    : QObject(parent)
    , m_row(row)
{
    buildRatePage(parent);
    buildCasesPage(parent);
    buildDistance(parent);
}

void InvoiceTaxPages::buildRatePage(QWidget *parent)
{
    ratePage = new QWidget(parent);
    auto *rateRow = new QHBoxLayout(ratePage);
    rateBox = new QLineEdit(ratePage);
    rateBox->setObjectName(QStringLiteral("edtRate"));
    rateBox->setProperty("dataField", QStringLiteral("RATE"));
    rateBox->setMaxLength(2);
    rateBox->setFixedWidth(40);
    rateBox->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ]{0,2}")), rateBox));
    rateBox->installEventFilter(this);
    connect(rateBox, &QLineEdit::textEdited, this, [this](const QString &typed) {
        // A changed rate is a change of the document, as a typed field is,
        // and the footer follows it at once.
        const QString rate = typed.trimmed();
        m_row.guard([&] { m_row.set(QStringLiteral("SECOND_VAT"), rate.isEmpty() ? QVariant() : QVariant(rate)); });
        if (!rate.isEmpty())
            takeRate();
    });
    rateRow->addWidget(new QLabel(QStringLiteral("Данъчна ставка"), ratePage));
    rateRow->addWidget(rateBox);
    rateRow->addWidget(new QLabel(QStringLiteral("%"), ratePage));
    rateRow->addStretch();
}

void InvoiceTaxPages::buildCasesPage(QWidget *parent)
{
    casesPage = new QWidget(parent);
    auto *layout = new QVBoxLayout(casesPage);
    const auto check = [&](const QString &caption, const char *objectName, const char *column) {
        auto *box = new DBCheckBox(caption, casesPage);
        box->setObjectName(QString::fromLatin1(objectName));
        box->bind(m_row.dataset(), QString::fromLatin1(column));
        return box;
    };
    noncharge = check(QStringLiteral("чл.28с(Е)(3) 77/388/ЕЕС  Основание за неначисляване на ДДС когато рег. "
                                     "лице е посредник в тристранна операция"),
                      "chkNonchargeVat", "NONCHARGE_VAT");
    requested = check(QStringLiteral("Данъкът е изскуем от получателя на основание"), "chkRequestedVat", "REQUESTED_VAT");
    rvDetails = m_row.edit(casesPage, "edtRvDetails", "RV_DETAILS");
    newVehicle = check(QStringLiteral("Обстоятелствата, които определят стоката като ново превозно средство "
                                      "при вътрешнообщностна доставка"),
                       "chkNewVehicle", "NOVO_SREDSTVO");
    nvDetails = m_row.edit(casesPage, "edtNvDetails", "NV_DETAILS");
    zeroGround = m_row.edit(casesPage, "edtZeroGround", "ZERO_VAT_GROUND");
    zeroGround->setToolTip(QStringLiteral("Разпоредбата на закона, по която не се начислява ДДС, когато никое от "
                                          "обстоятелствата по-горе не е налице"));
    auto *groundCaption = new QLabel(QStringLiteral("Основание за нулева ставка (чл. 114, ал. 1, т. 12 ЗДДС):"), casesPage);
    groundCaption->setBuddy(zeroGround);
    for (QWidget *box : std::initializer_list<QWidget *>{noncharge, requested, rvDetails, newVehicle, nvDetails,
                                                         groundCaption, zeroGround})
        layout->addWidget(box);
    layout->addStretch();
    const auto clearWhenCleared = [this](DBCheckBox *box, const QString &details) {
        connect(box, &QCheckBox::toggled, this, [this, details](bool ticked) {
            if (!ticked)
                m_row.guard([&] { m_row.set(details, QVariant()); });
            followSpecialCases();
        });
    };
    clearWhenCleared(requested, QStringLiteral("RV_DETAILS"));
    clearWhenCleared(newVehicle, QStringLiteral("NV_DETAILS"));
}

void InvoiceTaxPages::buildDistance(QWidget *parent)
{
    distance = new QGroupBox(QStringLiteral(" Данни за дистанционна продажба "), parent);
    auto *fields = new QFormLayout(distance);
    distEik = m_row.edit(distance, "edtDistEik", "DIST_SELLING_EIK");
    distVat = m_row.edit(distance, "edtDistVat", "DIST_SELLING_VAT");
    distValue = new DBNumberEdit(distance);
    distValue->setObjectName(QStringLiteral("edtDistValue"));
    m_row.dataset().setDisplayFormat(QStringLiteral("DIST_SELLING_CASHSIZE"), QStringLiteral("0.00"));
    distValue->bind(m_row.dataset(), QStringLiteral("DIST_SELLING_CASHSIZE"));
    auto *rateLine = new QHBoxLayout;
    rateLine->addWidget(distVat);
    rateLine->addWidget(new QLabel(QStringLiteral("%"), distance));
    fields->addRow(QStringLiteral("ЕИК/VAT:"), distEik);
    fields->addRow(QStringLiteral("Ставка/ДДС"), rateLine);
    fields->addRow(QStringLiteral("Стойност:"), distValue);
}

void InvoiceTaxPages::showRate(const QString &ownRate, const QString &defaultRate)
{
    rateBox->setText(documentRateText(ownRate, defaultRate));
    m_rate = documentRate(ownRate, defaultRate);
    m_rateText = rateBox->text();
}

bool InvoiceTaxPages::rateLeft()
{
    if (rateBox->text().trimmed().isEmpty()) {
        // The focus is still on its way when this runs; a message box and a
        // new focus now would fight that move, so they follow it.
        QTimer::singleShot(0, rateBox, [this] {
            if (!rateBox->window()->isVisible())
                return;
            MessageDlg(QStringLiteral("Невалидна данъчна ставка !"), TMsgDlgType::mtError, mbOK);
            focusShowingPage(rateBox);
        });
        return false;
    }
    takeRate();
    return true;
}

void InvoiceTaxPages::takeRate()
{
    m_rateText = rateBox->text().trimmed();
    m_rate = m_rateText.toDouble() / 100.0;
    Q_EMIT rateChanged();
}

void InvoiceTaxPages::followSpecialCases()
{
    rvDetails->setEnabled(requested->isChecked());
    nvDetails->setEnabled(newVehicle->isChecked());
}

bool InvoiceTaxPages::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == rateBox && isLeaving(event) && m_row.prepared())
        rateLeft();
    return QObject::eventFilter(watched, event);
}

} // namespace invoicing
