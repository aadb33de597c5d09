#include "invoicing/TfrmClientData.h"

#include "core/AppSettings.h"
#include "core/TBaseDM.h"
#include "core/TSettings.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString pageTitle(int page)
{
    return page == TfrmClientData::OptionsPage ? QStringLiteral("Настройки") : QStringLiteral("Информация за потребител");
}

} // namespace

TfrmClientData::TfrmClientData(TBaseDM &data, TSettings &settings, QWidget *owner)
    : TfrmYesNo(owner)
    , m_data(data)
{
    setObjectName(QStringLiteral("frmClientData"));
    AskBeforeDroppingInput = true;
    RememberSize = false;
    m_pages = new QTabWidget(this);

    auto *info = new QWidget(m_pages);
    auto *infoForm = new QFormLayout(info);
    const auto readOnlyBox = [info, infoForm](const char *caption) {
        auto *box = new QLineEdit(info);
        box->setReadOnly(true);
        infoForm->addRow(QString::fromUtf8(caption), box);
        return box;
    };
    m_company = readOnlyBox("Фирма");
    m_city = readOnlyBox("Град");
    m_address = readOnlyBox("Адрес");
    m_site = readOnlyBox("Обект");
    m_vatNumber = readOnlyBox("ИН по ЗДДС BG");
    m_bulstat = readOnlyBox("ИН (Булстат)");
    m_pages->addTab(info, QStringLiteral("Информация за потребител"));

    auto *options = new QWidget(m_pages);
    auto *optionsLayout = new QVBoxLayout(options);
    auto *invoices = new QGroupBox(QStringLiteral(" Фактури "), options);
    auto *invoicesForm = new QFormLayout(invoices);
    m_docSize = new QComboBox(invoices);
    m_docSize->addItems({QStringLiteral("Цяла страница"), QStringLiteral("Половинка")});
    m_copies = new QComboBox(invoices);
    m_copies->addItems({QStringLiteral("1 копие"), QStringLiteral("2 копия")});
    for (QComboBox *box : {m_docSize, m_copies})
        box->setCurrentIndex(-1);
    invoicesForm->addRow(QStringLiteral("Тип бланка"), m_docSize);
    invoicesForm->addRow(QStringLiteral("Брой копия"), m_copies);
    auto *rate = new QGroupBox(QStringLiteral(" ДДС ставка "), options);
    auto *rateLayout = new QHBoxLayout(rate);
    m_vat = new QLineEdit(rate);
    m_vat->setObjectName(QStringLiteral("edtVat"));
    // The invoice editor's rate box holds two digits.
    m_vat->setMaxLength(2);
    m_vat->setMaximumWidth(60);
    rateLayout->addWidget(new QLabel(QStringLiteral("ДДС ставка"), rate));
    rateLayout->addWidget(m_vat);
    rateLayout->addWidget(new QLabel(QStringLiteral("%"), rate));
    rateLayout->addStretch(1);
    optionsLayout->addWidget(invoices);
    optionsLayout->addWidget(rate);
    optionsLayout->addStretch(1);
    m_pages->addTab(options, QStringLiteral("Настройки"));

    contentLayout()->addWidget(m_pages);
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int page) { setWindowTitle(pageTitle(page)); });
    disconnect(btnOK(), &QPushButton::clicked, this, &QDialog::accept);
    connect(btnOK(), &QPushButton::clicked, this, [this] { runGuarded(this, [this] { btnOKClick(); }); });
    setWindowTitle(pageTitle(UserInfoPage));
    readValues(settings);
    resize(420, 280);
}

void TfrmClientData::Open(TBaseDM &data, Page page, QWidget *owner)
{
    TfrmClientData window(data, AppSettings(), owner);
    window.showPage(page);
    window.exec();
}

void TfrmClientData::readValues(TSettings &settings)
{
    const auto setting = [&settings](const char *key) {
        return settings.ReadString(QStringLiteral("clientinfo\\") + QString::fromLatin1(key), QString());
    };
    m_company->setText(setting("company"));
    m_city->setText(setting("city"));
    m_address->setText(setting("address"));
    m_site->setText(setting("site"));
    m_vatNumber->setText(setting("vat_num"));
    m_bulstat->setText(setting("bulstat"));

    // A stored index outside the list leaves the choice open, as no value does.
    const auto choose = [this](QComboBox *box, const char *key) {
        const QString value = m_data.GetConfigByName(QString::fromLatin1(key));
        bool ok = false;
        const int index = value.toInt(&ok);
        if (!value.isEmpty() && ok && index >= 0 && index < box->count())
            box->setCurrentIndex(index);
    };
    choose(m_docSize, "DOCSIZE");
    choose(m_copies, "INVOICECOPIES");
    const QString vat = m_data.GetConfigByName(QStringLiteral("BG_VAT"));
    if (!vat.isEmpty())
        m_vat->setText(vat);
}

void TfrmClientData::showPage(Page page)
{
    m_pages->setCurrentIndex(page);
    setWindowTitle(pageTitle(page));
}

void TfrmClientData::refuse(const QString &message, QWidget *control)
{
    MessageDlg(message, TMsgDlgType::mtError, mbOK);
    if (m_pages->currentIndex() != OptionsPage) {
        m_pages->setCurrentIndex(OptionsPage);
        setWindowTitle(QStringLiteral("Настойки и опции"));
    }
    control->setFocus();
}

void TfrmClientData::btnOKClick()
{
    if (m_docSize->currentIndex() < 0)
        return refuse(QStringLiteral("Моля, изберете тип бланка!"), m_docSize);
    m_data.SetConfigByName(QStringLiteral("DOCSIZE"), QString::number(m_docSize->currentIndex()));
    if (m_copies->currentIndex() < 0)
        return refuse(QStringLiteral("Моля, изберете брой копия за фактури!"), m_copies);
    m_data.SetConfigByName(QStringLiteral("INVOICECOPIES"), QString::number(m_copies->currentIndex()));
    if (m_vat->text().trimmed().isEmpty())
        return refuse(QStringLiteral("Полето \"ДДС ставка\" трябва да бъде попълнено !"), m_vat);
    // Invoices take their rate from here; one that is no whole number would
    // print them without VAT.
    static const QRegularExpression wholePercent(QStringLiteral("^\\s*\\d{1,2}\\s*$"));
    if (!wholePercent.match(m_vat->text()).hasMatch())
        return refuse(QStringLiteral("ДДС ставката трябва да бъде цяло число от 0 до 99 !"), m_vat);
    m_data.SetConfigByName(QStringLiteral("BG_VAT"), m_vat->text());
    accept();
}
