#include "invoicing/TfrmInvoices.h"

#include "core/TSettings.h"
#include "core/Tdm.h"
#include "db/Dataset.h"
#include "invoicing/TfrmInvoice.h"
#include "ui/DataGrid.h"
#include "ui/DateField.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/TDictionary.h"
#include "util/Error.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace invoicing;

namespace {

const char kList[] = "select * from INVOICES where (1=1) order by NUMBER";
const char kRow[] = "select * from INVOICES where ID = :ID";
const char kColumns[] =
    "ID,NUMBER,IDATE,PLACE,IS_WAITING,CLIENT_ID,COMPANY,CITY,ADDRESS,DANNUM,BULSTAT,MOL,NOTES,INVOICE_CREATOR,"
    "RECIEVER,LKNO,MVR,PUBLISHED,LA_NUMBER,LA_DATE,SELL_DATE,WITH_BANKS,ACCOUNT,BANK,CODE,NOTIFICATION,NOTIF_TYPE,"
    "INVOICE_NUMBER,INVNOTIF_DATE,SECOND_VAT,NONCHARGE_VAT,REQUESTED_VAT,RV_DETAILS,NOVO_SREDSTVO,NV_DETAILS,"
    "DIST_SELLING_EIK,DIST_SELLING_VAT,DIST_SELLING_CASHSIZE,ACCOUNT_VAT,BANK_VAT,CODE_VAT,VAT_INVOICE,ZERO_VAT_GROUND";
const char kDelete[] = "delete from INVOICES where ID = :OLD_ID";
const char kLinesOfInvoice[] = "DELETE FROM INVOICE_DETAILS WHERE INVOICE_ID = :INVOICE_ID";
const char kClients[] = "select distinct COMPANY from INVOICES where COMPANY is not null order by COMPANY";
const char kIdNumbers[] = "select distinct DANNUM from INVOICES where DANNUM is not null order by DANNUM";

constexpr int kIssued = 0;
const QColor kWaiting(0, 0, 220);
const QColor kCancelled(220, 0, 0);

QPointer<TfrmInvoices> g_list;

QString insertSql()
{
    const QStringList columns = QString::fromLatin1(kColumns).split(QLatin1Char(','));
    QStringList parameters;
    for (const QString &column : columns)
        parameters << QLatin1Char(':') + column;
    return QStringLiteral("insert into INVOICES (%1) values (%2)")
        .arg(columns.join(QStringLiteral(", ")), parameters.join(QStringLiteral(", ")));
}

QString updateSql()
{
    QStringList assignments;
    for (const QString &column : QString::fromLatin1(kColumns).split(QLatin1Char(',')))
        assignments << column + QStringLiteral(" = :") + column;
    return QStringLiteral("update INVOICES set %1 where ID = :OLD_ID").arg(assignments.join(QStringLiteral(", ")));
}

// Waiting documents are written in blue, cancelled ones in red.
class StatusColours : public QStyledItemDelegate
{
public:
    StatusColours(db::Dataset &rows, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_rows(rows)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant status = m_rows.value(index.row(), m_rows.fieldIndex(QStringLiteral("IS_WAITING")));
        if (!status.isNull())
            option->palette = TfrmInvoices::statusPalette(option->palette, status.toInt());
    }

private:
    db::Dataset &m_rows;
};

QLabel *legendSquare(const QColor &colour, QWidget *parent)
{
    auto *square = new QLabel(parent);
    square->setFixedSize(12, 12);
    square->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid #404040;").arg(colour.name()));
    return square;
}

QChar dateSeparator()
{
    for (const QChar character : QLocale().dateFormat(QLocale::ShortFormat)) {
        if (!character.isLetter())
            return character;
    }
    return QLatin1Char('.');
}

} // namespace

QPalette TfrmInvoices::statusPalette(const QPalette &base, int status)
{
    if (status != 1 && status != 2)
        return base;
    const QColor colour = status == 1 ? kWaiting : kCancelled;
    QPalette palette = base;
    palette.setColor(QPalette::Text, colour);
    // A selected row keeps its colour on a pale tint of it, so the status
    // still shows and the text stays readable.
    palette.setColor(QPalette::HighlightedText, colour.darker(150));
    palette.setColor(QPalette::Highlight, QColor::fromRgbF(0.8 + 0.2 * colour.redF(), 0.8 + 0.2 * colour.greenF(),
                                                           0.8 + 0.2 * colour.blueF()));
    return palette;
}

