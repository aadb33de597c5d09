#include "invoicing/TfrmInvoice.h"

#include "core/AppSettings.h"
#include "core/Tdm.h"
#include "data/Counters.h"
#include "db/Dataset.h"
#include "invoicing/PrintValues.h"
#include "invoicing/TdmInvoice.h"
#include "ui/CityQuestion.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/DatasetModel.h"
#include "ui/Dialogs.h"
#include "ui/EntryProposal.h"
#include "ui/ErrorGuard.h"
#include "ui/TDictionary.h"
#include "ui/TabOrder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace invoicing;

namespace {

const char kLines[] = "select * from INVOICE_DETAILS  WHERE INVOICE_ID = :INVOICE_ID ORDER BY DETAIL_ID, ROWNUM";
const char kLineRow[] = "select * from INVOICE_DETAILS where DETAIL_ID = :DETAIL_ID";
const char kLineInsert[] = "insert into INVOICE_DETAILS (DETAIL_ID, INVOICE_ID, ROWNUM, DETAIL_TEXT, DETAIL_MEAS, "
                           "DETAIL_QTY, DETAIL_PRICE) values (:DETAIL_ID, :INVOICE_ID, :ROWNUM, :DETAIL_TEXT, "
                           ":DETAIL_MEAS, :DETAIL_QTY, :DETAIL_PRICE)";
const char kLineUpdate[] = "update INVOICE_DETAILS set DETAIL_ID = :DETAIL_ID, INVOICE_ID = :INVOICE_ID, "
                           "ROWNUM = :ROWNUM, DETAIL_TEXT = :DETAIL_TEXT, DETAIL_MEAS = :DETAIL_MEAS, "
                           "DETAIL_QTY = :DETAIL_QTY, DETAIL_PRICE = :DETAIL_PRICE where DETAIL_ID = :OLD_DETAIL_ID";
const char kLineDelete[] = "delete from INVOICE_DETAILS where DETAIL_ID = :OLD_DETAIL_ID";
const char kClients[] = "select * from KONTR where (KONTR_ID <> -1) and ( (KONTR_IS_CLIENT=2) or "
                        "(KONTR_IS_CLIENT=0)) and (KONTR_ID <>1) Order By KONTR_NAME";
const char kCreators[] = "SELECT MRU_VAL FROM MRU_ITEMS WHERE MRU_ID = 6";
const char kLineTexts[] = "select MRU_VAL from MRU_ITEMS where MRU_ID = 7";
const char kUnits[] = "select MRU_VAL from MRU_ITEMS where MRU_ID = 8";

constexpr int kFormSizeKey = 30;

QString latin(const char *text)
{
    return QString::fromLatin1(text);
}

// A recently-used list as a pick list: sorted, each value once.
QStringList recentList(const char *sql)
{
    QStringList values;
    for (const QVariantList &row : dm().QueryRows(latin(sql))) {
        const QString value = row.value(0).toString();
        if (!value.isEmpty())
            values << value;
    }
    values.sort(Qt::CaseInsensitive);
    values.removeDuplicates();
    return values;
}

// A grid column typed freely with the values of a pick list offered.
class PickListDelegate : public QStyledItemDelegate
{
public:
    PickListDelegate(QStringList *items, int maxLength, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_items(items)
        , m_maxLength(maxLength)
    {
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *box = new QComboBox(parent);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(*m_items);
        box->lineEdit()->setMaxLength(m_maxLength);
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        static_cast<QComboBox *>(editor)->setEditText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        model->setData(index, static_cast<QComboBox *>(editor)->currentText());
    }

private:
    QStringList *m_items;
    int m_maxLength;
};

// The running number and the line value are shown, never typed.
class ReadOnlyDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return nullptr;
    }
};

// A drop-down whose list shows several titled columns and whose box shows
// one of them.
QComboBox *tableCombo(QWidget *parent, const QStringList &titles, int shownColumn)
{
    auto *box = new QComboBox(parent);
    auto *model = new QStandardItemModel(0, int(titles.size()), box);
    model->setHorizontalHeaderLabels(titles);
    auto *view = new QTableView(box);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->setMinimumWidth(360);
    box->setModel(model);
    box->setView(view);
    box->setModelColumn(shownColumn);
    return box;
}

void setTableRows(QComboBox *box, const std::vector<QStringList> &rows)
{
    auto *model = static_cast<QStandardItemModel *>(box->model());
    const QSignalBlocker blocker(box);
    model->removeRows(0, model->rowCount());
    for (const QStringList &row : rows) {
        QList<QStandardItem *> items;
        for (const QString &text : row)
            items << new QStandardItem(text);
        model->appendRow(items);
    }
}

} // namespace

