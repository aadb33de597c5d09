#include "catalogues/TfrmKontragenti.h"

#include "catalogues/CounterpartyRules.h"
#include "core/TSettings.h"
#include "core/Tdm.h"
#include "data/Counters.h"
#include "db/Dataset.h"
#include "ui/CityQuestion.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/EntryProposal.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/QuickSearch.h"

#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char *const kList = "select * from KONTR where (1=1) and (KONTR_ID>0) Order by  KONTR_CODE, KONTR_NAME";
const char *const kRow = "select * from KONTR where KONTR_ID = :KONTR_ID";
const char *const kInsert =
    "insert into KONTR (KONTR_ID, KONTR_CODE, KONTR_NAME, KONTR_DN, KONTR_BULSTAT, KONTR_ADDRESS, KONTR_CITY, "
    "KONTR_MOL, KONTR_NOTE, KONTR_IS_CLIENT) values (:KONTR_ID, :KONTR_CODE, :KONTR_NAME, :KONTR_DN, :KONTR_BULSTAT, "
    ":KONTR_ADDRESS, :KONTR_CITY, :KONTR_MOL, :KONTR_NOTE, :KONTR_IS_CLIENT)";
const char *const kUpdate =
    "update KONTR set KONTR_ID = :KONTR_ID, KONTR_CODE = :KONTR_CODE, KONTR_NAME = :KONTR_NAME, KONTR_DN = :KONTR_DN, "
    "KONTR_BULSTAT = :KONTR_BULSTAT, KONTR_ADDRESS = :KONTR_ADDRESS, KONTR_CITY = :KONTR_CITY, KONTR_MOL = :KONTR_MOL, "
    "KONTR_NOTE = :KONTR_NOTE, KONTR_IS_CLIENT = :KONTR_IS_CLIENT where KONTR_ID = :OLD_KONTR_ID";
const char *const kDelete = "delete from KONTR where KONTR_ID = :OLD_KONTR_ID";

const char *const kInfoContacts = "select * from CONTACTINFO where CONTACT_ID = :CLIENT_ID";
const char *const kInfoAccounts = "select * from BANK_ACCOUNTS where CLIENT_ID = :CLIENT_ID order by IS_VAT_ACCOUNT, ID";

const char *const kContacts =
    "select ID, CONTACT_ID, CONTACTINFO_TYPE_ID, TEXT from CONTACTINFO where CONTACT_ID = :CLIENT_ID";
const char *const kContactRow = "select ID, CONTACT_ID, CONTACTINFO_TYPE_ID, TEXT from CONTACTINFO where ID = :ID";
const char *const kContactInsert = "insert into CONTACTINFO (ID, CONTACT_ID, CONTACTINFO_TYPE_ID, TEXT) "
                                   "values (:ID, :CONTACT_ID, :CONTACTINFO_TYPE_ID, :TEXT)";
const char *const kContactUpdate = "update CONTACTINFO set ID = :ID, CONTACT_ID = :CONTACT_ID, "
                                   "CONTACTINFO_TYPE_ID = :CONTACTINFO_TYPE_ID, TEXT = :TEXT where ID = :OLD_ID";
const char *const kContactDelete = "delete from CONTACTINFO where ID = :OLD_ID";

const char *const kAccounts = "SELECT * FROM BANK_ACCOUNTS WHERE IS_VAT_ACCOUNT=0  AND CLIENT_ID =:CLIENT_ID";
const char *const kVatAccounts = "SELECT * FROM BANK_ACCOUNTS WHERE IS_VAT_ACCOUNT=1 AND  CLIENT_ID = :CLIENT_ID";
const char *const kAccountRow = "select * from BANK_ACCOUNTS where ID = :ID";
const char *const kAccountInsert = "insert into BANK_ACCOUNTS (ID, CLIENT_ID, BANK_NAME, BANK_CODE, ACCOUNT_CODE, "
                                   "IS_VAT_ACCOUNT) values (:ID, :CLIENT_ID, :BANK_NAME, :BANK_CODE, :ACCOUNT_CODE, "
                                   ":IS_VAT_ACCOUNT)";
