#include "documents/TfrmProizvodstvo.h"

#include "db/Dataset.h"
#include "documents/ProductionDocument.h"
#include "documents/StockLineArea.h"
#include "ui/DBControls.h"
#include "ui/EntryProposal.h"
#include "ui/ErrorGuard.h"
#include "ui/TabOrder.h"

#include <QDateTime>

TfrmProizvodstvo::TfrmProizvodstvo(QWidget *owner)
    : TfrmStockDocument(documents::productionKind(), QStringLiteral(" Производство "), owner)
{
    setObjectName(QStringLiteral("frmProizvodstvo"));
    setWindowTitle(QStringLiteral("Производство"));
    addNumberField(QStringLiteral("Документ №"));
    m_note = addNoteField(QStringLiteral("Забележка"), QStringLiteral("Напишете своите бележки отнасящи се към документа"));
    m_date = addDateField(QStringLiteral("TRANZ_TIME"), QStringLiteral("Дата на въвеждане"));
    // Moving into the date makes it the moment of entry; coming back to the
    // window (after a message, another window or the calendar) or to a date
    // the user typed leaves it alone.
    proposeOnEntry(m_date, model().header(), [this] { enterDate(); });

    const QString goodsHint = QStringLiteral("Изберете артикул (Ins - нов)");
    const QString catalogueHint = QStringLiteral("Редактиране на Номенклатура");

    StockLineArea *materials = addLineArea(0, QStringLiteral(" Вложени материали "));
    materials->addCategoryFields(QStringLiteral("Категория (код/наим.)"));
    materials->addGoodsFields(QStringLiteral("Артикул (код/наим.)"), goodsHint, catalogueHint);
    materials->addPriceField(QStringLiteral("Цена/ед.мярка"), QStringLiteral("Цена за единица мярка"), true);
    materials->addQuantityField(QStringLiteral("Количество"), QStringLiteral("Въведете количество"));
    materials->addStockOnHand(QStringLiteral("В склада има"));
    materials->setColumns({StockLineArea::column(LineColumn::Operation), StockLineArea::column(LineColumn::Category),
                           StockLineArea::column(LineColumn::Goods),
                           StockLineArea::column(LineColumn::Price, QStringLiteral("Ед.цена")),
                           StockLineArea::column(LineColumn::Quantity), StockLineArea::column(LineColumn::Unit)});

    StockLineArea *products = addLineArea(1, QStringLiteral(" Произведена продукция "));
    products->addCategoryFields(QStringLiteral("Категория"));
    products->addGoodsFields(QStringLiteral("Артикул (код/наим.)"), goodsHint, catalogueHint);
    products->addQuantityField(QStringLiteral("Количество"), QStringLiteral("Въведете количество"));
    products->setColumns(
        {LineColumn::Operation, LineColumn::Category, LineColumn::Goods, LineColumn::Quantity, LineColumn::Unit});
    resize(900, 760);
    chainTabOrderByLayout(this);
}

void TfrmProizvodstvo::enterDate()
{
    runGuarded(this, [this] {
        model().resumeEditing();
        db::Dataset &header = model().header();
        if (header.isEditing())
            header.setValue(QStringLiteral("TRANZ_TIME"), QDateTime::currentDateTime());
    });
}
