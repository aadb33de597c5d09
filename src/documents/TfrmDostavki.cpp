#include "documents/TfrmDostavki.h"

#include "db/Dataset.h"
#include "documents/DeliveryDocument.h"
#include "documents/StockLineArea.h"
#include "ui/DBControls.h"
#include "ui/TabOrder.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace {

const char *const kSuppliers = "Select * from KONTR where (KONTR_ID > 1) and ((KONTR_IS_CLIENT = 1) or "
                               "(KONTR_IS_CLIENT=2)) Order by KONTR_CODE,KONTR_NAME";

} // namespace

TfrmDostavki::TfrmDostavki(QWidget *owner)
    : TfrmTradeDocument(documents::deliveryKind(), QStringLiteral(" Доставка "), QString::fromLatin1(kSuppliers),
                        owner)
{
    setObjectName(QStringLiteral("frmDostavki"));
    setWindowTitle(QStringLiteral("Доставка"));
    addNumberField(QStringLiteral("Документ №"));
    m_date = addDateField(QStringLiteral("TRANZ_TIME"), QStringLiteral("Дата на въвеждане"));
    m_date->setFocusPolicy(Qt::ClickFocus);
    m_note = addNoteField(QStringLiteral("Забележка"), QStringLiteral("Напишете своите бележки отнасящи се към документа"));
    addCounterpartyFields(QStringLiteral("Доставчик (код/наим.)"), QStringLiteral("Изберете доставчик"),
                          QStringLiteral("Редактиране на Контрагенти"));
    m_dueDate = addDateField(QStringLiteral("TRANZ_PADEJ"), QStringLiteral("Дата на плащане"),
                             QStringLiteral("Изберете дата на плащане"));
    addPaid(QStringLiteral("Изплатена сума"), QString());

    StockLineArea *lines = addLineArea(0, QStringLiteral(" Съдържание "));
    lines->addCategoryFields(QStringLiteral("Категория (код/наим.)"));
    lines->addGoodsFields(QStringLiteral("Артикул (код/наим.)"), QStringLiteral("Изберете артикул"),
                          QStringLiteral("Редактиране на Стоките"));
    lines->addPriceField(QStringLiteral("Цена/ед.мярка"),
                         QStringLiteral("Единична цена\nза да се попълни автоматично с последната цена оставете 0"),
                         true);
    addDiscountQuantityAndTaken(*lines);
    lines->addSecondQuantityField(QStringLiteral("Доп.количество"), QStringLiteral("Количество по допълнителната мярка"));
    lines->setNewLineShortcut();
    using C = LineColumn;
    lines->setColumns({C::Operation, C::Category, C::Goods, C::Price, C::Quantity, C::Unit, C::Taken, C::Discount,
                       C::Sum, C::Quantity2, C::Unit2});

    m_receipt = new QPushButton(QStringLiteral("Разписка"), this);
    m_receipt->setObjectName(QStringLiteral("btnReceipt"));
    m_receipt->setToolTip(QStringLiteral("Складова р-ка"));
    m_receipt->setAutoDefault(false);
    buttonLayout()->insertWidget(0, m_receipt);
    connect(m_receipt, &QPushButton::clicked, this, &TfrmDostavki::PrintReceiptClick);
    db::Dataset &rows = lines->area().lines();
    connect(&rows, &db::Dataset::reset, this, &TfrmDostavki::followLines);
    connect(&rows, &db::Dataset::rowInserted, this, &TfrmDostavki::followLines);
    connect(&rows, &db::Dataset::rowRemoved, this, &TfrmDostavki::followLines);
    connect(&rows, &db::Dataset::stateChanged, this, &TfrmDostavki::followLines);
    followLines();
    resize(940, 720);
    chainTabOrderByLayout(this);
}

void TfrmDostavki::followLines()
{
    const db::Dataset &rows = lineArea()->area().lines();
    m_receipt->setEnabled(rows.isOpen() && !rows.isEmpty());
}
