#include "documents/StockLineArea.h"

#include "catalogues/BarcodeRules.h"
#include "catalogues/TfrmNomenklatura.h"
#include "core/TSettings.h"
#include "core/Tdm.h"
#include "data/GoodsBarcodes.h"
#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/DocumentRules.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"
#include "ui/EntryProposal.h"
#include "ui/ErrorGuard.h"
#include "util/Error.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace {

QString field(const char *name)
{
    return QString::fromLatin1(name);
}

double number(const QVariant &value)
{
    return value.isNull() ? 0 : value.toDouble();
}

// Typed text selected once the box has shown its new value.
void selectLater(QLineEdit *edit)
{
    QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
}

} // namespace

StockLineArea::StockLineArea(documents::LineArea &area, const QString &title, QWidget *parent)
    : QGroupBox(title, parent)
    , m_area(area)
{
    setObjectName(QStringLiteral("area") + area.kind().name);
    auto *layout = new QVBoxLayout(this);
    m_fields = new QFormLayout;
    layout->addLayout(m_fields);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    const auto button = [this, buttons](const QString &caption, const QString &hint) {
        auto *created = new QPushButton(caption, this);
        created->setToolTip(hint);
        created->setAutoDefault(false);
        buttons->addWidget(created);
        return created;
    };
    m_newLine = button(QStringLiteral("Нов ред"), QStringLiteral("Добавя реда започва нов"));
    m_deleteLine = button(QStringLiteral("Изтрий"), QStringLiteral("Изтрива текущия ред"));
    m_saveLine = button(QStringLiteral("Запис"), QString());
    m_cancelLine = button(QStringLiteral("Отказ"), QString());
    layout->addLayout(buttons);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("Grid") + area.kind().name);
    layout->addWidget(m_grid, 1);

    connect(m_newLine, &QPushButton::clicked, this, &StockLineArea::NewLineClick);
    connect(m_deleteLine, &QPushButton::clicked, this, &StockLineArea::DeleteLineClick);
    connect(m_saveLine, &QPushButton::clicked, this, &StockLineArea::SaveLineClick);
    connect(m_cancelLine, &QPushButton::clicked, this, &StockLineArea::CancelLineClick);

    db::Dataset &lines = area.lines();
    connect(&lines, &db::Dataset::stateChanged, this, &StockLineArea::followState);
    connect(&lines, &db::Dataset::reset, this, &StockLineArea::followState);
    connect(&lines, &db::Dataset::rowInserted, this, &StockLineArea::followState);
    connect(&lines, &db::Dataset::rowRemoved, this, &StockLineArea::followState);
    followState();
}

void StockLineArea::addRow(const QString &label, QWidget *field, QLabel *unit)
{
    if (!unit) {
        m_fields->addRow(label, field);
        return;
    }
    auto *row = new QHBoxLayout;
    row->addWidget(field);
    row->addWidget(unit);
    row->addStretch();
    m_fields->addRow(label, row);
}

QLabel *StockLineArea::unitLabel(const char *signField)
{
    auto *label = new QLabel(this);
    label->setMinimumWidth(40);
    m_units.emplace_back(label, field(signField));
    const auto show = [this] {
        const db::Dataset &lines = m_area.lines();
        for (const auto &[unit, sign] : m_units)
            unit->setText(lines.isOpen() && lines.recNo() >= 0 ? lines.value(sign).toString() : QString());
    };
    if (m_units.size() == 1) {
        db::Dataset &lines = m_area.lines();
        connect(&lines, &db::Dataset::currentChanged, this, show);
        connect(&lines, &db::Dataset::reset, this, show);
        connect(&lines, &db::Dataset::rowChanged, this, show);
    }
    show();
    return label;
}

