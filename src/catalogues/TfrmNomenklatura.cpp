#include "catalogues/TfrmNomenklatura.h"

#include "catalogues/BarcodeListEditor.h"
#include "catalogues/BarcodeRules.h"
#include "catalogues/GoodsRules.h"
#include "core/TSettings.h"
#include "core/Tdm.h"
#include "data/Counters.h"
#include "data/GoodsBarcodes.h"
#include "db/Dataset.h"
#include "reportdata/ShelfLabels.h"
#include "ui/DBControls.h"
#include "ui/EntryProposal.h"
#include "ui/DataGrid.h"
#include "ui/ErrorGuard.h"
#include "ui/QuickSearch.h"
#include "ui/TfrmPrintPreview.h"
#include "util/Error.h"

#include <algorithm>

#include <QAction>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

namespace {

const char *const kList = "select * from NOM where (1=1) and (NOM_ID <> -1) order by NOM_NAME";
const char *const kRow = "select * from NOM where NOM_ID = :NOM_ID";
const char *const kInsert =
    "insert into NOM (NOM_AMBALAJ, NOM_CATEGORY_ID, NOM_CODE, NOM_ID, NOM_INREPORT, NOM_MERKI_ID1, NOM_MERKI_ID2, "
    "NOM_NAME, SELL_PRICE) values (:NOM_AMBALAJ, :NOM_CATEGORY_ID, :NOM_CODE, :NOM_ID, :NOM_INREPORT, "
    ":NOM_MERKI_ID1, :NOM_MERKI_ID2, :NOM_NAME, :SELL_PRICE)";
const char *const kUpdate =
    "update NOM set NOM_AMBALAJ = :NOM_AMBALAJ, NOM_CATEGORY_ID = :NOM_CATEGORY_ID, NOM_CODE = :NOM_CODE, "
    "NOM_ID = :NOM_ID, NOM_INREPORT = :NOM_INREPORT, NOM_MERKI_ID1 = :NOM_MERKI_ID1, NOM_MERKI_ID2 = :NOM_MERKI_ID2, "
    "NOM_NAME = :NOM_NAME, SELL_PRICE = :SELL_PRICE where NOM_ID = :OLD_NOM_ID";
const char *const kDelete = "delete from NOM where NOM_ID = :OLD_NOM_ID";
const char *const kLargestCode = "select max(NOM_CODE) maxcode from NOM";

const QString kInReportHint = QStringLiteral("Задава дали наличнстта за тази стока\r\nда се показва в справката");

QString categoryTitle(const QString &field)
{
    return field == QLatin1String("CODE") ? QStringLiteral("Код") : QStringLiteral("Наименование");
}

// The category drop-downs list code and name under their titles, so that a
// category is found by either whichever of the two the user is choosing by.
void showBothCategoryColumns(QComboBox *combo, const QString &shownField, const QString &otherField)
{
    auto *view = new QTableView(combo);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->setShowGrid(false);
    combo->setView(view);
    const auto fillOther = [combo, view, shownField, otherField] {
        auto *items = qobject_cast<QStandardItemModel *>(combo->model());
        if (!items)
            return;
        items->setColumnCount(2);
        items->setHorizontalHeaderLabels({categoryTitle(shownField), categoryTitle(otherField)});
        db::Dataset &categories = dm().qCategory();
        const int other = categories.isOpen() ? categories.fieldIndex(otherField) : -1;
        for (int row = 0; row < items->rowCount() && other >= 0 && row < categories.recordCount(); ++row)
            items->setItem(row, 1, new QStandardItem(categories.displayText(row, other)));
        view->resizeColumnToContents(0);
        view->setMinimumWidth(320);
    };
    fillOther();
    QObject::connect(&dm().qCategory(), &db::Dataset::reset, combo, fillOther);
}

bool hasSecondUnit(const QVariant &unitId)
{
    return !unitId.isNull() && unitId.toInt() != -1;
}

} // namespace