TfrmInvoice::TfrmInvoice(db::Dataset &invoice, QWidget *owner)
    : TfrmBaseDBEditForm(owner)
    , m_invoice(invoice)
    , m_qLines(dm().createDataset(latin(kLines)))
    , m_qClients(dm().createDataset(latin(kClients)))
{
    setObjectName(QStringLiteral("frmInvoice"));
    setWindowTitle(QStringLiteral(" Фактуриране"));
    setMainDataset(invoice);
    today = [] { return QDate::currentDate(); };
    printer = [this](TdmInvoice &module, int invoiceId) { module.PrintInvoice(invoiceId, this); };

    m_qLines->setParent(this);
    m_qClients->setParent(this);
    m_qLines->setInsertSql(latin(kLineInsert));
    m_qLines->setUpdateSql(latin(kLineUpdate));
    m_qLines->setDeleteSql(latin(kLineDelete));
    m_qLines->setRefreshSql(latin(kLineRow));
    m_qLines->setDisplayFormat(QStringLiteral("DETAIL_QTY"), QStringLiteral(",.##"));
    m_qLines->setDisplayFormat(QStringLiteral("DETAIL_PRICE"), QStringLiteral("0,.00"));
    m_qLines->setDisplayFormat(QStringLiteral("LINE_VALUE"), QStringLiteral("0,.00"));
    m_qLines->addCalculatedField(QStringLiteral("ROW_NO"), [](const db::Dataset &, int row) { return QVariant(row + 1); });
    m_qLines->addCalculatedField(QStringLiteral("LINE_VALUE"), [](const db::Dataset &rows, int row) {
        const QVariant quantity = rows.value(row, rows.fieldIndex(QStringLiteral("DETAIL_QTY")));
        const QVariant price = rows.value(row, rows.fieldIndex(QStringLiteral("DETAIL_PRICE")));
        return QVariant(quantity.toDouble() * price.toDouble());
    });
    // Every posting, of a new or a changed line, takes a new key and the
    // next row number, so a changed line is read last from then on.
    m_qLines->beforePost = [this](db::Dataset &rows) {
        // The lines grid puts the user on the refused cell.
        if (const auto refusal = checkInvoiceLine(lineValues(rows.recNo())))
            throw db::FieldError(refusal->message, refusal->field);
        QVariantHash line{{QStringLiteral("DETAIL_MEAS"), rows.value(QStringLiteral("DETAIL_MEAS"))}};
        prepareLineForPost(line, m_documentId, dm().NewCounterValue(data::CounterInvoiceDetails), m_lineSequence++);
        for (auto it = line.cbegin(); it != line.cend(); ++it)
            rows.setValue(it.key(), it.value());
    };
    m_qLines->afterPost = [this](db::Dataset &) { recomputeTotals(); };

    buildHeader();
    buildLines();
    buildPages();

    m_print = new QPushButton(QStringLiteral("Печат"), this);
    m_print->setObjectName(QStringLiteral("btnPrint"));
    m_print->setAutoDefault(false);
    m_copy = new QCheckBox(QStringLiteral("Копие"), this);
    m_copy->setObjectName(QStringLiteral("chkCopy"));
    m_copy->setToolTip(QStringLiteral("Подготвя се за печат само копието/ята"));
    buttonLayout()->insertWidget(0, m_copy);
    buttonLayout()->insertWidget(1, m_print);
    connect(m_print, &QPushButton::clicked, this, &TfrmInvoice::PrintClick);

    for (QWidget *box : std::initializer_list<QWidget *>{m_number, m_date, m_place, m_client, m_dannum, m_bulstat,
                                                         m_city, m_address, m_mol, m_creator, m_receiver, m_sellDate})
        box->setStyleSheet(QStringLiteral("background-color: #ccffcc;"));
    for (QWidget *watched : std::initializer_list<QWidget *>{m_number, m_date, m_place, m_city, m_mvr, m_creator,
                                                             m_rateBox, m_refNumber, m_client})
        watched->installEventFilter(this);
    proposeOnEntry(m_date, m_invoice, [this] {
        if (m_invoice.isOpen() && m_invoice.value(QStringLiteral("IDATE")).isNull())
            runGuarded(this, [this] { setRowValue(QStringLiteral("IDATE"), today()); });
    });

    connect(m_qLines.get(), &db::Dataset::reset, this, &TfrmInvoice::updateLineButtons);
    connect(m_qLines.get(), &db::Dataset::stateChanged, this, &TfrmInvoice::updateLineButtons);
    connect(m_qLines.get(), &db::Dataset::rowInserted, this, &TfrmInvoice::updateLineButtons);
    connect(m_qLines.get(), &db::Dataset::rowRemoved, this, &TfrmInvoice::updateLineButtons);
    updateLineButtons();
    resize(820, 700);
    chainTabOrderByLayout(this);
}

TfrmInvoice::~TfrmInvoice() = default;

QComboBox *TfrmInvoice::textCombo(QWidget *parent, const char *objectName, const char *column)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(latin(objectName));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setProperty("dataField", latin(column));
    box->completer()->setCompletionMode(QCompleter::PopupCompletion);
    box->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    box->lineEdit()->setMaxLength(40);
    const QString name = latin(column);
    connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, name](const QString &typed) {
        runGuarded(this, [&] { setRowValue(name, typed.isEmpty() ? QVariant() : QVariant(typed)); });
    });
    connect(box, qOverload<int>(&QComboBox::activated), this, [this, name, box] {
        runGuarded(this, [&] { setRowValue(name, box->currentText()); });
    });
    return box;
}