const char *const kAccountUpdate = "update BANK_ACCOUNTS set ID = :ID, CLIENT_ID = :CLIENT_ID, BANK_NAME = :BANK_NAME, "
                                   "BANK_CODE = :BANK_CODE, ACCOUNT_CODE = :ACCOUNT_CODE, IS_VAT_ACCOUNT = :IS_VAT_ACCOUNT "
                                   "where ID = :OLD_ID";
const char *const kAccountDelete = "delete from BANK_ACCOUNTS where ID = :OLD_ID";

const char *const kNextCode = "select max(KONTR_CODE) maxcode from KONTR";
const char *const kOthersWithTaxNumber = "SELECT COUNT(*) FROM KONTR WHERE KONTR_ID <> :ID and KONTR_DN = :VALUE";
const char *const kOthersWithBulstat = "SELECT COUNT(*) FROM KONTR WHERE KONTR_ID <> :ID and KONTR_BULSTAT = :VALUE";

const int kCompanyId = 1;

QString text(const char *latin1)
{
    return QString::fromLatin1(latin1);
}

// The contact type column shows the type's name and edits it with a
// drop-down of the contact types, storing the type's key.
class ContactTypeDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant &value, const QLocale &) const override
    {
        if (value.toString().isEmpty())
            return QString();
        return dm().qContactTypes().lookupValue(QStringLiteral("ID"), value.toInt(), QStringLiteral("NAME")).toString();
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *types = new QComboBox(parent);
        db::Dataset &list = dm().qContactTypes();
        for (int row = 0; row < list.recordCount(); ++row)
            types->addItem(list.value(row, list.fieldIndex(QStringLiteral("NAME"))).toString(),
                           list.value(row, list.fieldIndex(QStringLiteral("ID"))));
        return types;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *types = static_cast<QComboBox *>(editor);
        types->setCurrentIndex(types->findData(index.data(Qt::EditRole)));
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        const auto *types = static_cast<QComboBox *>(editor);
        if (types->currentIndex() >= 0)
            model->setData(index, types->currentData());
    }
};

} // namespace