TfrmNomenklatura::TfrmNomenklatura(QWidget *owner)
    : TfrmBaseVXGrid(owner)
    , m_qMain(dm().createDataset(QString::fromLatin1(kList)))
{
    setObjectName(QStringLiteral("frmNomenklatura"));
    ShowPrint = true;
    AllowFilter = true;
    KeyField = QStringLiteral("NOM_ID");
    SettingsPrefix = QStringLiteral("NOM");
    BaseCaption = QStringLiteral("Стоки");
    setWindowTitle(BaseCaption);
    BuildToolbar();

    m_qMain->setParent(this);
    m_qMain->setInsertSql(QString::fromLatin1(kInsert));
    m_qMain->setUpdateSql(QString::fromLatin1(kUpdate));
    m_qMain->setDeleteSql(QString::fromLatin1(kDelete));
    m_qMain->setRefreshSql(QString::fromLatin1(kRow));
    m_qMain->setUsageChecks(QStringLiteral("артикулът"), QStringLiteral("NOM_ID"),
                            {{QStringLiteral("TRANZ_RED"), {QStringLiteral("TRANZ_RED_NOM_ID")}, QStringLiteral("документите")}});
    m_qMain->addLookupField(QStringLiteral("CATEGORY_NAME"), QStringLiteral("NOM_CATEGORY_ID"), &dm().qCategory(),
                            QStringLiteral("ID"), QStringLiteral("NAME"));
    m_qMain->addLookupField(QStringLiteral("BASE_UNIT_NAME"), QStringLiteral("NOM_MERKI_ID1"), &dm().qMerki(),
                            QStringLiteral("MERKI_ID"), QStringLiteral("MERKI_NAME"));
    m_qMain->addLookupField(QStringLiteral("SECOND_UNIT_NAME"), QStringLiteral("NOM_MERKI_ID2"), &dm().qMerki(),
                            QStringLiteral("MERKI_ID"), QStringLiteral("MERKI_NAME"));
    m_qMain->setDisplayFormat(QStringLiteral("NOM_CODE"), QStringLiteral("000000"));
    m_qMain->setDisplayFormat(QStringLiteral("SELL_PRICE"), QStringLiteral("0.00"));
    m_qMain->setDisplayRule(QStringLiteral("NOM_AMBALAJ"), db::DisplayRule::YesNo);
    m_qMain->setDisplayRule(QStringLiteral("NOM_INREPORT"), db::DisplayRule::YesNo);
    m_qMain->onNewRecord = [](db::Dataset &goods) {
        goods.setValue(QStringLiteral("NOM_INREPORT"), 1);
        goods.setValue(QStringLiteral("NOM_AMBALAJ"), 0);
    };
    m_qMain->beforePost = [this](db::Dataset &goods) { fillBeforePost(goods); };
    m_qMain->afterPost = [this](db::Dataset &goods) {
        reloadSharedGoods();
        storeBarcodes(goods);
    };

    setDataset(*m_qMain, {{QStringLiteral("CATEGORY_NAME"), QStringLiteral("Категория"), 130, true},
                          {QStringLiteral("NOM_CODE"), QStringLiteral("Код"), 70, true},
                          {QStringLiteral("NOM_NAME"), QStringLiteral("Название"), 260, true},
                          {QStringLiteral("SELL_PRICE"), QStringLiteral("Прод. Цена"), 90, true},
                          {QStringLiteral("BASE_UNIT_NAME"), QStringLiteral("Осн. мярка"), 100, true},
                          {QStringLiteral("SECOND_UNIT_NAME"), QStringLiteral("Втор. мярка"), 100, true},
                          {QStringLiteral("NOM_AMBALAJ"), QStringLiteral("Амбалаж"), 70, true},
                          {QStringLiteral("NOM_INREPORT"), QStringLiteral("В спр. \"НАЛИЧНОСТ\""), 120, true}});

    buildFilterBar();
    // Several rows are chosen for shelf labels.
    Grid()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_quickSearch = new QuickSearch(*this, *m_qMain, {QStringLiteral("NOM_NAME")});
    m_quickSearch->edit()->installEventFilter(this);
    buildEditPanel();

    // F2, F3 and F4 act on the list only while no row is being edited; a
    // shortcut without modifiers does not fire while one is held.
    actnEdit->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    addListKey(Qt::Key_F2, actnNew);
    addListKey(Qt::Key_F3, actnEdit);
    addListKey(Qt::Key_F4, actnDelete);

    connect(m_qMain.get(), &db::Dataset::stateChanged, this, &TfrmNomenklatura::followSecondUnit);
    connect(m_qMain.get(), &db::Dataset::currentChanged, this, &TfrmNomenklatura::followSecondUnit);
    connect(m_qMain.get(), &db::Dataset::reset, this, &TfrmNomenklatura::followSecondUnit);
    connect(m_qMain.get(), &db::Dataset::stateChanged, this, &TfrmNomenklatura::followBarcodes);
    connect(m_qMain.get(), &db::Dataset::currentChanged, this, &TfrmNomenklatura::followBarcodes);
    connect(m_qMain.get(), &db::Dataset::reset, this, &TfrmNomenklatura::followBarcodes);

    m_qMain->open();
}