void TfrmInvoice::buildHeader()
{
    auto *header = new QHBoxLayout;
    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("edtNumber"));
    m_number->setProperty("dataField", QStringLiteral("NUMBER"));
    m_number->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,10}")), m_number));
    connect(m_number, &QLineEdit::textEdited, this, [this](const QString &typed) {
        runGuarded(this, [&] { setRowValue(QStringLiteral("NUMBER"), typed.isEmpty() ? QVariant() : QVariant(typed.toLongLong())); });
    });
    m_date = new DBDateEdit(this);
    m_date->setObjectName(QStringLiteral("edtDate"));
    m_date->setToolTip(QStringLiteral("Дата на издаване на фактурата"));
    m_date->bind(m_invoice, QStringLiteral("IDATE"));
    connect(m_date, &QDateEdit::dateChanged, this, &TfrmInvoice::recomputeTotals);
    m_place = textCombo(this, "cbPlace", "PLACE");
    m_place->setToolTip(QStringLiteral("Място на сделката"));
    m_status = new DBComboBox(this);
    m_status->setObjectName(QStringLiteral("cbStatus"));
    m_status->setChoices({{QStringLiteral("Издадена"), 0}, {QStringLiteral("Чакаща"), 1}, {QStringLiteral("Анулирана"), 2}});
    m_status->bind(m_invoice, QStringLiteral("IS_WAITING"));
    connect(m_status, qOverload<int>(&QComboBox::currentIndexChanged), this, &TfrmInvoice::tintStatus);
    header->addWidget(new QLabel(QStringLiteral("№"), this));
    header->addWidget(m_number);
    header->addWidget(new QLabel(QStringLiteral("от дата"), this));
    header->addWidget(m_date);
    header->addWidget(new QLabel(QStringLiteral("гр./с."), this));
    header->addWidget(m_place, 1);
    header->addWidget(new QLabel(QStringLiteral("статус"), this));
    header->addWidget(m_status);
    contentLayout()->addLayout(header);

    auto *group = new QGroupBox(QStringLiteral(" Фактура "), this);
    auto *grid = new QGridLayout(group);
    m_notification = new DBCheckBox(QStringLiteral("Известие"), group);
    m_notification->setObjectName(QStringLiteral("chkNotification"));
    m_notification->bind(m_invoice, QStringLiteral("NOTIFICATION"));
    m_notifType = new DBComboBox(group);
    m_notifType->setObjectName(QStringLiteral("cbNotifType"));
    m_notifType->setChoices({{QStringLiteral("Кредитно известие"), 0}, {QStringLiteral("Дебитно известие"), 1}});
    m_notifType->bind(m_invoice, QStringLiteral("NOTIF_TYPE"));
    m_refNumber = new DBEdit(group);
    m_refNumber->setObjectName(QStringLiteral("edtRefNumber"));
    m_refNumber->bind(m_invoice, QStringLiteral("INVOICE_NUMBER"));
    m_refDate = new DBDateEdit(group);
    m_refDate->setObjectName(QStringLiteral("edtRefDate"));
    m_refDate->bind(m_invoice, QStringLiteral("INVNOTIF_DATE"));
    connect(m_notification, &QCheckBox::toggled, this, [this](bool ticked) {
        if (!ticked) {
            runGuarded(this, [this] {
                QVariantHash row{{QStringLiteral("NOTIFICATION"), 0}};
                applyNotificationRule(row);
                for (auto it = row.cbegin(); it != row.cend(); ++it)
                    setRowValue(it.key(), it.value());
            });
        }
        followNotification();
    });

    m_client = tableCombo(group, {QStringLiteral("Код"), QStringLiteral("Име")}, 1);
    m_client->setObjectName(QStringLiteral("cbClient"));
    m_client->setEditable(true);
    m_client->setInsertPolicy(QComboBox::NoInsert);
    m_client->lineEdit()->setMaxLength(40);
    m_client->setProperty("dataField", QStringLiteral("CLIENT_ID"));
    m_client->setToolTip(QStringLiteral("Име на фирмата / физическото лице"));
    connect(m_client, qOverload<int>(&QComboBox::activated), this, &TfrmInvoice::chooseClient);
    connect(m_client->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &typed) {
        runGuarded(this, [&] { setRowValue(QStringLiteral("COMPANY"), typed.isEmpty() ? QVariant() : QVariant(typed)); });
    });
    const auto edit = [&](const char *objectName, const char *column) {
        auto *box = new DBEdit(group);
        box->setObjectName(latin(objectName));
        box->bind(m_invoice, latin(column));
        return box;
    };
    m_dannum = edit("edtDannum", "DANNUM");
    m_bulstat = edit("edtBulstat", "BULSTAT");
    m_city = textCombo(group, "cbCity", "CITY");
    m_address = edit("edtAddress", "ADDRESS");
    m_mol = edit("edtMol", "MOL");

    grid->addWidget(m_notification, 0, 0);
    grid->addWidget(m_notifType, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("kъм фактура №"), group), 0, 2);
    grid->addWidget(m_refNumber, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("от Дата"), group), 0, 4);
    grid->addWidget(m_refDate, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("Клиент"), group), 1, 0);
    grid->addWidget(m_client, 1, 1, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("ИН/ЕГН"), group), 2, 0);
    grid->addWidget(m_dannum, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("ИН по ЗДДС BG"), group), 2, 2);
    grid->addWidget(m_bulstat, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("Гр/с"), group), 2, 4);
    grid->addWidget(m_city, 2, 5);
    grid->addWidget(new QLabel(QStringLiteral("Адрес"), group), 3, 0);
    grid->addWidget(m_address, 3, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("МОЛ"), group), 3, 4);
    grid->addWidget(m_mol, 3, 5);
    contentLayout()->addWidget(group);
}

void TfrmInvoice::buildLines()
{
    auto *row = new QHBoxLayout;
    m_lines = new DataGrid(this);
    m_lines->setObjectName(QStringLiteral("GridLines"));
    m_lines->setToolTip(QStringLiteral("Попълнете детайлите във фактурата"));
    m_lines->bind(*m_qLines, {{QStringLiteral("ROW_NO"), QStringLiteral("№"), 32, true},
                              {QStringLiteral("DETAIL_TEXT"), QStringLiteral("Стока / услуга"), 300, true},
                              {QStringLiteral("DETAIL_MEAS"), QStringLiteral("Мярка"), 60, true},
                              {QStringLiteral("DETAIL_QTY"), QStringLiteral("Количество"), 80, true},
                              {QStringLiteral("DETAIL_PRICE"), QStringLiteral("Ед. цена"), 90, true},
                              {QStringLiteral("LINE_VALUE"), QStringLiteral("Цена"), 100, true}});
    m_lines->setEditable(true);
    m_lines->setPostOnLeave(true);
    m_lines->setItemDelegateForColumn(0, new ReadOnlyDelegate(m_lines));
    m_lines->setItemDelegateForColumn(5, new ReadOnlyDelegate(m_lines));
    row->addWidget(m_lines, 1);

    auto *buttons = new QVBoxLayout;
    m_addLine = new QToolButton(this);
    m_addLine->setObjectName(QStringLiteral("btnAddLine"));
    m_addLine->setText(QStringLiteral("+"));
    m_deleteLine = new QToolButton(this);
    m_deleteLine->setObjectName(QStringLiteral("btnDeleteLine"));
    m_deleteLine->setText(QStringLiteral("−"));
    buttons->addWidget(m_addLine);
    buttons->addWidget(m_deleteLine);
    buttons->addStretch();
    row->addLayout(buttons);
    contentLayout()->addLayout(row, 1);

    connect(m_addLine, &QToolButton::clicked, this, [this] {
        runGuarded(this, [this] {
            m_qLines->append();
            m_lines->setFocus();
            m_lines->setCurrentIndex(m_lines->model()->index(m_qLines->recNo(), 1));
        });
    });
    connect(m_deleteLine, &QToolButton::clicked, this, [this] {
        if (m_qLines->isEmpty()
            || MessageDlg(QStringLiteral("Моля, потвърдете изтриването!"), TMsgDlgType::mtConfirmation, mbYes | mbNo)
                   != mrYes)
            return;
        runGuarded(this, [this] {
            if (m_qLines->state() == db::Dataset::State::Insert) {
                m_qLines->cancel();
            } else {
                if (m_qLines->isEditing())
                    m_qLines->cancel();
                m_qLines->remove();
                dm().RefreshDataSet(*m_qLines, QStringLiteral("DETAIL_ID"));
            }
            recomputeTotals();
        });
    });

    auto *footer = new QGridLayout;
    footer->setColumnStretch(0, 1);
    m_vatCaption = new QLabel(this);
    m_sum = new QLabel(QStringLiteral("-"), this);
    m_vat = new QLabel(QStringLiteral("-"), this);
    m_total = new QLabel(QStringLiteral("-"), this);
    m_sum->setObjectName(QStringLiteral("lblSum"));
    m_vat->setObjectName(QStringLiteral("lblVat"));
    m_total->setObjectName(QStringLiteral("lblTotal"));
    footer->addWidget(new QLabel(QStringLiteral("Сума:"), this), 0, 1, Qt::AlignRight);
    footer->addWidget(m_vatCaption, 1, 1, Qt::AlignRight);
    footer->addWidget(new QLabel(QStringLiteral("Общо:"), this), 2, 1, Qt::AlignRight);
    for (int line = 0; line < 3; ++line) {
        QLabel *figure = line == 0 ? m_sum : line == 1 ? m_vat : m_total;
        figure->setMinimumWidth(120);
        figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        footer->addWidget(figure, line, 2);
    }
    contentLayout()->addLayout(footer);
}

