#include "mainwindow/TfrmMain.h"

#include "backup/ArchiveCommands.h"
#include "catalogues/LookupLists.h"
#include "catalogues/TfrmKontragenti.h"
#include "catalogues/TfrmMerki.h"
#include "catalogues/TfrmNomenklatura.h"
#include "core/AppSettings.h"
#include "core/OwnCompany.h"
#include "core/TSettings.h"
#include "core/Tdm.h"
#include "data/JournalQuery.h"
#include "invoicing/InvoiceRules.h"
#include "invoicing/TfrmClientData.h"
#include "invoicing/TfrmInvoices.h"
#include "db/Dataset.h"
#include "documents/DocumentEditors.h"
#include "documents/DocumentPrint.h"
#include "documents/DocumentKind.h"
#include "documents/TfrmRevizia.h"
#include "documents/TfrmStockDocument.h"
#include "mainwindow/TfrmAbout.h"
#include "mainwindow/TfrmNetworkSettings.h"
#include "payments/TfrmPlashtaniya.h"
#include "reports/TfrmSpravki.h"
#include "ui/DataGrid.h"
#include "ui/DateField.h"
#include "ui/Dialogs.h"
#include "ui/EditRoutines.h"
#include "ui/ErrorGuard.h"
#include "ui/TDictionary.h"
#include "ui/TfrmList.h"
#include "util/Error.h"

#include <QAction>
#include <QDesktopServices>
#include <QKeyEvent>
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

const char *const kOwnCompany =
    "update KONTR set KONTR_NAME=:KONTR_NAME,KONTR_DN=:KONTR_DN,KONTR_BULSTAT=:KONTR_BULSTAT,"
    "KONTR_ADDRESS=:KONTR_ADDRESS,KONTR_NOTE='Това сте Вие!', KONTR_CITY=:KONTR_CITY,KONTR_IS_CLIENT=2 "
    "where KONTR_ID = 1";
const char *const kOwnCompanyNotWritten =
    "Данните на фирмата от настройките не са записани в контрагент 1, който остава с предишните:";
const char *const kShortenTheSetting = "Съкратете стойността в настройките (varnex-admin settings set).";

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
    {"Ревизии", 14, "Ревизии", "Ревизии"},
};

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
    actnNewCount = action("Ревизия");
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
    connect(actnReports, &QAction::triggered, this, [this] {
        command([this] {
            const std::unique_ptr<TfrmSpravki> window(CreateChildForm<TfrmSpravki>());
            window->exec();
        });
    });
    // The journal's list lets go of its rows while the settling writes.
    connect(actnPayments, &QAction::triggered, this, [this] {
        m_journal->close();
        command([this] { TfrmPlashtaniya(this).exec(); });
        m_journal->open();
    });
    connect(actnNewInvoice, &QAction::triggered, this, [this] {
        PutParam(QStringLiteral("INVOICES::SHOWCMD"), QStringLiteral("NEW"));
        actnInvoices->trigger();
    });
    connect(actnInvoices, &QAction::triggered, this, [this] { command([this] { TfrmInvoices::Open(this); }); });
    // "Фактура" of a sale: a new invoice proposing the buyer and the goods sold.
    SetSaleInvoiceHandler([this](const documents::SaleInvoice &sale) {
        std::vector<invoicing::InvoicePrefill::Line> lines;
        for (const documents::InvoiceDraftLine &line : sale.lines)
            lines.push_back({line.text, line.unit, line.quantity, line.price});
        PutParam(invoicing::prefillClientBoardName(), sale.buyerFound ? sale.buyerId : QVariant());
        PutParam(invoicing::prefillLinesBoardName(), invoicing::prefillLinesValue(lines));
        actnNewInvoice->trigger();
    });
    QAction *euroChangeover = archivesMenu()->addAction(QStringLiteral("Преминаване към евро"));
    euroChangeover->setObjectName(QStringLiteral("actnEuroChangeover"));
    connect(euroChangeover, &QAction::triggered, this, [this] {
        command([this] {
            if (this->data().CheckRight(10)) {
                ChangeOverToEuro(this->data(), this);
                RefreshJournal();
            }
        });
    });
    connect(actnCompanyData, &QAction::triggered, this,
            [this] { command([this] { TfrmClientData::Open(this->data(), TfrmClientData::UserInfoPage, this); }); });
    connect(actnSettings, &QAction::triggered, this,
            [this] { command([this] { TfrmClientData::Open(this->data(), TfrmClientData::OptionsPage, this); }); });

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
    newDocument->addAction(actnNewCount);
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
    // All the documents are a few hundred thousand rows: the first screen
    // shows at once and the rest is read while the window is idle.
    m_journal->setFetchOnDemand(true);
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
    connect(actnUnits, &QAction::triggered, this, [this] { command([this] { showCatalogue<TfrmMerki>(); }); });
    connect(actnGoods, &QAction::triggered, this, [this] { command([this] { showCatalogue<TfrmNomenklatura>(); }); });
    connect(actnCounterparties, &QAction::triggered, this,
            [this] { command([this] { showCatalogue<TfrmKontragenti>(); }); });
    connect(actnCategories, &QAction::triggered, this, [this] {
        command([this] { showLookupList(*actnCategories, QStringLiteral("categories"), showCategoriesIn); });
    });
    connect(actnSettlements, &QAction::triggered, this, [this] {
        command([this] { showLookupList(*actnSettlements, QStringLiteral("cities"), showSettlementsIn); });
    });
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
    connect(m_journal.get(), &db::Dataset::rowsFetched, this, &TfrmMain::updateStatus);
    connect(actnNewDelivery, &QAction::triggered, this, [this] { NewDocument(documents::Delivery); });
    connect(actnNewProduction, &QAction::triggered, this, [this] { NewDocument(documents::Production); });
    connect(actnNewSale, &QAction::triggered, this, [this] { NewDocument(documents::Sale); });
    connect(actnNewScrap, &QAction::triggered, this, [this] { NewDocument(documents::Scrap); });
    connect(actnNewCount, &QAction::triggered, this, [this] { NewDocument(documents::StockCount); });
    connect(actnEditDoc, &QAction::triggered, this, &TfrmMain::EditDocument);
    connect(m_grid, &QAbstractItemView::doubleClicked, actnEditDoc, &QAction::trigger);
    m_grid->installEventFilter(this);
    connect(m_journal.get(), &db::Dataset::reset, this, &TfrmMain::followJournalRows);
    connect(m_journal.get(), &db::Dataset::rowInserted, this, &TfrmMain::followJournalRows);
    connect(m_journal.get(), &db::Dataset::rowRemoved, this, &TfrmMain::followJournalRows);
    followJournalRows();

    const QDate first(today().year(), today().month(), 1);
    m_from->setDate(first);
    m_to->setDate(first.addMonths(1).addDays(-1));
    updateStatus();
}

