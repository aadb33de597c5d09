#include "documents/TfrmBrak.h"

#include "documents/ScrapDocument.h"
#include "documents/StockLineArea.h"
#include "ui/TabOrder.h"

TfrmBrak::TfrmBrak(QWidget *owner)
    : TfrmStockDocument(documents::scrapKind(), QStringLiteral(" Бракуване "), owner)
{
    setObjectName(QStringLiteral("frmBrak"));
    setWindowTitle(QStringLiteral("Бракуване"));
    m_date = addDateField(QStringLiteral("TRANZ_TIME"), QStringLiteral("Дата на въвеждане"));
    addNumberField(QStringLiteral("Документ №"));
    m_note = addNoteField(QStringLiteral("Забележка"), QStringLiteral("Напишете своите бележки отнасящи се към документа"));

    StockLineArea *lines = addLineArea(0, QStringLiteral(" Съдържание "));
    lines->addCategoryFields(QStringLiteral("Категория"));
    lines->addGoodsFields(QStringLiteral("Артикул (код/наим.)"), QStringLiteral("Изберете артикул"));
    lines->addPriceField(QStringLiteral("Цена/ед.мярка"), QString(), false);
    lines->addQuantityField(QStringLiteral("Количество"), QStringLiteral("Въведете количество"));
    lines->addStockOnHand(QStringLiteral("В склада има"));
    lines->setColumns(
        {LineColumn::Operation, LineColumn::Category, LineColumn::Goods, LineColumn::Quantity, LineColumn::Unit});
    resize(860, 640);
    chainTabOrderByLayout(this);
}