void TfrmInvoice::buildPages()
{
    auto *row = new QHBoxLayout;
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pgPages"));

    auto *people = new QWidget(m_pages);
    auto *grid = new QGridLayout(people);
    m_creator = textCombo(people, "cbCreator", "INVOICE_CREATOR");
    m_creator->setToolTip(QStringLiteral("Попълват се Три Имена"));
    const auto edit = [&](const char *objectName, const char *column) {
        auto *box = new DBEdit(people);
        box->setObjectName(latin(objectName));
        box->bind(m_invoice, latin(column));
        return box;
    };
    const auto date = [&](const char *objectName, const char *column) {
        auto *box = new DBDateEdit(people);
        box->setObjectName(latin(objectName));
        box->bind(m_invoice, latin(column));
        return box;
    };
    m_receiver = edit("edtReceiver", "RECIEVER");
    m_sellDate = date("edtSellDate", "SELL_DATE");
    m_laNumber = edit("edtLaNumber", "LA_NUMBER");
    m_laDate = date("edtLaDate", "LA_DATE");
    m_lkno = edit("edtLkno", "LKNO");
    m_lkno->setToolTip(QStringLiteral("№ на лична карта"));
    m_mvr = textCombo(people, "cbMvr", "MVR");
    m_published = date("edtPublished", "PUBLISHED");
    m_published->setToolTip(QStringLiteral("Дата на издаване на ЛК"));
    m_cash = new QRadioButton(QStringLiteral("В брой"), people);
    m_cash->setObjectName(QStringLiteral("rbCash"));
    m_bank = new QRadioButton(QStringLiteral("По банков път"), people);
    m_bank->setObjectName(QStringLiteral("rbBank"));
    m_cash->setChecked(true);
    auto *payment = new QButtonGroup(people);
    payment->addButton(m_cash);
    payment->addButton(m_bank);
    connect(m_cash, &QRadioButton::clicked, this, [this] { choosePayment(false); });
    connect(m_bank, &QRadioButton::clicked, this, [this] { choosePayment(true); });
    m_iban = tableCombo(people, {QStringLiteral("IBAN"), QStringLiteral("БАНКА"), QStringLiteral("BIC")}, 0);
    m_iban->setObjectName(QStringLiteral("cbIban"));
    m_iban->setProperty("dataField", QStringLiteral("ACCOUNT"));
    connect(m_iban, qOverload<int>(&QComboBox::activated), this, &TfrmInvoice::chooseAccount);
    m_bankName = edit("edtBank", "BANK");
    m_bic = edit("edtBic", "CODE");
    m_bankName->setReadOnly(true);
    m_bic->setReadOnly(true);

    grid->addWidget(new QLabel(QStringLiteral("Съставил"), people), 0, 0);
    grid->addWidget(m_creator, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Получил"), people), 1, 0);
    grid->addWidget(m_receiver, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Дата на дан. събитие"), people), 2, 0);
    grid->addWidget(m_sellDate, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Пълном. №"), people), 3, 0);
    grid->addWidget(m_laNumber, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("/"), people), 3, 2);
    grid->addWidget(m_laDate, 3, 3);
    grid->addWidget(new QLabel(QStringLiteral("ЛК №"), people), 4, 0);
    grid->addWidget(m_lkno, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("МВР"), people), 4, 2);
    grid->addWidget(m_mvr, 4, 3);
    grid->addWidget(new QLabel(QStringLiteral("Изд. на"), people), 5, 0);
    grid->addWidget(m_published, 5, 1);
    grid->addWidget(m_cash, 0, 4);
    grid->addWidget(m_bank, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("IBAN"), people), 1, 4);
    grid->addWidget(m_iban, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("Банка"), people), 2, 4);
    grid->addWidget(m_bankName, 2, 5);
    grid->addWidget(new QLabel(QStringLiteral("BIC"), people), 3, 4);
    grid->addWidget(m_bic, 3, 5);
    m_pages->addTab(people, QStringLiteral("Съставил/получил"));

    auto *ratePage = new QWidget(m_pages);
    auto *rateRow = new QHBoxLayout(ratePage);
    m_rateBox = new QLineEdit(ratePage);
    m_rateBox->setObjectName(QStringLiteral("edtRate"));
    m_rateBox->setProperty("dataField", QStringLiteral("RATE"));
    m_rateBox->setMaxLength(2);
    m_rateBox->setFixedWidth(40);
    m_rateBox->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ]{0,2}")), m_rateBox));
    connect(m_rateBox, &QLineEdit::textEdited, this, [this](const QString &typed) {
        // A changed rate is a change of the document, as a typed field is,
        // and the footer follows it at once.
        const QString rate = typed.trimmed();
        runGuarded(this, [&] { setRowValue(QStringLiteral("SECOND_VAT"), rate.isEmpty() ? QVariant() : QVariant(rate)); });
        if (!rate.isEmpty())
            takeRate();
    });
    rateRow->addWidget(new QLabel(QStringLiteral("Данъчна ставка"), ratePage));
    rateRow->addWidget(m_rateBox);
    rateRow->addWidget(new QLabel(QStringLiteral("%"), ratePage));
    rateRow->addStretch();
    m_pages->addTab(ratePage, QStringLiteral("Данъчна ставка"));

    auto *cases = new QWidget(m_pages);
    auto *casesLayout = new QVBoxLayout(cases);
    m_noncharge = new DBCheckBox(QStringLiteral("чл.28с(Е)(3) 77/388/ЕЕС  Основание за неначисляване на ДДС когато рег. "
                                                "лице е посредник в тристранна операция"),
                                 cases);
    m_noncharge->setObjectName(QStringLiteral("chkNonchargeVat"));
    m_noncharge->bind(m_invoice, QStringLiteral("NONCHARGE_VAT"));
    m_requested = new DBCheckBox(QStringLiteral("Данъкът е изскуем от получателя на основание"), cases);
    m_requested->setObjectName(QStringLiteral("chkRequestedVat"));
    m_requested->bind(m_invoice, QStringLiteral("REQUESTED_VAT"));
    m_rvDetails = new DBEdit(cases);
    m_rvDetails->setObjectName(QStringLiteral("edtRvDetails"));
    m_rvDetails->bind(m_invoice, QStringLiteral("RV_DETAILS"));
    m_newVehicle = new DBCheckBox(QStringLiteral("Обстоятелствата, които определят стоката като ново превозно средство "
                                                 "при вътрешнообщностна доставка"),
                                  cases);
    m_newVehicle->setObjectName(QStringLiteral("chkNewVehicle"));
    m_newVehicle->bind(m_invoice, QStringLiteral("NOVO_SREDSTVO"));
    m_nvDetails = new DBEdit(cases);
    m_nvDetails->setObjectName(QStringLiteral("edtNvDetails"));
    m_nvDetails->bind(m_invoice, QStringLiteral("NV_DETAILS"));
    for (QWidget *box : std::initializer_list<QWidget *>{m_noncharge, m_requested, m_rvDetails, m_newVehicle, m_nvDetails})
        casesLayout->addWidget(box);
    casesLayout->addStretch();
    const auto clearWhenCleared = [this](DBCheckBox *box, const QString &details) {
        connect(box, &QCheckBox::toggled, this, [this, details](bool ticked) {
            if (!ticked)
                runGuarded(this, [&] { setRowValue(details, QVariant()); });
            followSpecialCases();
        });
    };
    clearWhenCleared(m_requested, QStringLiteral("RV_DETAILS"));
    clearWhenCleared(m_newVehicle, QStringLiteral("NV_DETAILS"));
    m_pages->addTab(cases, QStringLiteral("ДДС/Обстоятелства"));
    row->addWidget(m_pages, 1);

    auto *distance = new QGroupBox(QStringLiteral(" Данни за дистанционна продажба "), this);
    auto *distanceFields = new QFormLayout(distance);
    m_distEik = new DBEdit(distance);
    m_distEik->setObjectName(QStringLiteral("edtDistEik"));
    m_distEik->bind(m_invoice, QStringLiteral("DIST_SELLING_EIK"));
    m_distVat = new DBEdit(distance);
    m_distVat->setObjectName(QStringLiteral("edtDistVat"));
    m_distVat->bind(m_invoice, QStringLiteral("DIST_SELLING_VAT"));
    m_distValue = new DBNumberEdit(distance);
    m_distValue->setObjectName(QStringLiteral("edtDistValue"));
    m_invoice.setDisplayFormat(QStringLiteral("DIST_SELLING_CASHSIZE"), QStringLiteral("0.00"));
    m_distValue->bind(m_invoice, QStringLiteral("DIST_SELLING_CASHSIZE"));
    auto *rateLine = new QHBoxLayout;
    rateLine->addWidget(m_distVat);
    rateLine->addWidget(new QLabel(QStringLiteral("%"), distance));
    distanceFields->addRow(QStringLiteral("ЕИК/VAT:"), m_distEik);
    distanceFields->addRow(QStringLiteral("Ставка/ДДС"), rateLine);
    distanceFields->addRow(QStringLiteral("Стойност:"), m_distValue);
    row->addWidget(distance);
    contentLayout()->addLayout(row);
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
    m_lineSequence = 1;
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
    openLists();
    m_prepared = true;
    if (m_newDocument)
        applyPrefill();
    showRowTexts();
    followNotification();
    followSpecialCases();
    tintStatus();
    m_pages->setCurrentIndex(int(EditorPage::People) - 1);
    recomputeTotals();
}

