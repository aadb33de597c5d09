#include "documents/TfrmProdajbi.h"

#include "db/Dataset.h"
#include "documents/SaleDocument.h"
#include "documents/StockLineArea.h"
#include "documents/TfrmAmbalaj.h"
#include "ui/DBControls.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/TabOrder.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>

namespace {

const char *const kBuyers = "Select * from KONTR where (KONTR_ID > 1) and ((KONTR_IS_CLIENT = 0) or "
                            "(KONTR_IS_CLIENT=2)) Order by KONTR_CODE,KONTR_NAME";

} // namespace

TfrmProdajbi::TfrmProdajbi(QWidget *owner)
    : TfrmTradeDocument(documents::saleKind(), QStringLiteral(" Продажба "), QString::fromLatin1(kBuyers), owner)
{
    setObjectName(QStringLiteral("frmProdajbi"));
    setWindowTitle(QStringLiteral("Продажба"));
    addNumberField(QStringLiteral("Документ №"));
    m_date = addDateField(QStringLiteral("TRANZ_TIME"), QStringLiteral("Дата на въвеждане"));
    m_note = addNoteField(QStringLiteral("Забележка"), QStringLiteral("Напишете своите бележки отнасящи се към документа"));
    addCounterpartyFields(QStringLiteral("Купувач (код/наим.)"), QStringLiteral("Изберете купувач"),
                          QStringLiteral("Редактиране на Контрагенти"));
    addDateField(QStringLiteral("TRANZ_PADEJ"), QStringLiteral("Дата на плащане"),
                 QStringLiteral("Изберете дата на плащане"));
    addPaid(QStringLiteral("Изплатена сума"),
            QStringLiteral("Сумата платена при изготвянето на документа\nЗа да се изчисли автоматично оставете 0"));

    StockLineArea *lines = addLineArea(documents::SaleGoods, QStringLiteral(" Съдържание "));
    lines->addCategoryFields(QStringLiteral("Категория (код/наим.)"));
    lines->addGoodsFields(QStringLiteral("Артикул (код/наим.)"), QStringLiteral("Изберете артикул"),
                          QStringLiteral("Редактиране на Номенклатура"));
    lines->addPriceField(QStringLiteral("Цена/ед.мярка"),
                         QStringLiteral("Единична цена\nза да се попълни автоматично с последната цена оставете 0"),
                         true);
    lines->addSellPriceButton(QStringLiteral("Вземи цена от номенклатура"));
    addDiscountQuantityAndTaken(*lines);
    lines->addStockOnHand(QStringLiteral("В склада има"));
    lines->setNewLineShortcut();
    using C = LineColumn;
    lines->setColumns(
        {C::Operation, C::Category, C::Goods, C::Price, C::Quantity, C::Unit, C::Taken, C::Discount, C::Sum});

    m_packaging = new QPushButton(QStringLiteral("Амбалаж"), this);
    m_packaging->setObjectName(QStringLiteral("btnPackaging"));
    m_packaging->setToolTip(QStringLiteral("Амбалаж към тази продажба"));
    m_packaging->setAutoDefault(false);
    connect(m_packaging, &QPushButton::clicked, this, &TfrmProdajbi::PackagingClick);

    auto *menu = new QMenu(this);
    m_receipt = menu->addAction(QStringLiteral("Разписка"));
    m_invoice = menu->addAction(QStringLiteral("Фактура"));
    connect(m_receipt, &QAction::triggered, this, &TfrmProdajbi::PrintReceiptClick);
    connect(m_invoice, &QAction::triggered, this, &TfrmProdajbi::InvoiceClick);
    m_print = new QPushButton(QStringLiteral("Печат"), this);
    m_print->setObjectName(QStringLiteral("btnPrint"));
    m_print->setAutoDefault(false);
    m_print->setMenu(menu);
    buttonLayout()->insertWidget(0, m_packaging);
    buttonLayout()->insertWidget(1, m_print);
    resize(940, 720);
    chainTabOrderByLayout(this);
}

TfrmProdajbi::~TfrmProdajbi() = default;

std::unique_ptr<TfrmAmbalaj> TfrmProdajbi::OpenPackaging()
{
    auto window = std::make_unique<TfrmAmbalaj>(model(), this);
    window->StartEditing();
    return window;
}

void TfrmProdajbi::PackagingClick()
{
    std::unique_ptr<TfrmAmbalaj> window;
    if (!runGuarded(this, [&] { window = OpenPackaging(); }))
        return;
    window->exec();
}

std::optional<documents::SaleInvoice> TfrmProdajbi::startInvoiceFromSale()
{
    if (!storeWithoutClosing())
        return std::nullopt;
    std::optional<documents::SaleInvoice> invoice;
    runGuarded(this, [&] { invoice = documents::saleInvoice(model()); });
    return invoice;
}

void TfrmProdajbi::InvoiceClick()
{
    const std::optional<documents::SaleInvoice> invoice = startInvoiceFromSale();
    if (!invoice)
        return;
    done(mrOk);
    if (invoiceFromSale)
        runGuarded(parentWidget(), [&] { invoiceFromSale(*invoice); });
}