TfrmNomenklatura::~TfrmNomenklatura() = default;

void TfrmNomenklatura::buildFilterBar()
{
    m_filterLayout->setContentsMargins(4, 0, 4, 0);
    m_filterLayout->addWidget(new QLabel(QStringLiteral("Филтър:"), m_filterPanel));
    m_filterLayout->addWidget(new QLabel(QStringLiteral("Категория"), m_filterPanel));
    m_filterCategory = new QComboBox(m_filterPanel);
    m_filterCategory->setObjectName(QStringLiteral("cbFilterCategory"));
    m_filterCategory->setMinimumWidth(200);
    m_filterLayout->addWidget(m_filterCategory);
    auto *refresh = new QToolButton(m_filterPanel);
    refresh->setDefaultAction(actnRefresh);
    refresh->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_filterLayout->addWidget(refresh);
    m_filterLayout->addStretch();
    m_labels = new QPushButton(QStringLiteral("Етикети"), m_filterPanel);
    m_labels->setObjectName(QStringLiteral("btnLabels"));
    m_labels->setToolTip(QStringLiteral("Етикети за рафт на избраните стоки (Ctrl+щракване избира няколко)"));
    m_labels->setAutoDefault(false);
    m_labels->setFocusPolicy(Qt::NoFocus);
    connect(m_labels, &QPushButton::clicked, this, &TfrmNomenklatura::PrintLabels);
    m_filterLayout->addWidget(m_labels);
    m_filterPanel->show();
    fillFilterCategories();
    connect(&dm().qCategory(), &db::Dataset::reset, this, &TfrmNomenklatura::fillFilterCategories);
}

void TfrmNomenklatura::fillFilterCategories()
{
    const QVariant chosen = m_filterCategory->currentData();
    const QSignalBlocker blocker(m_filterCategory);
    m_filterCategory->clear();
    // The empty first entry is how the user asks for all goods again.
    m_filterCategory->addItem(QString(), QVariant());
    db::Dataset &categories = dm().qCategory();
    if (!categories.isOpen())
        return;
    const int id = categories.requireField(QStringLiteral("ID"));
    const int name = categories.requireField(QStringLiteral("NAME"));
    for (int row = 0; row < categories.recordCount(); ++row)
        m_filterCategory->addItem(categories.displayText(row, name), categories.value(row, id));
    if (!chosen.isNull())
        m_filterCategory->setCurrentIndex(qMax(0, m_filterCategory->findData(chosen)));
}