void TfrmInvoice::prepareNew(const InvoicingOptions &options)
{
    m_documentId = dm().NewCounterValue(data::CounterInvoices);
    const QString creator = dm().GetConfigByName(QStringLiteral("INVOICE_CREATOR"));
    if (!creator.isEmpty())
        setRowValue(QStringLiteral("INVOICE_CREATOR"), creator);
    setRowValue(QStringLiteral("NUMBER"), proposeInvoiceNumber(dm()));
    setRowValue(QStringLiteral("IS_WAITING"), 0);
    setRowValue(QStringLiteral("IDATE"), today());
    setRowValue(QStringLiteral("SELL_DATE"), today());
    setRowValue(QStringLiteral("DIST_SELLING_VAT"), QStringLiteral("0"));
    m_rateBox->setText(options.defaultVat.trimmed());
    m_rate = documentRate(QString(), options.defaultVat);
    m_rateText = m_rateBox->text();
    m_storedNumber = QVariant();
}

void TfrmInvoice::prepareExisting(const InvoicingOptions &options)
{
    m_documentId = m_invoice.value(QStringLiteral("ID")).toInt();
    m_storedNumber = m_invoice.value(QStringLiteral("NUMBER"));
    const QString ownRate = m_invoice.value(QStringLiteral("SECOND_VAT")).toString();
    m_rateBox->setText(documentRateText(ownRate, options.defaultVat));
    m_rate = documentRate(ownRate, options.defaultVat);
    m_rateText = m_rateBox->text();
    if (m_invoice.value(QStringLiteral("DIST_SELLING_VAT")).toString().isEmpty())
        m_distVat->setText(QStringLiteral("0"));
}