TfrmKontragenti::TfrmKontragenti(QWidget *owner)
    : TfrmBaseVXGrid(owner)
    , m_qMain(dm().createDataset(text(kList)))
    , m_qInfoAccounts(dm().createDataset(text(kInfoAccounts)))
    , m_qInfoContacts(dm().createDataset(text(kInfoContacts)))
    , m_qContacts(dm().createDataset(text(kContacts)))
    , m_qAccounts(dm().createDataset(text(kAccounts)))
    , m_qVatAccounts(dm().createDataset(text(kVatAccounts)))
{
    setObjectName(QStringLiteral("frmKontragenti"));
    KeyField = QStringLiteral("KONTR_ID");
    SettingsPrefix = QStringLiteral("KONTR");
    BaseCaption = QStringLiteral("Контрагенти");
    setWindowTitle(BaseCaption);
    ShowPrint = true;
    BuildToolbar();

    for (db::Dataset *rows : {m_qMain.get(), m_qInfoAccounts.get(), m_qInfoContacts.get(), m_qContacts.get(),
                              m_qAccounts.get(), m_qVatAccounts.get()})
        rows->setParent(this);

    m_qMain->setInsertSql(text(kInsert));
    m_qMain->setUpdateSql(text(kUpdate));
    m_qMain->setDeleteSql(text(kDelete));
    m_qMain->setRefreshSql(text(kRow));
    m_qMain->setDisplayFormat(QStringLiteral("KONTR_CODE"), QStringLiteral("00000"));
    m_qMain->setUsageChecks(QStringLiteral("контрагентът"), QStringLiteral("KONTR_ID"),
                            {{QStringLiteral("TRANZ"), {QStringLiteral("TRANZ_KONT_ID")}, QStringLiteral("документите")},
                             {QStringLiteral("INVOICES"), {QStringLiteral("CLIENT_ID")}, QStringLiteral("фактурите")}});
    m_qMain->afterPost = [](db::Dataset &) { dm().RefreshDataSet(dm().qKontr(), QStringLiteral("KONTR_ID")); };

    m_qContacts->setInsertSql(text(kContactInsert));
    m_qContacts->setUpdateSql(text(kContactUpdate));
    m_qContacts->setDeleteSql(text(kContactDelete));
    m_qContacts->setRefreshSql(text(kContactRow));
    m_qContacts->beforePost = [this](db::Dataset &rows) {
        if (rows.value(QStringLiteral("ID")).isNull())
            rows.setValue(QStringLiteral("ID"), dm().NewCounterValue(data::CounterContactInfo));
        rows.setValue(QStringLiteral("CONTACT_ID"), m_currentId);
    };
    for (db::Dataset *rows : {m_qAccounts.get(), m_qVatAccounts.get()}) {
        const int vat = rows == m_qVatAccounts.get() ? 1 : 0;
        rows->setInsertSql(text(kAccountInsert));
        rows->setUpdateSql(text(kAccountUpdate));
        rows->setDeleteSql(text(kAccountDelete));
        rows->setRefreshSql(text(kAccountRow));
        rows->beforePost = [this, vat](db::Dataset &account) {
            if (account.value(QStringLiteral("ID")).isNull())
                account.setValue(QStringLiteral("ID"), dm().NewCounterValue(data::CounterBankAccounts));
            account.setValue(QStringLiteral("CLIENT_ID"), m_currentId);
            account.setValue(QStringLiteral("IS_VAT_ACCOUNT"), vat);
        };
    }

    setDataset(*m_qMain, {{QStringLiteral("KONTR_CODE"), QStringLiteral("Код"), 70, true},
                          {QStringLiteral("KONTR_NAME"), QStringLiteral("Название"), 260, true},
                          {QStringLiteral("KONTR_DN"), QStringLiteral("Данъчен №"), 110, true},
                          {QStringLiteral("KONTR_BULSTAT"), QStringLiteral("Булстат"), 120, true}});

    buildInfoArea();
    buildFilterBar();
    m_quickSearch = new QuickSearch(*this, *m_qMain,
                                    {QStringLiteral("KONTR_NAME"), QStringLiteral("KONTR_DN"),
                                     QStringLiteral("KONTR_BULSTAT"), QStringLiteral("KONTR_ADDRESS")});
    buildEditPanel();

    // F2 to F5 act on the list only while no row is being edited; an editor
    // of the edit panel keeps them for itself.
    actnEdit->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    actnRefresh->setShortcut(QKeySequence());
    addListKey(Qt::Key_F2, actnNew);
    addListKey(Qt::Key_F3, actnEdit);
    addListKey(Qt::Key_F4, actnDelete);
    addListKey(Qt::Key_F5, [this] { m_quickSearch->findFromFirst(); });

    connect(m_qMain.get(), &db::Dataset::currentChanged, this, &TfrmKontragenti::followCurrentRow);
    connect(m_qMain.get(), &db::Dataset::reset, this, &TfrmKontragenti::followCurrentRow);
    connect(m_qMain.get(), &db::Dataset::stateChanged, this, [this] {
        if (m_editing && !m_qMain->isEditing())
            leaveEditing();
    });

    m_qMain->open();
    // The column's size is known once the list is open.
    m_city->lineEdit()->setMaxLength(m_qMain->fieldLength(QStringLiteral("KONTR_CITY")));
    followCurrentRow();
}

TfrmKontragenti::~TfrmKontragenti() = default;