TfrmInvoices::TfrmInvoices(QWidget *owner)
    : TIBGridForm(owner)
    , m_qMain(dm().createDataset(QString::fromLatin1(kList)))
{
    setObjectName(QStringLiteral("frmInvoices"));
    KeyField = QStringLiteral("ID");
    SettingsPrefix = QStringLiteral("INVOICES");
    BaseCaption = QStringLiteral("Фактури");
    setWindowTitle(BaseCaption);
    ShowPrint = true;
    today = [] { return QDate::currentDate(); };
    runEditor = [](TfrmInvoice &editor) { return editor.exec(); };

    m_qMain->setParent(this);
    m_qMain->setInsertSql(insertSql());
    m_qMain->setUpdateSql(updateSql());
    m_qMain->setDeleteSql(QString::fromLatin1(kDelete));
    m_qMain->setRefreshSql(QString::fromLatin1(kRow));
    m_qMain->setDisplayFormat(QStringLiteral("NUMBER"), QStringLiteral("0000000000"));
    // The type column defaults to 0 in the database, so an invoice's own
    // type says nothing: only a notification is credit or debit.
    m_qMain->addCalculatedField(QStringLiteral("NOTIF_KIND"), [](const db::Dataset &rows, int row) {
        const QVariant kind = rows.value(row, rows.fieldIndex(QStringLiteral("NOTIF_TYPE")));
        if (kind.isNull() || rows.value(row, rows.fieldIndex(QStringLiteral("NOTIFICATION"))).toInt() != 1)
            return QVariant(QString());
        return QVariant(kind.toInt() == 0 ? QStringLiteral("Кредитно")
                        : kind.toInt() == 1 ? QStringLiteral("Дебитно")
                                            : QString());
    });
    m_qMain->beforePost = [](db::Dataset &rows) {
        if (rows.value(QStringLiteral("IS_WAITING")).isNull())
            rows.setValue(QStringLiteral("IS_WAITING"), 0);
    };

    setDataset(*m_qMain, {{QStringLiteral("NUMBER"), QStringLiteral("№"), 90, true},
                          {QStringLiteral("IDATE"), QStringLiteral("От дата"), 80, true},
                          {QStringLiteral("PLACE"), QStringLiteral("Място"), 100, true},
                          {QStringLiteral("COMPANY"), QStringLiteral("Клиент"), 200, true},
                          {QStringLiteral("DANNUM"), QStringLiteral("ИН/ЕГН"), 100, true},
                          {QStringLiteral("BULSTAT"), QStringLiteral("ИН по ЗДДС"), 100, true},
                          {QStringLiteral("BANK"), QStringLiteral("Банка"), 120, true},
                          {QStringLiteral("NOTIF_KIND"), QStringLiteral("Известие"), 80, true}});
    Grid()->setItemDelegate(new StatusColours(*m_qMain, Grid()));
    Grid()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Grid()->setSelectionBehavior(QAbstractItemView::SelectRows);

    actnShowSearch = new QAction(style()->standardIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("Търсене"), this);
    actnShowSearch->setToolTip(QStringLiteral("Панел за търсене"));
    actnShowSearch->setCheckable(true);
    actnFind = new QAction(QStringLiteral("Търсене"), this);
    actnFind->setToolTip(QStringLiteral("Текущо търсене"));
    actnFindNext = new QAction(QStringLiteral("Следващ"), this);
    actnFindNext->setToolTip(QStringLiteral("Търси следващ"));
    actnFindNext->setEnabled(false);
    connect(actnFind, &QAction::triggered, this, [this] { Find(false); });
    connect(actnFindNext, &QAction::triggered, this, [this] { Find(true); });

    buildFilterBar();
    buildSearchBar();
    buildBottom();
    m_btnShowSearch = addToolButton(actnShowSearch);
    BuildToolbar();
    connect(actnShowSearch, &QAction::toggled, this, [this](bool shown) {
        m_searchBar->setVisible(shown);
        Settings().WriteBool(QStringLiteral("ShowQuickSearch"), shown);
    });

    connect(m_qMain.get(), &db::Dataset::currentChanged, this, &TfrmInvoices::updateStatus);
    connect(m_qMain.get(), &db::Dataset::reset, this, &TfrmInvoices::updateStatus);
    connect(m_qMain.get(), &db::Dataset::currentChanged, this, [this] {
        actnFindNext->setEnabled(m_found && m_qMain->recNo() < m_qMain->recordCount() - 1);
    });
    m_qMain->open();
    fillFilterLists();
    RefreshList();
}

