#include "core/TfrmMain.h"

#include "catalogues/TfrmMerki.h"
#include "core/AppSettings.h"
#include "core/TSettings.h"
#include "core/Tdm.h"
#include "core/TfrmAbout.h"
#include "core/TfrmNetworkSettings.h"
#include "db/Dataset.h"
#include "ui/DataGrid.h"
#include "ui/DateField.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QDateTime>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const char *const kJournalHead =
    "Select t.Tranz_Id, k.Kontr_Name, tt.Tranz_Types_Name, t.Tranz_Padej,\r\n"
    "CAST(t.Tranz_Time AS TIME) TranzTime, t.Tranz_Note, t.TRANZ_TYPE_ID, t.TRANZ_DOCNO \r\n"
    "from Tranz t\r\n"
    "LEFT OUTER JOIN Kontr k on (t.Tranz_Kont_Id=k.Kontr_id)\r\n"
    "LEFT OUTER JOIN Tranz_Types tt on (t.Tranz_Type_Id=tt.Tranz_Types_Id)\r\n"
    "where ((0=:from_filter) or CAST(t.Tranz_Time AS DATE) >= :D1) and ((0=:to_filter) or "
    "CAST(t.Tranz_Time AS DATE) <= :D2) \r\n"
    // The same period once more as a range of the indexed column, so a month
    // is read through the time index instead of every document.
    "and (t.Tranz_Time >= :T_FROM) and (t.Tranz_Time < :T_BEFORE) \r\n";

const char *const kOwnCompany =
    "update KONTR set KONTR_NAME=:NAME,KONTR_DN=:DN,KONTR_BULSTAT=:BULSTAT,KONTR_ADDRESS=:ADDRESS,"
    "KONTR_NOTE='Това сте Вие!', KONTR_CITY=:CITY,KONTR_IS_CLIENT=2 where KONTR_ID = 1";

struct Tab
{
    const char *caption;
    int type; // 0: every type
    const char *word;
    const char *refreshWord;
};

const Tab kTabs[] = {
    {"Всички", 0, "Документи", "Издадени документи"},
    {"Доставки", 12, "Доставки", "Доставки"},
    {"Производство", 10, "Производство", "Производство"},
    {"Продажби", 11, "Продажби", "Продажби"},
    {"Брак", 13, "Брак", "Брак"},
};

// Commands whose windows come with later parts of the program.
void notYet(QAction *action)
{
    action->setEnabled(false);
}

} // namespace