TfrmMain::~TfrmMain()
{
    SetSaleInvoiceHandler(nullptr);
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

QDate TfrmMain::periodFrom() const
{
    return m_from->isBlank() ? QDate() : m_from->date();
}

QDate TfrmMain::periodTo() const
{
    return m_to->isBlank() ? QDate() : m_to->date();
}

void TfrmMain::bindPeriod(int tab)
{
    // Which sides are bounded decides the statement's time ranges, so the
    // text follows the period; the next opening reads it.
    m_journal->setSelectSql(data::journalStatement(kTabs[tab].type, periodFrom(), periodTo()));
    const QVariantHash params = data::journalPeriodParams(periodFrom(), periodTo());
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        m_journal->setParam(it.key(), it.value());
}

void TfrmMain::TabChanged(int index)
{
    m_journal->close();
    m_heading->setText(QLatin1String("  ") + QString::fromUtf8(kTabs[index].word) + QLatin1Char(' ') + periodText());
    bindPeriod(index);
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
    bindPeriod(m_tabs->currentIndex());
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
    // The total is of the rows read so far: it grows while the rest of the
    // journal is read in idle time and is right once every row is read,
    // which asking for recordCount() here would force before the first
    // screen could show.
    const bool rows = m_journal->isOpen() && m_journal->fetchedCount() > 0;
    m_status->setText(rows ? QStringLiteral(" Запис № %1 от общо %2")
                                 .arg(m_journal->recNo() + 1)
                                 .arg(m_journal->fetchedCount())
                           : QStringLiteral(" Няма намерени записи."));
}

void TfrmMain::UpdateOwnCompany()
{
    TSettings &settings = AppSettings();
    const QHash<QString, int> lengths = varnex::counterpartyColumnLengths(data());
    data::SqlParams values;
    QStringList overlong;
    for (const varnex::OwnCompanySetting &setting : varnex::ownCompanySettings()) {
        const QString value = settings.ReadString(setting.key, QString());
        values.insert(setting.column, value);
        const QString why = varnex::overlongSettingText(setting.key, value, lengths);
        if (!why.isEmpty())
            overlong << why;
    }
    // Cutting a value to fit would put a name on the invoices that nobody
    // wrote; the counterparty keeps what it has until the setting is right.
    if (!overlong.isEmpty()) {
        throw varnex::Error(QString::fromUtf8(kOwnCompanyNotWritten) + QLatin1Char('\n')
                            + overlong.join(QLatin1Char('\n')) + QLatin1Char('\n')
                            + QString::fromUtf8(kShortenTheSetting));
    }
    data().ExecSQL(QString::fromUtf8(kOwnCompany), values);
}

void TfrmMain::showEvent(QShowEvent *event)
{
    TBaseMainForm::showEvent(event);
    // The journal opens whatever became of the own company: the documents
    // are there either way. The window shows again after every catalogue,
    // and the user is told once.
    try {
        UpdateOwnCompany();
    } catch (const varnex::Error &error) {
        if (!m_ownCompanyTold)
            ShowErrorOf(error);
        m_ownCompanyTold = true;
    }
    // The first showing opens the journal on its first tab; showing it again
    // (after a window that hid it) keeps the tab and the current document.
    if (m_journal->isOpen())
        command([this] { data().RefreshDataSet(*m_journal, QStringLiteral("TRANZ_ID")); });
    else if (m_tabs->currentIndex() == 0)
        command([this] { TabChanged(0); });
    else
        m_tabs->setCurrentIndex(0);
}

void TfrmMain::DatabaseRestored()
{
    RefreshJournal();
}

void TfrmMain::followJournalRows()
{
    actnEditDoc->setEnabled(m_journal->isOpen() && !m_journal->isEmpty());
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            actnEditDoc->trigger();
            return true;
        }
    }
    return TBaseMainForm::eventFilter(watched, event);
}