void StockLineArea::addCategoryFields(const QString &label)
{
    db::Dataset &categories = m_area.document().data().qCategory();
    m_categoryCode = new DBLookupCombo(this);
    m_categoryCode->setObjectName(QStringLiteral("cbCategoryCode"));
    m_categoryCode->bind(m_area.lines(), field("TRANZ_RED_CAT_ID"), categories, field("ID"), field("CODE"));
    m_categoryCode->setMaximumWidth(90);
    m_categoryName = new DBLookupCombo(this);
    m_categoryName->setObjectName(QStringLiteral("cbCategoryName"));
    m_categoryName->bind(m_area.lines(), field("TRANZ_RED_CAT_ID"), categories, field("ID"), field("NAME"));
    m_categoryName->setMinimumWidth(260);
    auto *row = new QHBoxLayout;
    row->addWidget(m_categoryCode);
    row->addWidget(m_categoryName);
    row->addStretch();
    m_fields->addRow(label, row);
}

void StockLineArea::addGoodsFields(const QString &label, const QString &hint, const QString &catalogueHint)
{
    db::Dataset &goods = m_area.goods();
    m_goodsCode = new DBLookupCombo(this);
    m_goodsCode->setObjectName(QStringLiteral("cbGoodsCode"));
    m_goodsCode->bind(m_area.lines(), field("TRANZ_RED_NOM_ID"), goods, field("NOM_ID"), field("NOM_CODE"));
    m_goodsCode->setMaximumWidth(90);
    m_goodsName = new DBLookupCombo(this);
    m_goodsName->setObjectName(QStringLiteral("cbGoodsName"));
    m_goodsName->bind(m_area.lines(), field("TRANZ_RED_NOM_ID"), goods, field("NOM_ID"), field("NOM_NAME"));
    m_goodsName->setMinimumWidth(320);
    auto *row = new QHBoxLayout;
    row->addWidget(m_goodsCode);
    row->addWidget(m_goodsName);
    for (DBLookupCombo *combo : {m_goodsCode, m_goodsName}) {
        combo->setToolTip(hint);
        combo->installEventFilter(this);
    }
    if (!catalogueHint.isEmpty()) {
        m_catalogue = new QToolButton(this);
        m_catalogue->setObjectName(QStringLiteral("btnGoodsCatalogue"));
        m_catalogue->setText(QStringLiteral("..."));
        m_catalogue->setToolTip(catalogueHint);
        m_catalogue->setFocusPolicy(Qt::NoFocus);
        connect(m_catalogue, &QToolButton::clicked, this, &StockLineArea::ChooseGoods);
        row->addWidget(m_catalogue);
    }
    row->addStretch();
    m_fields->addRow(label, row);

    // The stock on hand follows the line's goods.
    db::Dataset &lines = m_area.lines();
    connect(&lines, &db::Dataset::rowChanged, this, [this](int row) {
        if (row == m_area.lines().recNo())
            showStock();
    });
}

void StockLineArea::addPriceField(const QString &label, const QString &hint, bool proposal)
{
    m_price = new DBNumberEdit(this);
    m_price->setObjectName(QStringLiteral("edtPrice"));
    m_price->bind(m_area.lines(), field("TRANZ_RED_CENA"));
    m_price->setToolTip(hint);
    m_price->setMaximumWidth(140);
    m_priceProposal = proposal;
    proposeOnEntry(m_price, m_area.lines(), [this] { proposePrice(); });
    m_priceRow = new QHBoxLayout;
    m_priceRow->addWidget(m_price);
    m_priceRow->addStretch();
    m_fields->addRow(label, m_priceRow);
}

void StockLineArea::addSellPriceButton(const QString &caption)
{
    m_sellPrice = new QPushButton(caption, this);
    m_sellPrice->setObjectName(QStringLiteral("btnSellPrice"));
    m_sellPrice->setAutoDefault(false);
    m_sellPrice->setFocusPolicy(Qt::NoFocus);
    m_priceRow->insertWidget(1, m_sellPrice);
    connect(m_sellPrice, &QPushButton::clicked, this, [this] {
        runGuarded(this, [this] {
            db::Dataset &lines = m_area.lines();
            const QVariant goods = lines.isOpen() ? lines.value(field("TRANZ_RED_NOM_ID")) : QVariant();
            const double price = goods.isNull() ? 0 : m_area.document().data().SellPrice(goods.toInt());
            lines.setValue(field("TRANZ_RED_CENA"), price);
        });
    });
}