void TfrmInvoice::openLists()
{
    fillCities();
    fillCreators();
    m_qClients->open();
    fillClients();
    m_accounts = ownAccounts(dm());
    fillAccounts();
    m_qLines->setParam(QStringLiteral("INVOICE_ID"), m_documentId);
    m_qLines->open();
    m_lineTexts = recentList(kLineTexts);
    m_units = recentList(kUnits);
    m_lines->setItemDelegateForColumn(1, new PickListDelegate(&m_lineTexts, 80, m_lines));
    m_lines->setItemDelegateForColumn(2, new PickListDelegate(&m_units, 10, m_lines));
}

void TfrmInvoice::fillCities()
{
    QStringList names;
    db::Dataset &cities = dm().qCities();
    const int name = cities.fieldIndex(QStringLiteral("NAME"));
    for (int row = 0; row < cities.recordCount(); ++row)
        names << cities.value(row, name).toString();
    names.sort(Qt::CaseInsensitive);
    for (QComboBox *box : {m_place, m_city, m_mvr}) {
        const QString typed = box->currentText();
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(names);
        box->setEditText(typed);
    }
}

void TfrmInvoice::fillCreators()
{
    const QString typed = m_creator->currentText();
    const QSignalBlocker blocker(m_creator);
    m_creator->clear();
    for (const QVariantList &row : dm().QueryRows(latin(kCreators)))
        m_creator->addItem(row.value(0).toString());
    m_creator->setEditText(typed);
}

void TfrmInvoice::fillClients()
{
    std::vector<QStringList> rows;
    const int code = m_qClients->fieldIndex(QStringLiteral("KONTR_CODE"));
    const int name = m_qClients->fieldIndex(QStringLiteral("KONTR_NAME"));
    for (int row = 0; row < m_qClients->recordCount(); ++row) {
        const QVariant codeValue = m_qClients->value(row, code);
        rows.push_back({codeValue.isNull() ? QString() : QStringLiteral("%1").arg(codeValue.toLongLong(), 6, 10, QLatin1Char('0')),
                        m_qClients->value(row, name).toString()});
    }
    setTableRows(m_client, rows);
}

void TfrmInvoice::fillAccounts()
{
    std::vector<QStringList> rows;
    for (const OwnAccount &account : m_accounts)
        rows.push_back({account.iban, account.bank, account.bic});
    setTableRows(m_iban, rows);
}

void TfrmInvoice::showRowTexts()
{
    const auto text = [this](const char *column) { return m_invoice.value(latin(column)).toString(); };
    const QVariant number = m_invoice.value(QStringLiteral("NUMBER"));
    m_number->setText(number.isNull() ? QString() : invoiceNumberText(number.toLongLong()));
    const std::pair<QComboBox *, const char *> combos[] = {
        {m_place, "PLACE"}, {m_city, "CITY"}, {m_creator, "INVOICE_CREATOR"}, {m_mvr, "MVR"}, {m_client, "COMPANY"}};
    for (const auto &[box, column] : combos) {
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(-1);
        box->setEditText(text(column));
    }
    const bool bank = m_invoice.value(QStringLiteral("WITH_BANKS")).toInt() == 1;
    m_bank->setChecked(bank);
    m_cash->setChecked(!bank);
    m_iban->setEnabled(bank);
    {
        const QSignalBlocker blocker(m_iban);
        int found = -1;
        for (size_t i = 0; i < m_accounts.size(); ++i) {
            if (m_accounts[i].iban == text("ACCOUNT"))
                found = int(i);
        }
        m_iban->setCurrentIndex(found);
    }
    m_vatCaption->setText(vatCaption(m_rateText));
}

void TfrmInvoice::syncTextsToRow()
{
    const std::pair<QComboBox *, const char *> combos[] = {
        {m_place, "PLACE"}, {m_city, "CITY"}, {m_creator, "INVOICE_CREATOR"}, {m_mvr, "MVR"}, {m_client, "COMPANY"}};
    for (const auto &[box, column] : combos) {
        const QString shown = box->currentText();
        if (shown != m_invoice.value(latin(column)).toString())
            setRowValue(latin(column), shown.isEmpty() ? QVariant() : QVariant(shown));
    }
    if (!m_number->text().trimmed().isEmpty())
        setRowValue(QStringLiteral("NUMBER"), m_number->text().toLongLong());
}

void TfrmInvoice::setRowValue(const QString &column, const QVariant &value)
{
    if (!m_invoice.isEditing())
        m_invoice.edit();
    m_invoice.setValue(column, value);
}

void TfrmInvoice::followNotification()
{
    const bool on = m_notification->isChecked();
    for (QWidget *box : std::initializer_list<QWidget *>{m_notifType, m_refNumber, m_refDate})
        box->setEnabled(on);
}

void TfrmInvoice::followSpecialCases()
{
    m_rvDetails->setEnabled(m_requested->isChecked());
    m_nvDetails->setEnabled(m_newVehicle->isChecked());
}

void TfrmInvoice::tintStatus()
{
    const int status = m_status->currentIndex();
    m_status->setStyleSheet(status == 1   ? QStringLiteral("QComboBox { color: white; background-color: #3050d0; }")
                            : status == 2 ? QStringLiteral("QComboBox { color: white; background-color: #d03030; }")
                                          : QString());
}