TfrmMain::TfrmMain(Tdm &data, QWidget *owner)
    : TBaseMainForm(data, owner)
    , today([] { return QDate::currentDate(); })
    , m_journal(data.createDataset(QString()))
{
    const auto action = [this](const char *caption, Qt::Key key = Qt::Key_unknown) {
        auto *created = new QAction(QString::fromUtf8(caption), this);
        if (key != Qt::Key_unknown) {
            created->setShortcut(QKeySequence(key));
            created->setShortcutContext(Qt::WindowShortcut);
        }
        addAction(created);
        return created;
    };
    actnReports = action("Справки", Qt::Key_F2);
    actnNewDelivery = action("Доставки", Qt::Key_F3);
    actnNewProduction = action("Производство", Qt::Key_F4);
    actnNewSale = action("Продажби", Qt::Key_F5);
    actnNewScrap = action("Бракуване", Qt::Key_F6);
    actnEditDoc = action("Редакция", Qt::Key_F7);
    actnPayments = action("Плащания", Qt::Key_F8);
    actnCounterparties = action("Контрагенти", Qt::Key_F9);
    actnGoods = action("Стоки", Qt::Key_F10);
    actnUnits = action("Мерки", Qt::Key_F11);
    actnCategories = action("Категории стоки");
    actnSettlements = action("Населени места");
    actnRefresh = action("Обнови");
    actnNewInvoice = action("Нова");
    actnInvoices = action("Издадени");
    actnCompanyData = action("Информация за потребител");
    actnSettings = action("Настройки");
    actnWebPage = action("web Страница");
    actnToday = action("Днес");
    actnYesterday = action("Вчера");
    actnThisWeek = action("Тази седмица");
    actnThisMonth = action("Този месец");
    for (QAction *later : {actnReports, actnNewDelivery, actnNewProduction, actnNewSale, actnNewScrap, actnEditDoc,
                           actnPayments, actnCounterparties, actnGoods, actnCategories, actnSettlements, actnNewInvoice,
                           actnInvoices, actnCompanyData, actnSettings})
        notYet(later);

    QToolBar *bar = toolBar();
    const auto icon = [this](QStyle::StandardPixmap pixmap) { return style()->standardIcon(pixmap); };
    actnReports->setIcon(icon(QStyle::SP_FileDialogInfoView));
    actnEditDoc->setIcon(icon(QStyle::SP_FileDialogDetailedView));
    actnPayments->setIcon(icon(QStyle::SP_DialogApplyButton));
    bar->addAction(actnReports);
    auto *catalogues = new QMenu(this);
    catalogues->addAction(actnCounterparties);
    catalogues->addAction(actnGoods);
    catalogues->addSeparator();
    catalogues->addAction(actnUnits);
    catalogues->addAction(actnCategories);
    catalogues->addSeparator();
    catalogues->addAction(actnSettlements);
    addMenuButton(QStringLiteral("Картотеки"), catalogues)->setIcon(icon(QStyle::SP_DirIcon));
    bar->addAction(actnEditDoc);
    bar->addAction(actnPayments);
    auto *newDocument = new QMenu(this);
    newDocument->addAction(actnNewDelivery);
    newDocument->addAction(actnNewSale);
    newDocument->addSeparator();
    newDocument->addAction(actnNewProduction);
    newDocument->addSeparator();
    newDocument->addAction(actnNewScrap);
    addMenuButton(QStringLiteral("Нов докум."), newDocument)->setIcon(icon(QStyle::SP_FileIcon));
    auto *invoices = new QMenu(this);
    invoices->addAction(actnNewInvoice);
    invoices->addAction(actnInvoices);
    addMenuButton(QStringLiteral("Фактури"), invoices)->setIcon(icon(QStyle::SP_FileDialogContentsView));
    documentationMenu()->addAction(actnWebPage);
    addMenuButton(QStringLiteral("Документация"), documentationMenu())->setIcon(icon(QStyle::SP_MessageBoxQuestion));
    systemMenu()->insertAction(actnChangePassword, actnCompanyData);
    systemMenu()->insertAction(actnChangePassword, actnSettings);
    addMenuButton(QStringLiteral("Системни"), systemMenu())->setIcon(icon(QStyle::SP_ComputerIcon));
    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    QAction *exit = bar->addAction(icon(QStyle::SP_DialogCloseButton), QStringLiteral("Изход"));
    exit->setObjectName(QStringLiteral("btnExit"));
    exit->setToolTip(QStringLiteral("Изход от програмата"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    auto *filter = new QHBoxLayout;
    filter->setContentsMargins(6, 4, 6, 4);
    filter->addWidget(new QLabel(QStringLiteral("период от"), this));
    m_from = new DateField(this);
    filter->addWidget(m_from);
    filter->addWidget(new QLabel(QStringLiteral("до"), this));
    m_to = new DateField(this);
    filter->addWidget(m_to);
    auto *refresh = new QPushButton(QStringLiteral("Обнови"), this);
    refresh->setAutoDefault(false);
    connect(refresh, &QPushButton::clicked, actnRefresh, &QAction::trigger);
    filter->addWidget(refresh);
    for (QAction *period : {actnToday, actnYesterday, actnThisWeek, actnThisMonth}) {
        period->setToolTip(period->text());
        auto *button = new QToolButton(this);
        button->setDefaultAction(period);
        filter->addWidget(button);
    }
    filter->addStretch();

    m_heading = new QLabel(this);
    QFont headingFont = m_heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
    m_heading->setFont(headingFont);
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("Grid"));
    m_grid->setToolTip(QStringLiteral("Документи за деня"));
    m_journal->setParent(this);
    m_journal->setDisplayFormat(QStringLiteral("TRANZ_DOCNO"), QStringLiteral("000000"));
    m_grid->bind(*m_journal, {{QStringLiteral("TRANZ_DOCNO"), QStringLiteral("Док №"), 80, true},
                              {QStringLiteral("TRANZ_TYPES_NAME"), QStringLiteral("Документ"), 140, true},
                              {QStringLiteral("KONTR_NAME"), QStringLiteral("Контрагент"), 320, true},
                              {QStringLiteral("TRANZ_NOTE"), QStringLiteral("Бележки"), 320, true},
                              {QStringLiteral("TRANZ_PADEJ"), QStringLiteral("Падеж"), 100, true}});
    m_tabs = new QTabBar(this);
    for (const Tab &tab : kTabs)
        m_tabs->addTab(QString::fromUtf8(tab.caption));
    m_tabs->setShape(QTabBar::RoundedSouth);
    m_status = new QLabel(this);

    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    layout->addLayout(filter);
    layout->addWidget(m_heading);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_tabs);
    layout->addWidget(m_status);

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) { command([this, index] { TabChanged(index); }); });
    connect(actnRefresh, &QAction::triggered, this, [this] { command([this] { RefreshJournal(); }); });
    connect(actnToday, &QAction::triggered, this, [this] { setPeriod(today(), today()); });
    connect(actnYesterday, &QAction::triggered, this, [this] { setPeriod(today().addDays(-1), today().addDays(-1)); });
    connect(actnThisWeek, &QAction::triggered, this, [this] {
        const int w = today().dayOfWeek() % 7 + 1; // Sunday 1, Monday 2, … Saturday 7
        setPeriod(today().addDays(2 - w), today().addDays(8 - w));
    });
    connect(actnThisMonth, &QAction::triggered, this, [this] {
        const QDate first(today().year(), today().month(), 1);
        setPeriod(first, first.addMonths(1).addDays(-1));
    });
    connect(actnUnits, &QAction::triggered, this, [this] { command([this] { showUnits(); }); });
    connect(actnAbout, &QAction::triggered, this, [this] { showAbout(); });
    connect(actnNetworkSettings, &QAction::triggered, this, [this] {
        TfrmNetworkSettings window(this);
        window.exec();
    });
    connect(actnWebPage, &QAction::triggered, this, [] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(dm().programDirectory + QLatin1String("docs/index.html")));
    });
    connect(m_journal.get(), &db::Dataset::currentChanged, this, &TfrmMain::updateStatus);
    connect(m_journal.get(), &db::Dataset::reset, this, &TfrmMain::updateStatus);

    const QDate first(today().year(), today().month(), 1);
    m_from->setDate(first);
    m_to->setDate(first.addMonths(1).addDays(-1));
    updateStatus();
}