void StockLineArea::addDiscountField(const QString &label, const QString &hint)
{
    m_discount = new QLineEdit(this);
    m_discount->setObjectName(QStringLiteral("edtDiscount"));
    m_discount->setProperty("dataField", field("TRANZ_RED_OTSTUPKA"));
    m_discount->setAlignment(Qt::AlignRight);
    m_discount->setToolTip(hint);
    m_discount->setMaximumWidth(80);
    m_discount->installEventFilter(this);
    proposeOnEntry(m_discount, m_area.lines(), [this] { enterDiscount(); });
    m_lastDiscount = new QToolButton(this);
    m_lastDiscount->setObjectName(QStringLiteral("btnLastDiscount"));
    m_lastDiscount->setText(QStringLiteral("<"));
    m_lastDiscount->setFocusPolicy(Qt::NoFocus);
    auto *row = new QHBoxLayout;
    row->addWidget(m_discount);
    row->addWidget(m_lastDiscount);
    row->addStretch();
    m_fields->addRow(label, row);

    db::Dataset &lines = m_area.lines();
    connect(m_discount, &QLineEdit::textEdited, this, [this] { typeDiscount(false); });
    connect(m_lastDiscount, &QToolButton::clicked, this, [this] {
        runGuarded(this, [this] {
            db::Dataset &rows = m_area.lines();
            const documents::DocumentModel::Guard guard(m_area.document());
            rows.setValue(field("TRANZ_RED_OTSTUPKA"), m_area.document().lastDiscount(rows.value(field("TRANZ_RED_NOM_ID"))));
        });
        showDiscount();
    });
    connect(&lines, &db::Dataset::currentChanged, this, &StockLineArea::showDiscount);
    connect(&lines, &db::Dataset::reset, this, &StockLineArea::showDiscount);
    // A cancelled edit brings the stored discount back into the box; what
    // the box writes itself is guarded and leaves the typed text alone.
    connect(&lines, &db::Dataset::rowChanged, this, [this](int row) {
        if (row == m_area.lines().recNo())
            showDiscount();
    });
    followState();
    showDiscount();
}

void StockLineArea::addQuantityField(const QString &label, const QString &hint)
{
    m_quantity = new DBNumberEdit(this);
    m_quantity->setObjectName(QStringLiteral("edtQuantity"));
    m_quantity->bind(m_area.lines(), field("TRANZ_RED_KOL1"));
    m_quantity->setToolTip(hint);
    m_quantity->setMaximumWidth(140);
    addRow(label, m_quantity, unitLabel("PMYARKA"));
}

void StockLineArea::addTakenField(const QString &label, const QString &hint)
{
    m_taken = new DBNumberEdit(this);
    m_taken->setObjectName(QStringLiteral("edtTaken"));
    m_taken->bind(m_area.lines(), field("TRANZ_RED_IZNESENO"));
    m_taken->setToolTip(hint);
    m_taken->setMaximumWidth(140);
    proposeOnEntry(m_taken, m_area.lines(), [this] { proposeTaken(); });
    addRow(label, m_taken, unitLabel("PMYARKA"));
}