TfrmInvoices::~TfrmInvoices() = default;

TfrmInvoices *TfrmInvoices::instance()
{
    return g_list.data();
}

TfrmInvoices *TfrmInvoices::Open(QWidget *owner)
{
    if (!g_list) {
        // Lines left by an editor that ended without storing its invoice are
        // looked for only while no other workstation could be typing the
        // lines of a new one: counted, as the session start counts them, over
        // every database user, and again after the answer, since a
        // workstation may have connected while the question waited.
        runGuarded(owner, [] {
            if (dm().OtherWorkstations() > 0)
                return;
            const int abandoned = abandonedLineCount(dm());
            if (abandoned > 0
                && MessageDlg(QStringLiteral("Намерени са %1 реда на фактури, които не са записани.\r\n"
                                             "Желаете ли да бъдат изтрити?")
                                  .arg(abandoned),
                              TMsgDlgType::mtConfirmation, mbYes | mbNo)
                       == mrYes
                && dm().OtherWorkstations() == 0)
                removeAbandonedLines(dm());
        });
        auto *base = qobject_cast<TfrmBaseForm *>(owner);
        auto *list = base ? base->CreateChildForm<TfrmInvoices>() : new TfrmInvoices(owner);
        g_list = list;
        connect(list, &QDialog::finished, list, &QObject::deleteLater);
    }
    g_list->ShowList();
    g_list->raise();
    g_list->activateWindow();
    return g_list.data();
}

void TfrmInvoices::buildFilterBar()
{
    m_filterLayout->addWidget(new QLabel(QStringLiteral("Филтър:"), m_filterPanel));
    m_filterLayout->addWidget(new QLabel(QStringLiteral("От дата"), m_filterPanel));
    m_from = new DateField(m_filterPanel);
    m_from->setObjectName(QStringLiteral("edtFrom"));
    m_filterLayout->addWidget(m_from);
    m_filterLayout->addWidget(new QLabel(QStringLiteral("До дата"), m_filterPanel));
    m_to = new DateField(m_filterPanel);
    m_to->setObjectName(QStringLiteral("edtTo"));
    m_filterLayout->addWidget(m_to);
    const auto listBox = [this](const char *caption, const char *name) {
        m_filterLayout->addWidget(new QLabel(QString::fromUtf8(caption), m_filterPanel));
        auto *box = new QComboBox(m_filterPanel);
        box->setObjectName(QString::fromLatin1(name));
        box->setMinimumWidth(140);
        m_filterLayout->addWidget(box);
        connect(box, qOverload<int>(&QComboBox::activated), this, [this] { runGuarded(this, [this] { RefreshList(); }); });
        return box;
    };
    m_client = listBox("Клиент", "cbClientFilter");
    m_idNumber = listBox("ИН/ЕГН", "cbIdNumberFilter");
    const char *periods[] = {"Днес", "Вчера", "Тази седмица", "Този месец"};
    for (int i = 0; i < 4; ++i) {
        m_periodButtons[i] = new QPushButton(QString::fromUtf8(periods[i]), m_filterPanel);
        m_periodButtons[i]->setAutoDefault(false);
        m_filterLayout->addWidget(m_periodButtons[i]);
        connect(m_periodButtons[i], &QPushButton::clicked, this, [this, i] { choosePeriod(Period(i)); });
    }
    auto *refresh = new QToolButton(m_filterPanel);
    refresh->setDefaultAction(actnRefresh);
    refresh->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_filterLayout->addWidget(refresh);
    m_filterLayout->addStretch();
    m_filterPanel->show();
}