TfrmMain::~TfrmMain() = default;

QString TfrmMain::journalStatement(int tab)
{
    QString sql = QString::fromUtf8(kJournalHead);
    if (kTabs[tab].type != 0)
        sql += QStringLiteral("and (TRANZ_TYPE_ID = %1)").arg(kTabs[tab].type);
    return sql + QLatin1String(" order by t.tranz_time");
}

QString TfrmMain::periodText() const
{
    QString text;
    if (m_from->date().isValid())
        text += QStringLiteral("от дата ") + m_from->text() + QLatin1Char(' ');
    if (m_to->date().isValid())
        text += QStringLiteral("до дата ") + m_to->text() + QLatin1Char(' ');
    return text;
}

QVariantHash TfrmMain::periodParams(const QDate &from, const QDate &to)
{
    // An empty (invalid) date sets no bound.
    const QDate first = from.isValid() ? from : QDate(1, 1, 1);
    const QDate afterLast = to.isValid() ? to.addDays(1) : QDate(9999, 12, 31);
    return {{QStringLiteral("from_filter"), from.isValid() ? 1 : 0},
            {QStringLiteral("D1"), from.isValid() ? QVariant(from) : QVariant()},
            {QStringLiteral("to_filter"), to.isValid() ? 1 : 0},
            {QStringLiteral("D2"), to.isValid() ? QVariant(to) : QVariant()},
            {QStringLiteral("T_FROM"), QDateTime(first, QTime(0, 0))},
            {QStringLiteral("T_BEFORE"), QDateTime(afterLast, QTime(0, 0))}};
}