void StockLineArea::addStockOnHand(const QString &label)
{
    m_stock = new QLineEdit(this);
    m_stock->setObjectName(QStringLiteral("edtStockOnHand"));
    m_stock->setReadOnly(true);
    m_stock->setEnabled(false);
    m_stock->setAlignment(Qt::AlignRight);
    m_stock->setMaximumWidth(140);
    addRow(label, m_stock, unitLabel("PMYARKA"));
    db::Dataset &lines = m_area.lines();
    connect(&lines, &db::Dataset::currentChanged, this, &StockLineArea::showStock);
    connect(&lines, &db::Dataset::reset, this, &StockLineArea::showStock);
    connect(&lines, &db::Dataset::stateChanged, this, &StockLineArea::showStock);
    connect(&m_area, &documents::LineArea::linesChanged, this, &StockLineArea::showStock);
    showStock();
}

void StockLineArea::addSecondQuantityField(const QString &label, const QString &hint)
{
    m_quantity2 = new DBNumberEdit(this);
    m_quantity2->setObjectName(QStringLiteral("edtQuantity2"));
    m_quantity2->bind(m_area.lines(), field("TRANZ_RED_KOL2"));
    m_quantity2->setToolTip(hint);
    m_quantity2->setMaximumWidth(140);
    m_secondUnitRow = new QHBoxLayout;
    m_secondUnitRow->addWidget(m_quantity2);
    m_secondUnitRow->addWidget(unitLabel("SMYARKA"));
    m_secondUnitRow->addStretch();
    m_fields->addRow(label, m_secondUnitRow);
    db::Dataset &lines = m_area.lines();
    connect(&lines, &db::Dataset::currentChanged, this, &StockLineArea::showSecondUnit);
    connect(&lines, &db::Dataset::reset, this, &StockLineArea::showSecondUnit);
    connect(&lines, &db::Dataset::rowChanged, this, [this](int row) {
        if (row == m_area.lines().recNo())
            showSecondUnit();
    });
    showSecondUnit();
}

void StockLineArea::showSecondUnit()
{
    // The goods' units are asked once for each goods the line shows, not
    // at every keystroke. Hiding the row leaves a quantity already stored
    // in that unit alone.
    const db::Dataset &lines = m_area.lines();
    const QVariant goods =
        lines.isOpen() && lines.recNo() >= 0 ? lines.value(field("TRANZ_RED_NOM_ID")) : QVariant();
    const QString shownFor = goods.isNull() ? QString() : goods.toString();
    if (m_secondUnitKnown && shownFor == m_secondUnitGoods)
        return;
    m_secondUnitKnown = true;
    m_secondUnitGoods = shownFor;
    bool offered = false;
    if (!runGuarded(this, [&] { offered = m_area.secondUnitOffered(); }))
        offered = false;
    m_secondUnitShown = offered;
    m_fields->setRowVisible(m_secondUnitRow, offered);
}

void StockLineArea::setColumns(const std::vector<GridColumn> &columns)
{
    m_grid->bind(m_area.lines(), columns);
}

void StockLineArea::setColumns(std::initializer_list<LineColumn> columns)
{
    std::vector<GridColumn> designed;
    for (const LineColumn id : columns)
        designed.push_back(column(id));
    setColumns(designed);
}

GridColumn StockLineArea::column(LineColumn column, const QString &title)
{
    const auto make = [&title](const char *name, const QString &designed, int width) {
        return GridColumn{field(name), title.isEmpty() ? designed : title, width, true};
    };
    switch (column) {
    case LineColumn::Operation:
        return make("TRANZ_TYPES_NAME", QStringLiteral("Операция"), 80);
    case LineColumn::Category:
        return make("CATEGORY_NAME", QStringLiteral("Категория"), 120);
    case LineColumn::Goods:
        return make("NOM_NAME", QStringLiteral("Артикул"), 260);
    case LineColumn::Price:
        return make("TRANZ_RED_CENA", QStringLiteral("Ед. цена"), 90);
    case LineColumn::Quantity:
        return make("TRANZ_RED_KOL1", QStringLiteral("Количество"), 90);
    case LineColumn::Unit:
        return make("PMYARKA", QStringLiteral("Мярка"), 60);
    case LineColumn::Taken:
        return make("TRANZ_RED_IZNESENO", QStringLiteral("Взето"), 80);
    case LineColumn::Discount: {
        GridColumn discount = make("DISCOUNT_TEXT", QStringLiteral("Отстъпка"), 80);
        discount.alignRight = true;
        return discount;
    }
    case LineColumn::Sum:
        return make("LINE_SUM", QStringLiteral("Сума"), 100);
    case LineColumn::Quantity2:
        return make("TRANZ_RED_KOL2", QStringLiteral("Доп. кол."), 80);
    case LineColumn::Unit2:
        return make("SMYARKA", QStringLiteral("Доп. мярка"), 70);
    }
    return GridColumn();
}