void TfrmInvoice::updateLineButtons()
{
    const bool open = m_qLines->isOpen();
    m_addLine->setEnabled(open && !m_qLines->isEditing());
    m_deleteLine->setEnabled(open && !m_qLines->isEmpty());
    if (m_print)
        m_print->setEnabled(open && !m_qLines->isEmpty());
}

bool TfrmInvoice::postPendingLine()
{
    if (m_qLines->state() == db::Dataset::State::Insert && invoiceLineBlank(lineValues(m_qLines->recNo())))
        m_qLines->cancel();
    return m_lines->postPendingRow();
}

QVariantHash TfrmInvoice::lineValues(int row) const
{
    QVariantHash line;
    for (const char *column : {"DETAIL_TEXT", "DETAIL_MEAS", "DETAIL_QTY", "DETAIL_PRICE"})
        line.insert(latin(column), m_qLines->value(row, m_qLines->fieldIndex(latin(column))));
    return line;
}

void TfrmInvoice::applyPrefill()
{
    if (m_prefill.clientId > 0) {
        if (m_qClients->locate({QStringLiteral("KONTR_ID")}, {m_prefill.clientId}))
            chooseClient(m_qClients->recNo());
    }
    for (const InvoicePrefill::Line &line : m_prefill.lines) {
        m_qLines->append();
        m_qLines->setValue(QStringLiteral("DETAIL_TEXT"), line.text.left(80));
        m_qLines->setValue(QStringLiteral("DETAIL_MEAS"), line.unit.left(10));
        m_qLines->setValue(QStringLiteral("DETAIL_QTY"), line.quantity);
        m_qLines->setValue(QStringLiteral("DETAIL_PRICE"), line.price);
        m_qLines->post();
    }
    m_prefill = {};
}

std::vector<InvoiceLine> TfrmInvoice::currentLines() const
{
    std::vector<InvoiceLine> lines;
    if (!m_qLines->isOpen())
        return lines;
    const auto at = [this](int row, const char *column) { return m_qLines->value(row, m_qLines->fieldIndex(latin(column))); };
    for (int row = 0; row < m_qLines->recordCount(); ++row)
        lines.push_back({at(row, "DETAIL_ID").toInt(), at(row, "ROWNUM").toInt(), at(row, "DETAIL_TEXT").toString(),
                         at(row, "DETAIL_MEAS").toString(), at(row, "DETAIL_QTY").toDouble(),
                         at(row, "DETAIL_PRICE").toDouble()});
    return lines;
}

void TfrmInvoice::recomputeTotals()
{
    if (!m_qLines->isOpen())
        return;
    m_totals = invoiceTotals(currentLines(), m_rate);
    const DocumentCurrency currency = DocumentCurrency::on(m_invoice.value(QStringLiteral("IDATE")).toDate());
    m_sum->setText(footerFigure(m_totals.sum, m_totals.sum, currency));
    m_vat->setText(footerFigure(m_totals.vat, m_totals.sum, currency));
    m_total->setText(footerFigure(m_totals.grandTotal, m_totals.sum, currency));
    m_vatCaption->setText(vatCaption(m_rateText));
}

void TfrmInvoice::numberLeft()
{
    const QString padded = padInvoiceNumber(m_number->text());
    m_number->setText(padded);
    runGuarded(this, [&] { setRowValue(QStringLiteral("NUMBER"), padded.toLongLong()); });
}

void TfrmInvoice::placeLeft(QComboBox *box)
{
    const QString typed = box->currentText().trimmed();
    runGuarded(this, [&] {
        if (!OfferToAddCity(*box, m_askingCity))
            return;
        fillCities();
        box->setEditText(typed);
        setRowValue(box->property("dataField").toString(), typed);
    });
}

void TfrmInvoice::mvrLeft()
{
    const QString typed = m_mvr->currentText().trimmed();
    if (typed.isEmpty() || m_mvr->findText(typed, Qt::MatchFixedString) >= 0)
        return;
    runGuarded(this, [&] {
        dm().AddCity(1, typed);
        dm().RefreshDataSet(dm().qCities(), QStringLiteral("ID"));
        fillCities();
        m_mvr->setEditText(typed);
        setRowValue(QStringLiteral("MVR"), typed);
    });
}

void TfrmInvoice::creatorLeft()
{
    const QString typed = m_creator->currentText().trimmed();
    if (typed.isEmpty() || m_creator->findText(typed, Qt::MatchFixedString) >= 0)
        return;
    runGuarded(this, [&] {
        dm().AddRecentValue(kCreatorsList, typed, kCreatorsListSize);
        dm().SetConfigByName(QStringLiteral("INVOICE_CREATOR"), typed);
        fillCreators();
        m_creator->setEditText(typed);
        setRowValue(QStringLiteral("INVOICE_CREATOR"), typed);
    });
}

bool TfrmInvoice::rateLeft()
{
    if (m_rateBox->text().trimmed().isEmpty()) {
        // The focus is still on its way when this runs; a message box and a
        // new focus now would fight that move, so they follow it.
        QTimer::singleShot(0, this, [this] {
            if (!isVisible())
                return;
            MessageDlg(QStringLiteral("Невалидна данъчна ставка !"), TMsgDlgType::mtError, mbOK);
            m_pages->setCurrentIndex(int(EditorPage::Rate) - 1);
            m_rateBox->setFocus();
        });
        return false;
    }
    takeRate();
    return true;
}

void TfrmInvoice::takeRate()
{
    m_rateText = m_rateBox->text().trimmed();
    m_rate = m_rateText.toDouble() / 100.0;
    recomputeTotals();
}

void TfrmInvoice::refNumberLeft()
{
    const QString typed = m_refNumber->text().trimmed();
    if (typed.isEmpty())
        return;
    bool isNumber = false;
    const qint64 number = typed.toLongLong(&isNumber);
    if (!isNumber) {
        MessageDlg(QStringLiteral("Номерът на фактурата трябва да бъде цяло число !"), TMsgDlgType::mtError, mbOK);
        m_refNumber->setFocus();
        return;
    }
    if (number != 0)
        runGuarded(this, [&] { setRowValue(QStringLiteral("INVOICE_NUMBER"), invoiceNumberText(number)); });
}