void TfrmKontragenti::buildInfoArea()
{
    m_infoArea = new QWidget(this);
    auto *layout = new QVBoxLayout(m_infoArea);
    layout->setContentsMargins(0, 0, 0, 0);

    m_qInfoAccounts->addCalculatedField(QStringLiteral("ACCOUNT_KIND"), [](const db::Dataset &rows, int row) {
        const QVariant vat = rows.value(row, rows.fieldIndex(QStringLiteral("IS_VAT_ACCOUNT")));
        return QVariant(vat.toInt() == 1 ? QStringLiteral("ДДС") : QStringLiteral("ОСМ"));
    });
    m_qInfoContacts->addLookupField(QStringLiteral("TYPE_NAME"), QStringLiteral("CONTACTINFO_TYPE_ID"),
                                    &dm().qContactTypes(), QStringLiteral("ID"), QStringLiteral("NAME"));

    auto *accounts = new QGroupBox(QStringLiteral(" Банкови сметки"), m_infoArea);
    m_infoAccountsGrid = new DataGrid(accounts);
    m_infoAccountsGrid->setObjectName(QStringLiteral("grdInfoAccounts"));
    m_infoAccountsGrid->bind(*m_qInfoAccounts, {{QStringLiteral("BANK_NAME"), QStringLiteral("Банка"), 120, true},
                                                {QStringLiteral("BANK_CODE"), QStringLiteral("BIC"), 80, true},
                                                {QStringLiteral("ACCOUNT_CODE"), QStringLiteral("IBAN"), 180, true},
                                                {QStringLiteral("ACCOUNT_KIND"), QStringLiteral("Тип см."), 50, true}});
    (new QVBoxLayout(accounts))->addWidget(m_infoAccountsGrid);

    auto *contacts = new QGroupBox(QStringLiteral(" Информация за контакти"), m_infoArea);
    m_infoContactsGrid = new DataGrid(contacts);
    m_infoContactsGrid->setObjectName(QStringLiteral("grdInfoContacts"));
    m_infoContactsGrid->bind(*m_qInfoContacts, {{QStringLiteral("TYPE_NAME"), QStringLiteral("Тип"), 110, true},
                                                {QStringLiteral("TEXT"), QStringLiteral("Информация"), 220, true}});
    (new QVBoxLayout(contacts))->addWidget(m_infoContactsGrid);

    auto *notes = new QGroupBox(QStringLiteral(" Бележки"), m_infoArea);
    m_infoNote = new QPlainTextEdit(notes);
    m_infoNote->setReadOnly(true);
    (new QVBoxLayout(notes))->addWidget(m_infoNote);

    // Disabled while a row is edited, it gives its height to the edit panel.
    m_infoArea->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    layout->addWidget(accounts, 2);
    layout->addWidget(contacts, 2);
    layout->addWidget(notes, 1);

    // The grid and the information area share the list's place.
    const int at = m_mainLayout->indexOf(Grid());
    m_mainLayout->removeWidget(Grid());
    auto *row = new QWidget(this);
    auto *rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->addWidget(Grid(), 3);
    rowLayout->addWidget(m_infoArea, 2);
    m_mainLayout->insertWidget(at, row, 1);
}

void TfrmKontragenti::buildFilterBar()
{
    m_filterLayout->addWidget(new QLabel(QStringLiteral("Филтър:"), m_filterPanel));
    m_filterLayout->addWidget(new QLabel(QStringLiteral("Клиент/Доставчик"), m_filterPanel));
    m_kindFilter = new QComboBox(m_filterPanel);
    m_kindFilter->setObjectName(QStringLiteral("cbKindFilter"));
    m_kindFilter->addItems({QStringLiteral("<Всички>"), QStringLiteral("Клиенти"), QStringLiteral("Доставчици"),
                            QStringLiteral("Клиент-Доставчик")});
    m_filterLayout->addWidget(m_kindFilter);
    auto *refresh = new QToolButton(m_filterPanel);
    refresh->setDefaultAction(actnRefresh);
    refresh->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_filterLayout->addWidget(refresh);
    m_filterLayout->addStretch();
    m_filterPanel->show();
}

