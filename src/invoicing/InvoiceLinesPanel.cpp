#include "invoicing/InvoiceLinesPanel.h"

#include "catalogues/BarcodeRules.h"
#include "core/Tdm.h"
#include "data/Counters.h"
#include "data/GoodsBarcodes.h"
#include "db/Dataset.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "util/Error.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

namespace invoicing {

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
const char kLineTexts[] = "select MRU_VAL from MRU_ITEMS where MRU_ID = 7";
const char kUnits[] = "select MRU_VAL from MRU_ITEMS where MRU_ID = 8";

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

// A grid column typed freely with the values of a pick list offered. What
// is typed may be taken otherwise first (a scanned code).
class PickListDelegate : public QStyledItemDelegate
{
public:
    using TakeTyped = std::function<bool(const QString &, QAbstractItemModel *, const QModelIndex &)>;

    PickListDelegate(QStringList *items, int maxLength, QObject *parent, TakeTyped takeTyped = {})
        : QStyledItemDelegate(parent)
        , m_items(items)
        , m_maxLength(maxLength)
        , m_takeTyped(std::move(takeTyped))
    {
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *box = new QComboBox(parent);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(*m_items);
        if (m_maxLength > 0)
            box->lineEdit()->setMaxLength(m_maxLength);
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        static_cast<QComboBox *>(editor)->setEditText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        const QString typed = static_cast<QComboBox *>(editor)->currentText();
        if (!m_takeTyped || !m_takeTyped(typed, model, index))
            model->setData(index, typed);
    }

private:
    QStringList *m_items;
    int m_maxLength;
    TakeTyped m_takeTyped;
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

} // namespace

InvoiceLinesPanel::InvoiceLinesPanel(QWidget *parent)
    : QWidget(parent)
    , m_rows(dm().createDataset(latin(kLines)))
{
    m_rows->setParent(this);
    m_rows->setInsertSql(latin(kLineInsert));
    m_rows->setUpdateSql(latin(kLineUpdate));
    m_rows->setDeleteSql(latin(kLineDelete));
    m_rows->setRefreshSql(latin(kLineRow));
    m_rows->setDisplayFormat(QStringLiteral("DETAIL_QTY"), QStringLiteral(",.##"));
    m_rows->setDisplayFormat(QStringLiteral("DETAIL_PRICE"), QStringLiteral("0,.00"));
    m_rows->setDisplayFormat(QStringLiteral("LINE_VALUE"), QStringLiteral("0,.00"));
    m_rows->addCalculatedField(QStringLiteral("ROW_NO"), [](const db::Dataset &, int row) { return QVariant(row + 1); });
    m_rows->addCalculatedField(QStringLiteral("LINE_VALUE"), [](const db::Dataset &rows, int row) {
        const QVariant quantity = rows.value(row, rows.fieldIndex(QStringLiteral("DETAIL_QTY")));
        const QVariant price = rows.value(row, rows.fieldIndex(QStringLiteral("DETAIL_PRICE")));
        return QVariant(quantity.toDouble() * price.toDouble());
    });
    // Every posting, of a new or a changed line, takes a new key and the
    // next row number, so a changed line is read last from then on.
    m_rows->beforePost = [this](db::Dataset &rows) {
        // The lines grid puts the user on the refused cell.
        if (const auto refusal = checkInvoiceLine(lineValues(rows.recNo())))
            throw db::FieldError(refusal->message, refusal->field);
        QVariantHash line{{QStringLiteral("DETAIL_MEAS"), rows.value(QStringLiteral("DETAIL_MEAS"))}};
        prepareLineForPost(line, m_documentId, dm().NewCounterValue(data::CounterInvoiceDetails), m_lineSequence++);
        for (auto it = line.cbegin(); it != line.cend(); ++it)
            rows.setValue(it.key(), it.value());
    };
    m_rows->afterPost = [this](db::Dataset &) { Q_EMIT linesChanged(); };

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    grid = new DataGrid(this);
    grid->setObjectName(QStringLiteral("GridLines"));
    grid->setToolTip(QStringLiteral("Попълнете детайлите във фактурата"));
    grid->bind(*m_rows, {{QStringLiteral("ROW_NO"), QStringLiteral("№"), 32, true},
                         {QStringLiteral("DETAIL_TEXT"), QStringLiteral("Стока / услуга"), 300, true},
                         {QStringLiteral("DETAIL_MEAS"), QStringLiteral("Мярка"), 60, true},
                         {QStringLiteral("DETAIL_QTY"), QStringLiteral("Количество"), 80, true},
                         {QStringLiteral("DETAIL_PRICE"), QStringLiteral("Ед. цена"), 90, true},
                         {QStringLiteral("LINE_VALUE"), QStringLiteral("Цена"), 100, true}});
    grid->setEditable(true);
    grid->setPostOnLeave(true);
    grid->setItemDelegateForColumn(0, new ReadOnlyDelegate(grid));
    grid->setItemDelegateForColumn(5, new ReadOnlyDelegate(grid));
    row->addWidget(grid, 1);

    auto *buttons = new QVBoxLayout;
    addLine = new QToolButton(this);
    addLine->setObjectName(QStringLiteral("btnAddLine"));
    addLine->setText(QStringLiteral("+"));
    deleteLine = new QToolButton(this);
    deleteLine->setObjectName(QStringLiteral("btnDeleteLine"));
    deleteLine->setText(QStringLiteral("−"));
    buttons->addWidget(addLine);
    buttons->addWidget(deleteLine);
    buttons->addStretch();
    row->addLayout(buttons);

    connect(addLine, &QToolButton::clicked, this, [this] {
        runGuarded(window(), [this] {
            m_rows->append();
            grid->setFocus();
            grid->setCurrentIndex(grid->model()->index(m_rows->recNo(), 1));
        });
    });
    connect(deleteLine, &QToolButton::clicked, this, &InvoiceLinesPanel::deleteCurrentLine);
    connect(m_rows.get(), &db::Dataset::reset, this, &InvoiceLinesPanel::updateButtons);
    connect(m_rows.get(), &db::Dataset::stateChanged, this, &InvoiceLinesPanel::updateButtons);
    connect(m_rows.get(), &db::Dataset::rowInserted, this, &InvoiceLinesPanel::updateButtons);
    connect(m_rows.get(), &db::Dataset::rowRemoved, this, &InvoiceLinesPanel::updateButtons);
    updateButtons();
}

InvoiceLinesPanel::~InvoiceLinesPanel() = default;

void InvoiceLinesPanel::open(int documentId)
{
    m_documentId = documentId;
    m_lineSequence = 1;
    m_rows->setParam(QStringLiteral("INVOICE_ID"), documentId);
    m_rows->open();
    m_lineTexts = recentList(kLineTexts);
    m_units = recentList(kUnits);
    grid->setItemDelegateForColumn(1, new PickListDelegate(&m_lineTexts, m_rows->fieldLength(QStringLiteral("DETAIL_TEXT")),
                                                           grid, [this](const QString &typed, QAbstractItemModel *model,
                                                                        const QModelIndex &index) {
                                                               return takeScanned(typed, *model, index);
                                                           }));
    grid->setItemDelegateForColumn(2, new PickListDelegate(&m_units, m_rows->fieldLength(QStringLiteral("DETAIL_MEAS")), grid));
    Q_EMIT linesChanged();
}

bool InvoiceLinesPanel::takeScanned(const QString &typed, QAbstractItemModel &model, const QModelIndex &index)
{
    bool taken = false;
    runGuarded(window(), [&] {
        const auto goods = data::scannedGoods(dm(), typed);
        if (!goods) {
            // A code of the kinds scanners give that no goods item carries
            // leaves the line as it was.
            taken = looksScanned(typed);
            if (taken)
                throw varnex::Error(QStringLiteral("Няма артикул с баркод \"%1\".").arg(typed.trimmed()));
            return;
        }
        taken = true;
        model.setData(index, goods->name.left(m_rows->fieldLength(QStringLiteral("DETAIL_TEXT"))));
        if (!goods->unit.isEmpty())
            model.setData(index.siblingAtColumn(2), goods->unit.left(m_rows->fieldLength(QStringLiteral("DETAIL_MEAS"))));
        if (index.siblingAtColumn(3).data(Qt::EditRole).toDouble() == 0)
            model.setData(index.siblingAtColumn(3), 1);
    });
    return taken;
}

void InvoiceLinesPanel::append(const std::vector<InvoicePrefill::Line> &lines)
{
    const int textLength = m_rows->fieldLength(QStringLiteral("DETAIL_TEXT"));
    const int unitLength = m_rows->fieldLength(QStringLiteral("DETAIL_MEAS"));
    for (const InvoicePrefill::Line &line : lines) {
        m_rows->append();
        m_rows->setValue(QStringLiteral("DETAIL_TEXT"), line.text.left(textLength));
        m_rows->setValue(QStringLiteral("DETAIL_MEAS"), line.unit.left(unitLength));
        m_rows->setValue(QStringLiteral("DETAIL_QTY"), line.quantity);
        m_rows->setValue(QStringLiteral("DETAIL_PRICE"), line.price);
        m_rows->post();
    }
}

bool InvoiceLinesPanel::postPending()
{
    if (m_rows->state() == db::Dataset::State::Insert && invoiceLineBlank(lineValues(m_rows->recNo())))
        m_rows->cancel();
    return grid->postPendingRow();
}

QVariantHash InvoiceLinesPanel::lineValues(int row) const
{
    QVariantHash line;
    for (const char *column : {"DETAIL_TEXT", "DETAIL_MEAS", "DETAIL_QTY", "DETAIL_PRICE"})
        line.insert(latin(column), m_rows->value(row, m_rows->fieldIndex(latin(column))));
    return line;
}

std::vector<InvoiceLine> InvoiceLinesPanel::lines() const
{
    std::vector<InvoiceLine> result;
    if (!m_rows->isOpen())
        return result;
    const auto at = [this](int row, const char *column) { return m_rows->value(row, m_rows->fieldIndex(latin(column))); };
    for (int row = 0; row < m_rows->recordCount(); ++row)
        result.push_back({at(row, "DETAIL_ID").toInt(), at(row, "ROWNUM").toInt(), at(row, "DETAIL_TEXT").toString(),
                          at(row, "DETAIL_MEAS").toString(), at(row, "DETAIL_QTY").toDouble(),
                          at(row, "DETAIL_PRICE").toDouble()});
    return result;
}

void InvoiceLinesPanel::deleteCurrentLine()
{
    if (m_rows->isEmpty()
        || MessageDlg(QStringLiteral("Моля, потвърдете изтриването!"), TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    runGuarded(window(), [this] {
        if (m_rows->state() == db::Dataset::State::Insert) {
            m_rows->cancel();
        } else {
            if (m_rows->isEditing())
                m_rows->cancel();
            m_rows->remove();
            dm().RefreshDataSet(*m_rows, QStringLiteral("DETAIL_ID"));
        }
        Q_EMIT linesChanged();
    });
}

void InvoiceLinesPanel::updateButtons()
{
    const bool open = m_rows->isOpen();
    addLine->setEnabled(open && !m_rows->isEditing());
    deleteLine->setEnabled(open && !m_rows->isEmpty());
    Q_EMIT stateChanged();
}

InvoiceTotalsFooter::InvoiceTotalsFooter(QWidget *parent)
    : QWidget(parent)
{
    auto *footer = new QGridLayout(this);
    footer->setContentsMargins(0, 0, 0, 0);
    footer->setColumnStretch(0, 1);
    vatCaption = new QLabel(this);
    sum = new QLabel(QStringLiteral("-"), this);
    vat = new QLabel(QStringLiteral("-"), this);
    total = new QLabel(QStringLiteral("-"), this);
    sum->setObjectName(QStringLiteral("lblSum"));
    vat->setObjectName(QStringLiteral("lblVat"));
    total->setObjectName(QStringLiteral("lblTotal"));
    footer->addWidget(new QLabel(QStringLiteral("Сума:"), this), 0, 1, Qt::AlignRight);
    footer->addWidget(vatCaption, 1, 1, Qt::AlignRight);
    footer->addWidget(new QLabel(QStringLiteral("Общо:"), this), 2, 1, Qt::AlignRight);
    int line = 0;
    for (QLabel *figure : {sum, vat, total}) {
        figure->setMinimumWidth(120);
        figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        footer->addWidget(figure, line++, 2);
    }
}

void InvoiceTotalsFooter::showTotals(const InvoiceTotals &totals, const QString &rateText, const DocumentCurrency &currency)
{
    sum->setText(footerFigure(totals.sum, totals.sum, currency));
    vat->setText(footerFigure(totals.vat, totals.sum, currency));
    total->setText(footerFigure(totals.grandTotal, totals.sum, currency));
    vatCaption->setText(invoicing::vatCaption(rateText));
}

} // namespace invoicing