void TfrmNomenklatura::buildEditPanel()
{
    editGroup()->setTitle(QStringLiteral(" Данни за артикула "));

    m_categoryCode = new DBLookupCombo(editGroup());
    m_categoryCode->setObjectName(QStringLiteral("cbCategoryCode"));
    m_categoryCode->bind(*m_qMain, QStringLiteral("NOM_CATEGORY_ID"), dm().qCategory(), QStringLiteral("ID"),
                         QStringLiteral("CODE"));
    m_categoryName = new DBLookupCombo(editGroup());
    m_categoryName->setObjectName(QStringLiteral("cbCategoryName"));
    m_categoryName->bind(*m_qMain, QStringLiteral("NOM_CATEGORY_ID"), dm().qCategory(), QStringLiteral("ID"),
                         QStringLiteral("NAME"));
    showBothCategoryColumns(m_categoryCode, QStringLiteral("CODE"), QStringLiteral("NAME"));
    showBothCategoryColumns(m_categoryName, QStringLiteral("NAME"), QStringLiteral("CODE"));
    m_categoryCode->setMaximumWidth(90);
    m_categoryName->setMinimumWidth(260);
    auto *category = new QHBoxLayout;
    category->addWidget(m_categoryCode);
    category->addWidget(m_categoryName);
    category->addStretch();
    editFields()->addRow(QStringLiteral("Категория"), category);

    m_code = new DBNumberEdit(editGroup());
    m_code->setObjectName(QStringLiteral("edtCode"));
    m_code->bind(*m_qMain, QStringLiteral("NOM_CODE"));
    proposeOnEntry(m_code, *m_qMain, [this] { runGuarded(this, [this] { proposeCode(); }); });
    // Whole codes only, and never more digits than the integer column holds.
    m_code->setMaxLength(9);
    m_code->setValidator(new QIntValidator(0, 999999999, m_code));
    m_name = new DBEdit(editGroup());
    m_name->setObjectName(QStringLiteral("edtName"));
    m_name->bind(*m_qMain, QStringLiteral("NOM_NAME"));
    m_price = new DBNumberEdit(editGroup());
    m_price->setObjectName(QStringLiteral("edtPrice"));
    m_price->bind(*m_qMain, QStringLiteral("SELL_PRICE"));
    m_code->setMaximumWidth(120);
    m_name->setMaximumWidth(420);
    m_price->setMaximumWidth(120);
    editFields()->addRow(QStringLiteral("Код"), m_code);
    editFields()->addRow(QStringLiteral("Название"), m_name);
    editFields()->addRow(QStringLiteral("Прод. Цена"), m_price);
    m_barcodes = new BarcodeListEditor(editGroup());
    editFields()->addRow(QStringLiteral("Баркодове"), m_barcodes);

    m_inReport = new DBCheckBox(QStringLiteral("Следене наличност"), editGroup());
    m_inReport->bind(*m_qMain, QStringLiteral("NOM_INREPORT"));
    m_inReport->setToolTip(kInReportHint);
    m_packaging = new DBCheckBox(QStringLiteral("Амбалаж"), editGroup());
    m_packaging->bind(*m_qMain, QStringLiteral("NOM_AMBALAJ"));
    m_packaging->setToolTip(kInReportHint);
    auto *flags = new QHBoxLayout;
    flags->addWidget(m_inReport);
    flags->addWidget(m_packaging);
    flags->addStretch();
    editFields()->addRow(QString(), flags);

    auto *units = new QGroupBox(QStringLiteral(" Мерки по артикула "), editGroup());
    auto *unitFields = new QFormLayout(units);
    m_baseUnit = new DBLookupCombo(units);
    m_baseUnit->setObjectName(QStringLiteral("cbBaseUnit"));
    m_baseUnit->setToolTip(QStringLiteral("Основна мерна единица (по която се отчита)"));
    m_baseUnit->bind(*m_qMain, QStringLiteral("NOM_MERKI_ID1"), dm().qMerki(), QStringLiteral("MERKI_ID"),
                     QStringLiteral("MERKI_NAME"));
    m_noSecond = new QRadioButton(QStringLiteral("Няма вторична"), units);
    m_noSecond->setToolTip(QStringLiteral("артикулът се описва по една мярка"));
    m_hasSecond = new QRadioButton(QStringLiteral("Има вторична"), units);
    m_hasSecond->setToolTip(QStringLiteral("За артикулът се води и вторична(информативна мярка)"));
    m_secondUnit = new DBLookupCombo(units);
    m_secondUnit->setObjectName(QStringLiteral("cbSecondUnit"));
    m_secondUnit->setToolTip(QStringLiteral("Допълнителна мерна единица (информативна)"));
    m_secondUnit->bind(*m_qMain, QStringLiteral("NOM_MERKI_ID2"), dm().qMerki(), QStringLiteral("MERKI_ID"),
                       QStringLiteral("MERKI_NAME"));
    m_baseUnit->setMaximumWidth(260);
    m_secondUnit->setMaximumWidth(260);
    auto *choice = new QHBoxLayout;
    choice->addWidget(m_noSecond);
    choice->addWidget(m_hasSecond);
    choice->addStretch();
    unitFields->addRow(QStringLiteral("Основна"), m_baseUnit);
    unitFields->addRow(QString(), choice);
    unitFields->addRow(QStringLiteral("Вторична"), m_secondUnit);
    editFields()->addRow(units);

    connect(m_noSecond, &QRadioButton::clicked, this, [this] {
        m_secondUnit->setEnabled(false);
        if (m_qMain->isEditing())
            m_qMain->setValue(QStringLiteral("NOM_MERKI_ID2"), QVariant());
    });
    connect(m_hasSecond, &QRadioButton::clicked, this, [this] { m_secondUnit->setEnabled(true); });
}