void TfrmInvoice::chooseClient(int index)
{
    if (index < 0 || index >= m_qClients->recordCount())
        return;
    runGuarded(this, [&] {
        QVariantHash counterparty;
        for (int column = 0; column < m_qClients->fieldCount(); ++column)
            counterparty.insert(m_qClients->fieldName(column), m_qClients->value(index, column));
        const QVariantHash copied = clientCopy(counterparty);
        for (auto it = copied.cbegin(); it != copied.cend(); ++it)
            setRowValue(it.key(), it.value());
        setRowValue(QStringLiteral("CLIENT_ID"), counterparty.value(QStringLiteral("KONTR_ID")));
        const QSignalBlocker blocker(m_client);
        m_client->setCurrentIndex(index);
        m_client->setEditText(copied.value(QStringLiteral("COMPANY")).toString());
        m_city->setEditText(copied.value(QStringLiteral("CITY")).toString());
    });
}

void TfrmInvoice::choosePayment(bool bank)
{
    m_iban->setEnabled(bank);
    m_bank->setChecked(bank);
    m_cash->setChecked(!bank);
    if (bank)
        return;
    runGuarded(this, [this] {
        QVariantHash row;
        applyPayment(row, std::nullopt);
        for (const char *column : {"ACCOUNT", "BANK", "CODE"})
            setRowValue(latin(column), row.value(latin(column)));
        const QSignalBlocker blocker(m_iban);
        m_iban->setCurrentIndex(-1);
    });
}

void TfrmInvoice::chooseAccount(int index)
{
    if (index < 0 || index >= int(m_accounts.size()))
        return;
    runGuarded(this, [&] {
        QVariantHash row;
        applyPayment(row, m_accounts[size_t(index)]);
        for (const char *column : {"ACCOUNT", "BANK", "CODE"})
            setRowValue(latin(column), row.value(latin(column)));
        const QSignalBlocker blocker(m_iban);
        m_iban->setCurrentIndex(index);
    });
}

bool TfrmInvoice::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::FocusIn) {
        // Tabbing into an empty client box opens the list of clients.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (m_prepared && m_client->currentText().isEmpty()
            && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason))
            QTimer::singleShot(0, m_client, &QComboBox::showPopup);
    } else if (isLeaving(event) && m_prepared) {
        if (watched == m_number)
            numberLeft();
        else if (watched == m_place || watched == m_city)
            placeLeft(static_cast<QComboBox *>(watched));
        else if (watched == m_mvr)
            mvrLeft();
        else if (watched == m_creator)
            creatorLeft();
        else if (watched == m_rateBox)
            rateLeft();
        else if (watched == m_refNumber)
            refNumberLeft();
    }
    return TfrmBaseDBEditForm::eventFilter(watched, event);
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
    const int proposal = proposeInvoiceNumber(dm());
    MessageDlg(numberTakenMessage(number.toLongLong(), proposal), TMsgDlgType::mtError, mbOK);
    setRowValue(QStringLiteral("NUMBER"), proposal);
    m_number->setText(invoiceNumberText(proposal));
    m_number->setFocus();
    return false;
}

void TfrmInvoice::setRowValues()
{
    if (m_invoice.value(QStringLiteral("ID")).isNull())
        setRowValue(QStringLiteral("ID"), m_documentId);
    setRowValue(QStringLiteral("WITH_BANKS"), m_bank->isChecked() ? 1 : 0);
    QVariantHash notification{{QStringLiteral("NOTIFICATION"), m_notification->isChecked() ? 1 : 0},
                              {QStringLiteral("NOTIF_TYPE"), m_invoice.value(QStringLiteral("NOTIF_TYPE"))},
                              {QStringLiteral("INVOICE_NUMBER"), m_invoice.value(QStringLiteral("INVOICE_NUMBER"))},
                              {QStringLiteral("INVNOTIF_DATE"), m_invoice.value(QStringLiteral("INVNOTIF_DATE"))}};
    applyNotificationRule(notification);
    for (auto it = notification.cbegin(); it != notification.cend(); ++it)
        setRowValue(it.key(), it.value());
    setRowValue(QStringLiteral("NONCHARGE_VAT"), m_noncharge->isChecked() ? 1 : 0);
    setRowValue(QStringLiteral("REQUESTED_VAT"), m_requested->isChecked() ? 1 : 0);
    setRowValue(QStringLiteral("NOVO_SREDSTVO"), m_newVehicle->isChecked() ? 1 : 0);
    if (!m_rateBox->text().trimmed().isEmpty())
        setRowValue(QStringLiteral("SECOND_VAT"), m_rateBox->text().trimmed());
}

bool TfrmInvoice::ValidateRecord()
{
    if (!m_prepared) {
        MessageDlg(QStringLiteral("Моля, попълнете ДДС ставка в \"Настройки\"!"), TMsgDlgType::mtInformation, mbOK);
        return false;
    }
    if (!postPendingLine())
        return false;
    syncTextsToRow();
    InvoiceEntry entry;
    for (int column = 0; column < m_invoice.fieldCount(); ++column)
        entry.row.insert(m_invoice.fieldName(column), m_invoice.value(m_invoice.fieldName(column)));
    entry.numberText = m_number->text();
    entry.notification = m_notification->isChecked();
    entry.bankPayment = m_bank->isChecked();
    entry.rateText = m_rateBox->text();
    entry.requestedVat = m_requested->isChecked();
    entry.newVehicle = m_newVehicle->isChecked();
    if (const auto refusal = checkInvoice(entry))
        return refuse(*refusal);
    if (!numberAccepted())
        return false;
    setRowValues();
    return true;
}

bool TfrmInvoice::PostDetails()
{
    return postPendingLine();
}

void TfrmInvoice::PrintClick()
{
    runGuarded(this, [this] {
        commitOpenEditors();
        if (!postPendingLine())
            return;
        const std::vector<InvoiceLine> lines = currentLines();
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