void TfrmMain::bindPeriod()
{
    const QVariantHash params = periodParams(m_from->isBlank() ? QDate() : m_from->date(),
                                             m_to->isBlank() ? QDate() : m_to->date());
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        m_journal->setParam(it.key(), it.value());
}

void TfrmMain::TabChanged(int index)
{
    m_journal->close();
    m_heading->setText(QLatin1String("  ") + QString::fromUtf8(kTabs[index].word) + QLatin1Char(' ') + periodText());
    m_journal->setSelectSql(journalStatement(index));
    bindPeriod();
    m_journal->open();
}

void TfrmMain::RefreshJournal()
{
    for (DateField *field : {m_from, m_to}) {
        if (!field->isBlank() && !field->date().isValid()) {
            MessageDlg(QStringLiteral("Невалидна дата!"), TMsgDlgType::mtError, mbOK);
            return;
        }
    }
    const QString word = QString::fromUtf8(kTabs[m_tabs->currentIndex()].refreshWord);
    const QString period = periodText();
    m_heading->setText(period.isEmpty() ? QLatin1String("  ") + word + QLatin1Char(' ')
                                        : QLatin1String("  ") + word + QStringLiteral(" за периода ") + period);
    bindPeriod();
    if (m_journal->selectSql().isEmpty())
        m_journal->setSelectSql(journalStatement(m_tabs->currentIndex()));
    data().RefreshDataSet(*m_journal, QStringLiteral("TRANZ_ID"));
}

void TfrmMain::setPeriod(const QDate &from, const QDate &to)
{
    m_from->setDate(from);
    m_to->setDate(to);
    actnRefresh->trigger();
}

void TfrmMain::updateStatus()
{
    const bool rows = m_journal->isOpen() && !m_journal->isEmpty();
    m_status->setText(rows ? QStringLiteral(" Запис № %1 от общо %2").arg(m_journal->recNo() + 1).arg(m_journal->recordCount())
                           : QStringLiteral(" Няма намерени записи."));
}

bool TfrmMain::UpdateOwnCompany()
{
    TSettings &settings = AppSettings();
    const auto key = [&](const char *name) { return settings.ReadString(QString::fromLatin1(name), QString()); };
    try {
        data().ExecSQL(QString::fromUtf8(kOwnCompany), {{QStringLiteral("NAME"), key("clientinfo\\company")},
                                                        {QStringLiteral("DN"), key("clientinfo\\vat_num")},
                                                        {QStringLiteral("BULSTAT"), key("clientinfo\\bulstat")},
                                                        {QStringLiteral("ADDRESS"), key("clientinfo\\address")},
                                                        {QStringLiteral("CITY"), key("clientinfo\\city")}});
    } catch (const varnex::Error &) {
        return false;
    }
    return true;
}

void TfrmMain::showEvent(QShowEvent *event)
{
    TBaseMainForm::showEvent(event);
    if (!UpdateOwnCompany())
        return;
    if (m_tabs->currentIndex() == 0)
        command([this] { TabChanged(0); });
    else
        m_tabs->setCurrentIndex(0);
}

void TfrmMain::showUnits()
{
    TfrmMerki *units = CreateChildForm<TfrmMerki>();
    hide();
    units->exec();
    delete units;
    show();
}

void TfrmMain::showAbout()
{
    TfrmAbout about(this);
    about.exec();
}