void TfrmNomenklatura::followSecondUnit()
{
    const bool has = m_qMain->isOpen() && m_qMain->recNo() >= 0 && hasSecondUnit(m_qMain->value(QStringLiteral("NOM_MERKI_ID2")));
    (has ? m_hasSecond : m_noSecond)->setChecked(true);
    m_secondUnit->setEnabled(has);
}

QWidget *TfrmNomenklatura::firstEditor() const
{
    return m_categoryName;
}

bool TfrmNomenklatura::enterMovesFocus(QWidget *focused) const
{
    // Enter in the quick search searches; in the barcode box it adds the code.
    return focused != m_quickSearch->edit() && focused != m_barcodes->edtCode()
           && TfrmBaseVXGrid::enterMovesFocus(focused);
}

bool TfrmNomenklatura::eventFilter(QObject *watched, QEvent *event)
{
    // The framework filters events of the window's parts before the search exists.
    if (m_quickSearch && watched == m_quickSearch->edit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && findScanned())
            return true;
    }
    return TfrmBaseVXGrid::eventFilter(watched, event);
}

bool TfrmNomenklatura::findScanned()
{
    const QString text = m_quickSearch->edit()->text().trimmed();
    if (text.isEmpty() || m_qMain->isEditing())
        return false;
    bool handled = false;
    runGuarded(this, [&] {
        const auto goods = data::goodsByBarcode(dm(), text);
        if (!goods && !looksScanned(text))
            return; // words, searched among the names
        handled = true;
        m_quickSearch->timer()->stop();
        if (!goods)
            ShowNotification(1, QStringLiteral("Няма артикул с баркод \"%1\".").arg(text));
        else if (!m_qMain->locate({QStringLiteral("NOM_ID")}, {*goods}))
            ShowNotification(1, QStringLiteral("Артикулът с баркод \"%1\" не е в показания списък.").arg(text));
    });
    return handled;
}

std::vector<int> TfrmNomenklatura::chosenGoods() const
{
    std::vector<int> ids;
    if (!m_qMain->isOpen() || m_qMain->recNo() < 0)
        return ids;
    const int key = m_qMain->requireField(QStringLiteral("NOM_ID"));
    QModelIndexList rows = Grid()->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    for (const QModelIndex &row : rows)
        ids.push_back(m_qMain->value(row.row(), key).toInt());
    if (ids.empty())
        ids.push_back(m_qMain->value(QStringLiteral("NOM_ID")).toInt());
    return ids;
}

void TfrmNomenklatura::PrintLabels()
{
    runGuarded(this, [this] {
        const std::vector<int> ids = chosenGoods();
        if (ids.empty())
            throw varnex::Error(QStringLiteral("Няма избрани стоки за етикети."));
        const auto labels = reportdata::shelfLabels(dm(), ids);
        const auto currency = reportdata::labelCurrency(dm(), QDate::currentDate());
        TfrmPrintPreview preview(
            QStringLiteral("Етикети"),
            [labels, currency](QPagedPaintDevice &device) { reportdata::renderShelfLabels(labels, currency, device); },
            false, this);
        preview.printer().setPageSize(QPageSize(QPageSize::A4));
        preview.printer().setPageMargins(QMarginsF(0, 0, 0, 0));
        preview.exec();
    });
}