void StockLineArea::setNewLineShortcut()
{
    auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, &StockLineArea::NewLineClick);
}

void StockLineArea::followState()
{
    const db::Dataset &lines = m_area.lines();
    const bool editing = lines.isEditing();
    const bool wasEditing = m_wasEditing;
    m_wasEditing = editing;
    m_newLine->setVisible(!editing);
    m_deleteLine->setVisible(!editing);
    m_deleteLine->setEnabled(lines.isOpen() && !lines.isEmpty());
    m_saveLine->setVisible(editing);
    m_cancelLine->setVisible(editing);
    if (m_lastDiscount)
        m_lastDiscount->setEnabled(editing);
    // The window enables the grid as it hears of the change, and a disabled
    // grid does not take the focus.
    if (wasEditing != editing)
        Q_EMIT editingChanged();
    if (wasEditing && !editing && window()->isVisible()) {
        // The discount box acts on losing the focus: it must show the row
        // as it now is (a cancelled edit's stored value), not what was typed.
        showDiscount();
        m_grid->setFocus();
    }
}

void StockLineArea::showDiscount()
{
    if (!m_discount || m_area.document().guarded())
        return;
    const db::Dataset &lines = m_area.lines();
    const bool row = lines.isOpen() && lines.recNo() >= 0;
    m_discount->setText(row ? documents::percentText(number(lines.value(field("TRANZ_RED_OTSTUPKA")))) : QString());
}

void StockLineArea::typeDiscount(bool leaving)
{
    db::Dataset &lines = m_area.lines();
    const QString text = m_discount->text().trimmed();
    if (!lines.isOpen() || lines.recNo() < 0 || text.isEmpty())
        return;
    double typed = 0;
    if (!DBNumberEdit::parseNumber(text, &typed)) {
        if (leaving) {
            MessageDlg(QStringLiteral("\"%1\" не е валидно число.").arg(text), TMsgDlgType::mtError, mbOK);
            showDiscount();
        }
        return;
    }
    if (!documents::discountEntryDiffers(number(lines.value(field("TRANZ_RED_OTSTUPKA"))), typed))
        return;
    runGuarded(this, [&] {
        if (!lines.isEditing())
            lines.edit();
        const documents::DocumentModel::Guard guard(m_area.document());
        lines.setValue(field("TRANZ_RED_OTSTUPKA"), typed / 100);
    });
}

void StockLineArea::enterDiscount()
{
    db::Dataset &lines = m_area.lines();
    if (lines.isEditing() && number(lines.value(field("TRANZ_RED_OTSTUPKA"))) == 0) {
        runGuarded(this, [&] {
            m_discount->setText(documents::percentText(m_area.document().lastDiscount(lines.value(field("TRANZ_RED_NOM_ID")))));
        });
        typeDiscount(false);
    }
    selectLater(m_discount);
}

void StockLineArea::showStock()
{
    if (!m_stock)
        return;
    double stock = 0;
    if (!runGuarded(this, [&] { stock = m_area.stockOnHand(); }))
        stock = 0;
    m_stock->setText(QLocale().toString(stock, 'g', 15));
}