void TfrmInvoices::buildSearchBar()
{
    m_searchBar = new QWidget(this);
    m_searchBar->setObjectName(QStringLiteral("SearchBar"));
    auto *layout = new QHBoxLayout(m_searchBar);
    layout->addWidget(new QLabel(QStringLiteral("Търсене:"), m_searchBar));
    m_searchField = new QComboBox(m_searchBar);
    m_searchField->setObjectName(QStringLiteral("cbSearchField"));
    m_searchField->addItems({QStringLiteral("Номер"), QStringLiteral("Клиент"), QStringLiteral("ИН/ЕГН")});
    m_searchField->setCurrentIndex(-1);
    layout->addWidget(m_searchField);
    layout->addWidget(new QLabel(QStringLiteral("Стойност"), m_searchBar));
    m_searchValue = new QLineEdit(m_searchBar);
    m_searchValue->setObjectName(QStringLiteral("edtSearchValue"));
    layout->addWidget(m_searchValue, 1);
    for (QAction *action : {actnFind, actnFindNext}) {
        auto *button = new QToolButton(m_searchBar);
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        layout->addWidget(button);
    }
    connect(m_searchField, qOverload<int>(&QComboBox::currentIndexChanged), this, &TfrmInvoices::resetNext);
    connect(m_searchValue, &QLineEdit::textChanged, this, &TfrmInvoices::resetNext);
    connect(m_searchValue, &QLineEdit::returnPressed, actnFind, &QAction::trigger);
    m_searchBar->hide();
    m_mainLayout->insertWidget(m_mainLayout->indexOf(m_filterPanel) + 1, m_searchBar);
}

void TfrmInvoices::buildBottom()
{
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("tabStatus"));
    m_tabs->setShape(QTabBar::RoundedSouth);
    for (const char *caption : {"Всички", "Издадени", "Чакащи", "Анулирани"})
        m_tabs->addTab(QString::fromUtf8(caption));
    connect(m_tabs, &QTabBar::currentChanged, this, [this] { runGuarded(this, [this] { RefreshList(); }); });

    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(4, 0, 4, 2);
    bottom->addWidget(m_tabs);
    bottom->addStretch();
    bottom->addWidget(legendSquare(kWaiting, this));
    bottom->addWidget(new QLabel(QStringLiteral("Чакащи"), this));
    bottom->addSpacing(12);
    bottom->addWidget(legendSquare(kCancelled, this));
    bottom->addWidget(new QLabel(QStringLiteral("Анулирани"), this));
    m_mainLayout->addLayout(bottom);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setFrameShape(QFrame::StyledPanel);
    m_mainLayout->addWidget(m_status);
}

void TfrmInvoices::LoadLayout()
{
    TIBGridForm::LoadLayout();
    actnShowSearch->setChecked(Settings().ReadBool(QStringLiteral("ShowQuickSearch"), false));
}

void TfrmInvoices::BuildToolbar()
{
    TIBGridForm::BuildToolbar();
    // The filter bar is always on show; the toolbar offers only its removal.
    setToolbarButtonShown(m_btnFilter, false);
    if (!m_btnShowSearch)
        return;
    m_toolbarLayout.insertGroup(1);
    m_toolbarLayout.addButton(m_btnShowSearch, 1);
}

void TfrmInvoices::UpdateActions()
{
    TIBGridForm::UpdateActions();
    actnFilter->setEnabled(false);
}

void TfrmInvoices::fillFilterLists()
{
    const std::pair<QComboBox *, const char *> lists[] = {{m_client, kClients}, {m_idNumber, kIdNumbers}};
    for (const auto &[box, sql] : lists) {
        const QString chosen = box->currentText();
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItem(QString());
        for (const QVariantList &row : dm().QueryRows(QString::fromLatin1(sql)))
            box->addItem(row.value(0).toString());
        box->setCurrentIndex(qMax(0, box->findText(chosen, Qt::MatchExactly)));
    }
}

void TfrmInvoices::RefreshList()
{
    if (m_qMain->isEditing())
        return;
    for (DateField *field : {m_from, m_to}) {
        if (!field->isBlank() && !field->date().isValid()) {
            field->setFocus();
            throw varnex::Error(QStringLiteral("Невалидна дата!"));
        }
    }
    InvoiceListFilter filter;
    filter.tab = StatusTab(qMax(0, m_tabs->currentIndex()));
    filter.from = m_from->date();
    filter.to = m_to->date();
    filter.client = m_client->currentText();
    filter.idNumber = m_idNumber->currentText();
    const ListCondition condition = invoiceListCondition(filter, dateSeparator());
    for (auto it = condition.params.cbegin(); it != condition.params.cend(); ++it)
        m_qMain->setParam(it.key(), it.value());

    if (condition.condition.isEmpty()) {
        if (FilterActive)
            TIBGridForm::RemoveFilter();
        TIBGridForm::RefreshList();
    } else if (QLatin1String("where (") + condition.condition + QLatin1Char(')') == WhereClause) {
        TIBGridForm::RefreshList();
        FilterActive = true;
    } else {
        SetFilter(condition.condition, condition.description);
    }
    setWindowTitle(invoiceListTitle(condition.description));
    UpdateActions();
    updateStatus();
}