void TfrmNomenklatura::proposeCode()
{
    if (!m_qMain->isEditing() || !m_qMain->value(QStringLiteral("NOM_CODE")).isNull())
        return;
    m_qMain->setValue(QStringLiteral("NOM_CODE"),
                      proposedGoodsCode(dm().QueryValue(QString::fromLatin1(kLargestCode), QStringLiteral("MAXCODE"))));
}

void TfrmNomenklatura::NewExecute()
{
    m_currentGoodsId = dm().NewCounterValue(data::CounterNom);
    TfrmBaseVXGrid::NewExecute();
    m_barcodes->load(m_currentGoodsId);
}

void TfrmNomenklatura::EditExecute()
{
    m_currentGoodsId = m_qMain->value(QStringLiteral("NOM_ID")).toInt();
    m_qMain->edit();
    m_categoryName->setFocus();
}

void TfrmNomenklatura::DeleteExecute()
{
    m_quickSearch->offWhile([this] { TfrmBaseVXGrid::DeleteExecute(); });
    reloadSharedGoods();
}

void TfrmNomenklatura::fillBeforePost(db::Dataset &goods)
{
    checkGoodsFilled(goods.value(QStringLiteral("NOM_NAME")), goods.value(QStringLiteral("NOM_MERKI_ID1")));
    if (goods.value(QStringLiteral("NOM_ID")).isNull())
        goods.setValue(QStringLiteral("NOM_ID"), m_currentGoodsId);
    if (goods.value(QStringLiteral("NOM_MERKI_ID2")).isNull())
        goods.setValue(QStringLiteral("NOM_MERKI_ID2"), -1);
    goods.setValue(QStringLiteral("NOM_INREPORT"), m_inReport->isChecked() ? 1 : 0);
    if (goods.value(QStringLiteral("NOM_AMBALAJ")).isNull())
        goods.setValue(QStringLiteral("NOM_AMBALAJ"), 0);
    // Checked before the goods item is stored, so a refused code refuses
    // the whole change.
    m_barcodesToStore = m_barcodes->codesToStore();
    const int goodsId = goods.value(QStringLiteral("NOM_ID")).toInt();
    for (const QString &code : *m_barcodesToStore) {
        if (const auto holder = data::otherHolderOf(dm(), code, goodsId))
            throw varnex::Error(data::duplicateBarcodeMessage(code, *holder));
    }
}

void TfrmNomenklatura::storeBarcodes(db::Dataset &goods)
{
    if (!m_barcodesToStore)
        return;
    const QStringList codes = *m_barcodesToStore;
    m_barcodesToStore.reset();
    const int goodsId = goods.value(QStringLiteral("NOM_ID")).toInt();
    data::storeBarcodes(dm(), goodsId, codes);
    m_barcodes->load(goodsId);
}

void TfrmNomenklatura::followBarcodes()
{
    const bool editing = m_qMain->isEditing();
    m_barcodes->setEditing(editing);
    if (editing)
        return;
    const bool onRow = m_qMain->isOpen() && m_qMain->recNo() >= 0;
    runGuarded(this, [this, onRow] { m_barcodes->load(onRow ? m_qMain->value(QStringLiteral("NOM_ID")).toInt() : 0); });
}

void TfrmNomenklatura::reloadSharedGoods()
{
    dm().RefreshDataSet(dm().qNom(), QStringLiteral("NOM_ID"));
}

void TfrmNomenklatura::FilterExecute()
{
    // The filter is always on show; the toolbar's "Филтър" takes the user there.
    m_filterCategory->setFocus();
    m_filterCategory->showPopup();
}

void TfrmNomenklatura::BeforeRefresh()
{
    const GoodsFilter filter = categoryFilter(m_filterCategory->currentData(), m_filterCategory->currentText());
    if (filter.condition.isEmpty())
        RemoveFilter();
    else
        SetFilter(filter.condition, filter.description);
}

void TfrmNomenklatura::RemoveFilter()
{
    TfrmBaseVXGrid::RemoveFilter();
    m_filterCategory->setCurrentIndex(0);
}

void TfrmNomenklatura::LoadLayout()
{
    TfrmBaseVXGrid::LoadLayout();
    m_quickSearch->restoreShown();
}