void StockLineArea::proposePrice()
{
    db::Dataset &lines = m_area.lines();
    if (m_priceProposal && lines.isEditing() && number(lines.value(field("TRANZ_RED_CENA"))) == 0) {
        runGuarded(this, [&] {
            lines.setValue(field("TRANZ_RED_CENA"), m_area.document().lastPrice(lines.value(field("TRANZ_RED_NOM_ID"))));
        });
    }
    selectLater(m_price);
}

void StockLineArea::proposeTaken()
{
    db::Dataset &lines = m_area.lines();
    if (lines.isEditing() && number(lines.value(field("TRANZ_RED_IZNESENO"))) == 0)
        runGuarded(this, [&] { lines.setValue(field("TRANZ_RED_IZNESENO"), number(lines.value(field("TRANZ_RED_KOL1")))); });
    selectLater(m_taken);
}

bool StockLineArea::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && watched == m_discount) {
        typeDiscount(true);
        showDiscount();
    } else if (event->type() == QEvent::KeyPress && (watched == m_goodsCode || watched == m_goodsName)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (m_catalogue && key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            ChooseGoods();
            return true;
        }
        if (takeScanKey(*key))
            return true;
    } else if (event->type() == QEvent::FocusOut && (watched == m_goodsCode || watched == m_goodsName)
               && !m_scanned.isEmpty()) {
        scanned();
    }
    return QGroupBox::eventFilter(watched, event);
}

int StockLineArea::catalogueChoice()
{
    auto *owner = qobject_cast<TfrmBaseForm *>(window());
    std::unique_ptr<TfrmNomenklatura> catalogue(owner ? owner->CreateChildForm<TfrmNomenklatura>()
                                                      : new TfrmNomenklatura(window()));
    catalogue->setChooseMode(true);
    catalogue->exec();
    return catalogue->ChosenKey();
}

void StockLineArea::ChooseGoods()
{
    runGuarded(this, [this] {
        const int chosen = chooseGoodsFromCatalogue ? chooseGoodsFromCatalogue() : catalogueChoice();
        // The catalogue may have added or changed goods meanwhile.
        m_area.document().rereadGoods();
        if (chosen >= 0)
            takeGoods(chosen);
    });
}

void StockLineArea::takeGoods(int goods)
{
    // The catalogue lists every goods item; the line takes only one its
    // own list offers (returnable packaging on a packaging line), as the
    // drop-downs do.
    if (m_area.goods().lookupValue(field("NOM_ID"), goods, field("NOM_ID")).isNull())
        throw varnex::Error(QStringLiteral("Избраният артикул не може да бъде избран в този документ."));
    db::Dataset &lines = m_area.lines();
    if (lines.isEmpty() && !lines.isEditing())
        m_area.newLine();
    else if (!lines.isEditing())
        lines.edit();
    lines.setValue(field("TRANZ_RED_NOM_ID"), goods);
    if (QWidget *next = m_price ? static_cast<QWidget *>(m_price) : m_quantity)
        next->setFocus();
}

bool StockLineArea::takeScanKey(const QKeyEvent &key)
{
    // A scanner types digits and Enter; the drop-downs would search their
    // items by the digits one at a time, so the digits are gathered here.
    if (key.modifiers() & ~Qt::KeypadModifier)
        return false;
    const QString text = key.text();
    if (text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9')) {
        m_scanned += text;
        return true;
    }
    if (m_scanned.isEmpty())
        return false;
    if (key.key() == Qt::Key_Backspace)
        m_scanned.chop(1);
    else if (key.key() == Qt::Key_Escape)
        m_scanned.clear();
    else if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        scanned();
    else
        return false;
    return true;
}