TfrmKontragenti::DetailList TfrmKontragenti::makeDetailList(QWidget *page, const QString &title, db::Dataset *rows,
                                                            std::vector<GridColumn> columns, const QString &addHint,
                                                            const QString &removeHint)
{
    DetailList list;
    list.rows = rows;
    auto *group = new QGroupBox(title, page);
    auto *layout = new QHBoxLayout(group);
    list.grid = new DataGrid(group);
    list.grid->bind(*rows, std::move(columns));
    list.grid->setEditable(true);
    list.grid->setPostOnLeave(true);
    layout->addWidget(list.grid, 1);
    auto *buttons = new QVBoxLayout;
    list.add = new QToolButton(group);
    list.add->setText(QStringLiteral("+"));
    list.add->setToolTip(addHint);
    list.remove = new QToolButton(group);
    list.remove->setText(QStringLiteral("−"));
    list.remove->setToolTip(removeHint);
    buttons->addWidget(list.add);
    buttons->addWidget(list.remove);
    buttons->addStretch();
    layout->addLayout(buttons);
    page->layout()->addWidget(group);

    DataGrid *grid = list.grid;
    connect(list.add, &QToolButton::clicked, this, [this, rows, grid] {
        runGuarded(this, [&] {
            rows->append();
            grid->setFocus();
            grid->setCurrentIndex(grid->model()->index(rows->recNo(), 0));
        });
    });
    connect(list.remove, &QToolButton::clicked, this, [this, rows] {
        if (rows->isEmpty()
            || MessageDlg(QStringLiteral("Моля потвърдете изтриване!"), TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
            return;
        runGuarded(this, [&] {
            if (rows->state() == db::Dataset::State::Insert) {
                rows->cancel();
                return;
            }
            if (rows->isEditing())
                rows->cancel();
            rows->remove();
        });
    });
    connect(rows, &db::Dataset::reset, this, &TfrmKontragenti::updateDetailButtons);
    connect(rows, &db::Dataset::rowInserted, this, &TfrmKontragenti::updateDetailButtons);
    connect(rows, &db::Dataset::rowRemoved, this, &TfrmKontragenti::updateDetailButtons);
    return list;
}

void TfrmKontragenti::buildEditPanel()
{
    editGroup()->setTitle(QStringLiteral(" Добавяне/редакция на данни за контрагент "));
    m_pages = new QTabWidget(editGroup());
    editFields()->addRow(m_pages);

    auto *main = new QWidget(m_pages);
    auto *fields = new QFormLayout(main);
    // The fields are made in their order on the page, which Tab follows.
    m_kind = new DBComboBox(main);
    m_kind->setObjectName(QStringLiteral("cbKind"));
    m_kind->setChoices({{QStringLiteral("Клиент"), 0}, {QStringLiteral("Доставчик"), 1},
                        {QStringLiteral("Клиент и доставчик"), 2}});
    m_kind->bind(*m_qMain, QStringLiteral("KONTR_IS_CLIENT"));
    m_code = new DBNumberEdit(main);
    m_code->setObjectName(QStringLiteral("edtCode"));
    m_code->bind(*m_qMain, QStringLiteral("KONTR_CODE"));
    proposeOnEntry(m_code, *m_qMain, [this] { proposeCode(); });
    const auto textField = [&](const char *objectName, const char *field) {
        auto *edit = new DBEdit(main);
        edit->setObjectName(QString::fromLatin1(objectName));
        edit->bind(*m_qMain, QString::fromLatin1(field));
        return edit;
    };
    m_name = textField("edtName", "KONTR_NAME");
    m_taxNumber = textField("edtTaxNumber", "KONTR_DN");
    m_bulstat = textField("edtBulstat", "KONTR_BULSTAT");
    m_mol = textField("edtMol", "KONTR_MOL");

    m_city = new QComboBox(main);
    m_city->setObjectName(QStringLiteral("cbCity"));
    m_city->setEditable(true);
    m_city->setInsertPolicy(QComboBox::NoInsert);
    m_city->setMaxVisibleItems(6);
    m_city->setProperty("dataField", QStringLiteral("KONTR_CITY"));
    m_city->completer()->setCompletionMode(QCompleter::PopupCompletion);
    m_city->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    m_city->completer()->setMaxVisibleItems(6);
    m_city->installEventFilter(this);
    connect(m_city->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &typed) {
        if (m_qMain->isEditing())
            m_qMain->setValue(QStringLiteral("KONTR_CITY"), typed.isEmpty() ? QVariant() : QVariant(typed));
    });
    connect(m_city, qOverload<int>(&QComboBox::activated), this, [this] {
        if (m_qMain->isEditing())
            m_qMain->setValue(QStringLiteral("KONTR_CITY"), m_city->currentText());
    });

    m_address = textField("edtAddress", "KONTR_ADDRESS");

    m_note = new DBMemo(main);
    m_note->setObjectName(QStringLiteral("edtNote"));
    m_note->bind(*m_qMain, QStringLiteral("KONTR_NOTE"));
    m_note->setFixedHeight(60);

    fields->addRow(QStringLiteral("Клиент/доставчик"), m_kind);
    fields->addRow(QStringLiteral("Код"), m_code);
    fields->addRow(QStringLiteral("Название"), m_name);
    fields->addRow(QStringLiteral("Дан. №/ЕГН"), m_taxNumber);
    fields->addRow(QStringLiteral("БУЛСТАТ"), m_bulstat);
    fields->addRow(QStringLiteral("МОЛ"), m_mol);
    fields->addRow(QStringLiteral("Населено място"), m_city);
    fields->addRow(QStringLiteral("Адрес"), m_address);
    fields->addRow(QStringLiteral("Бележки"), m_note);
    m_pages->addTab(main, QStringLiteral("Основни данни"));

    auto *more = new QWidget(m_pages);
    new QVBoxLayout(more);
    m_contacts = makeDetailList(more, QStringLiteral(" Информация за контакти"), m_qContacts.get(),
                                {{QStringLiteral("CONTACTINFO_TYPE_ID"), QStringLiteral("Тип"), 130, true},
                                 {QStringLiteral("TEXT"), QStringLiteral("Информация"), 300, true}},
                                QStringLiteral("Добавя нов контакт"), QStringLiteral("Изтрива избрания контакт"));
    m_contacts.grid->setItemDelegateForColumn(0, new ContactTypeDelegate(m_contacts.grid));
    const std::vector<GridColumn> accountColumns{{QStringLiteral("BANK_NAME"), QStringLiteral("Банка"), 200, true},
                                                 {QStringLiteral("BANK_CODE"), QStringLiteral("BIC"), 100, true},
                                                 {QStringLiteral("ACCOUNT_CODE"), QStringLiteral("IBAN"), 220, true}};
    m_accounts = makeDetailList(more, QStringLiteral(" Банкови сметки"), m_qAccounts.get(), accountColumns,
                                QStringLiteral("Добавя нова сметка"), QStringLiteral("Изтрива избраната сметка"));
    m_vatAccounts = makeDetailList(more, QStringLiteral(" ДДС Сметки"), m_qVatAccounts.get(), accountColumns,
                                   QStringLiteral("Добавя ДДС сметка"), QStringLiteral("ИЗтрива избраната ДДС сметка"));
    m_pages->addTab(more, QStringLiteral("Допълнителна информация"));
    m_contacts.grid->setObjectName(QStringLiteral("grdContacts"));
    m_accounts.grid->setObjectName(QStringLiteral("grdAccounts"));
    m_vatAccounts.grid->setObjectName(QStringLiteral("grdVatAccounts"));
    updateDetailButtons();
    fillCities();
}

void TfrmKontragenti::LoadLayout()
{
    TfrmBaseVXGrid::LoadLayout();
    m_quickSearch->restoreShown();
}

QWidget *TfrmKontragenti::firstEditor() const
{
    const bool company = m_qMain->isEditing() && m_qMain->value(QStringLiteral("KONTR_ID")).toInt() == kCompanyId;
    return company ? static_cast<QWidget *>(m_code) : m_kind;
}

void TfrmKontragenti::followCurrentRow()
{
    if (m_qMain->isEditing() || !m_qMain->isOpen())
        return;
    const bool none = m_qMain->isEmpty() || m_qMain->recNo() < 0;
    const int id = none ? -1 : m_qMain->value(QStringLiteral("KONTR_ID")).toInt();
    m_currentId = id;
    runGuarded(this, [&] {
        dm().SetParamAndRefresh(*m_qInfoAccounts, QStringLiteral("CLIENT_ID"), id, QStringLiteral("ID"));
        dm().SetParamAndRefresh(*m_qInfoContacts, QStringLiteral("CLIENT_ID"), id, QStringLiteral("ID"));
    });
    m_infoNote->setPlainText(none ? QString() : m_qMain->value(QStringLiteral("KONTR_NOTE")).toString());
}

void TfrmKontragenti::NewExecute()
{
    TfrmBaseVXGrid::NewExecute();
    m_qMain->setValue(QStringLiteral("KONTR_ID"), dm().NewCounterValue(data::CounterKontr));
    m_qMain->setValue(QStringLiteral("KONTR_IS_CLIENT"), 0);
    enterEditing();
}

void TfrmKontragenti::EditExecute()
{
    m_qMain->edit();
    if (m_qMain->value(QStringLiteral("KONTR_IS_CLIENT")).isNull())
        m_qMain->setValue(QStringLiteral("KONTR_IS_CLIENT"), 0);
    enterEditing();
}

void TfrmKontragenti::enterEditing()
{
    m_editing = true;
    m_infoArea->setEnabled(false);
    m_pages->setCurrentIndex(0);
    m_currentId = m_qMain->value(QStringLiteral("KONTR_ID")).toInt();
    fillCities();
    showCity();
    for (db::Dataset *rows : {m_qContacts.get(), m_qAccounts.get(), m_qVatAccounts.get()}) {
        rows->setParam(QStringLiteral("CLIENT_ID"), m_currentId);
        rows->open();
    }
    updateDetailButtons();
    if (m_currentId == kCompanyId)
        setCompanyFieldsEnabled(false);
    firstEditor()->setFocus();
}

void TfrmKontragenti::leaveEditing()
{
    m_editing = false;
    const int left = m_currentId;
    for (db::Dataset *rows : {m_qContacts.get(), m_qAccounts.get(), m_qVatAccounts.get()}) {
        if (rows->isEditing())
            rows->cancel();
        rows->close();
    }
    updateDetailButtons();
    setCompanyFieldsEnabled(true);
    m_infoArea->setEnabled(true);
    dropDetailsOfMissing(left);
    followCurrentRow();
}

void TfrmKontragenti::dropDetailsOfMissing(int counterpartyId)
{
    // Contacts and accounts are stored as they are entered; those of a new
    // counterparty that was never stored, or of one deleted, would belong
    // to nobody.
    if (counterpartyId <= kCompanyId)
        return;
    runGuarded(this, [&] {
        const data::SqlParams id{{QStringLiteral("ID"), counterpartyId}};
        if (dm().QueryValue(QStringLiteral("select count(*) from KONTR where KONTR_ID = :ID"), QString(), id).toInt() > 0)
            return;
        dm().ExecSQL(QStringLiteral("delete from CONTACTINFO where CONTACT_ID = :ID"), id);
        dm().ExecSQL(QStringLiteral("delete from BANK_ACCOUNTS where CLIENT_ID = :ID"), id);
    });
}

void TfrmKontragenti::setCompanyFieldsEnabled(bool enabled)
{
    for (QWidget *field : std::initializer_list<QWidget *>{m_kind, m_name, m_taxNumber, m_bulstat, m_city, m_address, m_note})
        field->setEnabled(enabled);
}

void TfrmKontragenti::updateDetailButtons()
{
    for (const DetailList *list : {&m_contacts, &m_accounts, &m_vatAccounts}) {
        if (!list->rows)
            continue;
        list->add->setEnabled(list->rows->isOpen());
        list->remove->setEnabled(list->rows->isOpen() && !list->rows->isEmpty());
    }
}

void TfrmKontragenti::fillCities()
{
    FillCityBoxes({m_city});
}

void TfrmKontragenti::showCity()
{
    m_city->setEditText(m_qMain->value(QStringLiteral("KONTR_CITY")).toString());
}

void TfrmKontragenti::cityLeft()
{
    const QString typed = m_city->currentText().trimmed();
    runGuarded(this, [&] {
        if (!OfferToAddCity(*m_city, m_askingCity))
            return;
        fillCities();
        if (!m_qMain->isEditing())
            m_qMain->edit();
        m_qMain->setValue(QStringLiteral("KONTR_CITY"), typed);
        m_city->setEditText(typed);
    });
}

void TfrmKontragenti::proposeCode()
{
    if (!m_qMain->isEditing() || !m_qMain->value(QStringLiteral("KONTR_CODE")).isNull())
        return;
    runGuarded(this, [&] {
        const QString code = ProposedCounterpartyCode(dm().QueryValue(text(kNextCode)));
        m_qMain->setValue(QStringLiteral("KONTR_CODE"), code.toInt());
        m_code->setText(code);
        QTimer::singleShot(0, m_code, &QLineEdit::selectAll);
    });
}

bool TfrmKontragenti::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_city && isLeaving(event) && m_qMain->isEditing())
        cityLeft();
    return TfrmBaseVXGrid::eventFilter(watched, event);
}