void TfrmInvoices::RemoveFilter()
{
    for (DateField *field : {m_from, m_to})
        field->clear();
    m_client->setCurrentIndex(0);
    m_idNumber->setCurrentIndex(0);
    TIBGridForm::RemoveFilter();
    // The status tab stays chosen, and so it still decides what is listed.
    RefreshList();
}

void TfrmInvoices::choosePeriod(Period period)
{
    const auto [from, to] = periodDates(period, today());
    m_from->setDate(from);
    m_to->setDate(to);
    runGuarded(this, [this] { RefreshList(); });
}

void TfrmInvoices::updateStatus()
{
    m_status->setText(m_qMain->isEmpty() ? QStringLiteral(" Няма намерени записи.")
                                         : QStringLiteral(" Запис № %1 от общо %2")
                                               .arg(m_qMain->recNo() + 1)
                                               .arg(m_qMain->recordCount()));
}

void TfrmInvoices::resetNext()
{
    m_found = false;
    actnFindNext->setEnabled(false);
}

void TfrmInvoices::Find(bool next)
{
    const SearchField field = m_searchField->currentIndex() < 0 ? SearchField::None
                                                                : SearchField(m_searchField->currentIndex() + 1);
    if (field == SearchField::None) {
        ShowNotification(1, searchNotice(field, next));
        return;
    }
    const QString text = m_searchValue->text();
    const int column = m_qMain->fieldIndex(searchColumn(field));
    int found = -1;
    for (int row = next ? m_qMain->recNo() + 1 : 0; row < m_qMain->recordCount() && found < 0; ++row) {
        if (searchMatches(field, m_qMain->value(row, column), text))
            found = row;
    }
    if (found < 0) {
        resetNext();
        ShowNotification(1, searchNotice(field, next));
        return;
    }
    m_found = true;
    m_qMain->moveTo(found);
    actnFindNext->setEnabled(found < m_qMain->recordCount() - 1);
}

void TfrmInvoices::runInvoiceEditor(const QString &title, const InvoicePrefill &prefill)
{
    {
        TfrmInvoice editor(*m_qMain, this);
        editor.setWindowTitle(title);
        editor.setPrefill(prefill);
        runEditor(editor);
    }
    fillFilterLists();
    actnRefresh->trigger();
}

void TfrmInvoices::NewExecute()
{
    InvoicePrefill prefill;
    prefill.clientId = TakeParam(prefillClientBoardName(), 0).toInt();
    prefill.lines = prefillLines(TakeParam(prefillLinesBoardName()));
    m_qMain->append();
    runInvoiceEditor(QStringLiteral("Фактура [добавяне]"), prefill);
}

void TfrmInvoices::EditExecute()
{
    m_qMain->edit();
    runInvoiceEditor(QStringLiteral("Фактура [редакция]"), {});
}

void TfrmInvoices::FilterExecute()
{
    m_from->setFocus();
}

bool TfrmInvoices::DeleteVeto()
{
    if (m_qMain->isEmpty())
        return true;
    const int id = m_qMain->value(QStringLiteral("ID")).toInt();
    const QString refusal = deletionRefusal(dm(), id);
    if (refusal.isEmpty())
        return false;
    if (m_qMain->value(QStringLiteral("IS_WAITING")).toInt() != kIssued)
        throw varnex::Error(refusal);
    const QString blocked = cancellationRefusal(dm(), m_qMain->value(QStringLiteral("NUMBER")).toLongLong(), id);
    if (!blocked.isEmpty())
        throw varnex::Error(blocked);
    if (MessageDlg(refusal + QStringLiteral("\n\nДа се анулира ли сега?"), TMsgDlgType::mtConfirmation, mbYes | mbNo)
        == mrYes) {
        cancelInvoice(dm(), id);
        dm().RefreshDataSet(*m_qMain, KeyField);
    }
    return true;
}

void TfrmInvoices::BeforeDelete()
{
    dm().ExecSQL(QString::fromLatin1(kLinesOfInvoice), {{QStringLiteral("INVOICE_ID"), m_qMain->value(QStringLiteral("ID"))}});
}