void StockLineArea::scanned()
{
    const QString code = std::exchange(m_scanned, QString());
    runGuarded(this, [this, &code] {
        Tdm &data = m_area.document().data();
        // A barcode first, then the goods code the code box shows.
        QVariant goods;
        if (const auto byBarcode = data::goodsByBarcode(data, code))
            goods = *byBarcode;
        else
            goods = m_area.goods().lookupValue(field("NOM_CODE"), code.toInt(), field("NOM_ID"));
        if (goods.isNull())
            throw varnex::Error(QStringLiteral("Няма артикул с баркод или код \"%1\".").arg(code));
        const bool adds = scanAddsToLine();
        if (adds && addOneOnScan(goods.toInt()))
            return;
        takeGoods(goods.toInt());
        // A scanned item is one piece, counted on when scanned again.
        db::Dataset &lines = m_area.lines();
        if (adds && lines.value(field("TRANZ_RED_KOL1")).toDouble() == 0)
            lines.setValue(field("TRANZ_RED_KOL1"), 1);
    });
}

bool StockLineArea::scanAddsToLine() const
{
    return m_area.document().kind().type == documents::Sale && m_area.kind().sign == documents::kOutOfStock
           && m_area.document().data().GetConfigByName(scanAddsToLineKey()).trimmed() != QLatin1String("0");
}

bool StockLineArea::addOneOnScan(int goods)
{
    db::Dataset &lines = m_area.lines();
    const int goodsField = lines.requireField(field("TRANZ_RED_NOM_ID"));
    const QVariant editedGoods = lines.value(field("TRANZ_RED_NOM_ID"));
    const bool blankNewLine = lines.state() == db::Dataset::State::Insert && editedGoods.isNull();
    // The line being edited counts with the goods it has now.
    std::vector<int> lineGoods;
    for (int row = 0; row < lines.recordCount(); ++row)
        lineGoods.push_back((row == lines.recNo() ? editedGoods : lines.value(row, goodsField)).toInt());
    const int row = lineToAddOneTo(lineGoods, goods, true);
    if (row < 0)
        return false;
    // The line being edited grows as it is; a stored one is edited, grown
    // and stored again, the line being edited stored first (a blank new
    // line is given up).
    const bool sameLine = lines.isEditing() && row == lines.recNo();
    if (!sameLine) {
        const QVariant lineId = lines.value(row, lines.requireField(field("TRANZ_RED_ID")));
        if (blankNewLine)
            m_area.cancelLine();
        else if (lines.isEditing())
            m_area.storeLine();
        if (!lines.locate({field("TRANZ_RED_ID")}, {lineId}))
            return false;
        lines.edit();
    }
    const double quantity = lines.value(field("TRANZ_RED_KOL1")).toDouble();
    if (lines.value(field("TRANZ_RED_IZNESENO")).toDouble() == quantity)
        lines.setValue(field("TRANZ_RED_IZNESENO"), quantity + 1);
    lines.setValue(field("TRANZ_RED_KOL1"), quantity + 1);
    if (!sameLine)
        m_area.storeLine();
    return true;
}

void StockLineArea::NewLineClick()
{
    if (!runGuarded(this, [this] { m_area.newLine(); }))
        return;
    for (QWidget *first : {static_cast<QWidget *>(m_categoryCode), static_cast<QWidget *>(m_goodsCode)}) {
        if (first && first->isVisibleTo(window()) && first->isEnabled()) {
            first->setFocus();
            return;
        }
    }
}

void StockLineArea::DeleteLineClick()
{
    db::Dataset &lines = m_area.lines();
    if (!lines.isOpen() || lines.isEmpty())
        return;
    const QString question = m_area.deleteQuestion();
    if (!question.isEmpty() && MessageDlg(question, TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    runGuarded(this, [this] { m_area.deleteLine(); });
}

void StockLineArea::SaveLineClick()
{
    runGuarded(this, [this] { m_area.storeLine(); });
}

void StockLineArea::CancelLineClick()
{
    if (MessageDlg(QStringLiteral("Желаете ли да се откажете от текущия запис?"), TMsgDlgType::mtConfirmation,
                   mbYes | mbNo)
        == mrYes)
        m_area.cancelLine();
}