bool TfrmKontragenti::ValidateRecord()
{
    m_pages->setCurrentIndex(0);
    // A name taken from the drop-down's completion is stored as shown.
    const QString city = m_city->currentText();
    if (m_city->isEnabled() && city != m_qMain->value(QStringLiteral("KONTR_CITY")).toString())
        m_qMain->setValue(QStringLiteral("KONTR_CITY"), city.isEmpty() ? QVariant() : QVariant(city));
    const auto othersWith = [this](Identifier identifier, const QString &value) {
        return dm().QueryValue(text(identifier == Identifier::TaxNumber ? kOthersWithTaxNumber : kOthersWithBulstat),
                               QString(), {{QStringLiteral("ID"), m_currentId}, {QStringLiteral("VALUE"), value}})
            .toInt();
    };
    const auto wantsToCorrect = [] {
        return MessageDlg(QStringLiteral("Невалиден Данъчен №/ЕГН!\n\rЖелаете ли да го промените?"), TMsgDlgType::mtError,
                          mbYes | mbNo)
            == mrYes;
    };
    const auto value = [this](const char *field) { return m_qMain->value(QString::fromLatin1(field)); };
    try {
        CheckCounterpartyEntry({value("KONTR_IS_CLIENT"), value("KONTR_CODE"), value("KONTR_NAME").toString(),
                                value("KONTR_DN").toString(), value("KONTR_BULSTAT").toString()},
                               othersWith, wantsToCorrect);
    } catch (const TaxNumberToCorrect &) {
        m_taxNumber->setFocus();
        return false;
    }
    return true;
}