void TfrmMain::NewDocument(int type)
{
    command([this, type] {
        if (m_journal->isOpen() && !m_journal->isEmpty())
            m_journal->last();
        if (type == documents::StockCount) {
            runCount(0);
            return;
        }
        std::unique_ptr<TfrmStockDocument> editor = CreateDocumentEditor(type, *this);
        if (!editor)
            return;
        editor->NewDocument();
        runEditor(*editor);
    });
}

void TfrmMain::EditDocument()
{
    if (!m_journal->isOpen() || m_journal->isEmpty())
        return;
    const QVariant id = m_journal->value(QStringLiteral("TRANZ_ID"));
    const int type = m_journal->value(QStringLiteral("TRANZ_TYPE_ID")).toInt();
    if (type == documents::StockCount) {
        command([this, &id] { runCount(id.toInt()); });
        return;
    }
    std::unique_ptr<TfrmStockDocument> editor;
    bool opened = false;
    command([&] {
        editor = CreateDocumentEditor(type, *this);
        if (editor) {
            editor->OpenDocument(id.toInt());
            opened = true;
        }
    });
    if (opened) {
        runEditor(*editor);
        return;
    }
    // A row without an editor, or a document gone meanwhile: the journal
    // is read again all the same.
    command([this] { ReopenKeepingKey(*m_journal, QStringLiteral("TRANZ_ID"), true); });
}

void TfrmMain::runEditor(TfrmStockDocument &editor)
{
    editor.exec();
    const documents::DocumentModel &document = editor.model();
    const bool storedNew = document.isNew() && document.headerStored() && !document.destroyed();
    command([&] {
        ReopenKeepingKey(*m_journal, QStringLiteral("TRANZ_ID"), true);
        if (storedNew)
            m_journal->locate({QStringLiteral("TRANZ_ID")}, {document.documentId()});
    });
}

void TfrmMain::runCount(int countId)
{
    const std::unique_ptr<TfrmRevizia> window(CreateChildForm<TfrmRevizia>());
    if (countId == 0)
        window->NewDocument();
    else
        window->OpenDocument(countId);
    window->exec();
    ReopenKeepingKey(*m_journal, QStringLiteral("TRANZ_ID"), true);
    if (window->storedNew())
        m_journal->locate({QStringLiteral("TRANZ_ID")}, {window->count().id()});
}

void TfrmMain::runHidden(TfrmBaseForm *window)
{
    std::unique_ptr<TfrmBaseForm> owned(window);
    hide();
    owned->exec();
    owned.reset();
    show();
}

void TfrmMain::showLookupList(const QAction &action, const QString &section, void (*showList)(TfrmList &))
{
    TfrmList *list = CreateChildForm<TfrmList>(Settings().OpenSection(section));
    list->BaseCaption = action.text();
    list->setWindowTitle(list->BaseCaption);
    showList(*list);
    runHidden(list);
}

void TfrmMain::showAbout()
{
    TfrmAbout about(this);
    about.exec();
}