bool TfrmKontragenti::DeleteVeto()
{
    if (m_qMain->value(QStringLiteral("KONTR_ID")).toInt() != kCompanyId)
        return false;
    MessageDlg(QStringLiteral("Част от този запис може само да се редактира!"), TMsgDlgType::mtWarning, mbOK);
    return true;
}

void TfrmKontragenti::DeleteExecute()
{
    const int id = m_qMain->value(QStringLiteral("KONTR_ID")).toInt();
    m_quickSearch->offWhile([this] { TfrmBaseVXGrid::DeleteExecute(); });
    dropDetailsOfMissing(id);
    dm().RefreshDataSet(dm().qKontr(), QStringLiteral("KONTR_ID"));
}

void TfrmKontragenti::RefreshList()
{
    // Reading the list again would store the row being edited past the
    // checks of "Запис".
    if (m_qMain->isEditing())
        return;
    const KindFilter filter = CounterpartyKindFilter(m_kindFilter->currentIndex());
    if (filter.condition.isEmpty()) {
        if (FilterActive)
            RemoveFilter();
        TfrmBaseVXGrid::RefreshList();
        return;
    }
    const QString clause = QLatin1String("where (") + filter.condition + QLatin1Char(')');
    if (clause == WhereClause)
        TfrmBaseVXGrid::RefreshList();
    else
        SetFilter(filter.condition, filter.description);
}

void TfrmKontragenti::FilterExecute()
{
    m_kindFilter->setFocus();
    m_kindFilter->showPopup();
}

void TfrmKontragenti::RemoveFilter()
{
    TfrmBaseVXGrid::RemoveFilter();
    m_kindFilter->setCurrentIndex(0);
}

