#include "documents/TfrmAmbalaj.h"

#include "db/Dataset.h"
#include "documents/DocumentModel.h"
#include "documents/SaleDocument.h"
#include "documents/StockLineArea.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/TabOrder.h"

#include <QPushButton>
#include <QVBoxLayout>

TfrmAmbalaj::TfrmAmbalaj(documents::DocumentModel &sale, QWidget *owner)
    : TfrmYesNo(owner)
    , m_sale(sale)
{
    setObjectName(QStringLiteral("frmAmbalaj"));
    setWindowTitle(QStringLiteral("Амбалаж"));
    m_area = new StockLineArea(sale.area(documents::SalePackaging), QStringLiteral(" Амбалаж "), this);
    contentLayout()->addWidget(m_area, 1);
    m_area->addCategoryFields(QStringLiteral("Категория (код/наим.)"));
    m_area->addGoodsFields(QStringLiteral("Артикул (код/наим.)"), QStringLiteral("Изберете артикул (Ins - нов)"),
                           QStringLiteral("Редактиране на Номенклатура"));
    m_area->addQuantityField(QStringLiteral("Количество"), QStringLiteral("Въведете количество"));
    m_area->addTakenField(QStringLiteral("Взето"),
                          QStringLiteral("Отбележете вэетото количество при изготвянето на документа"));
    m_area->setNewLineShortcut();
    using C = LineColumn;
    m_area->setColumns({C::Operation, C::Category, C::Goods, C::Quantity, C::Unit, C::Taken});
    btnOK()->setText(QStringLiteral("Затвори"));
    btnOK()->setAutoDefault(false);
    btnOK()->setDefault(false);
    btnCancel()->hide();
    connect(m_area, &StockLineArea::editingChanged, this, &TfrmAmbalaj::followState);
    followState();
    resize(760, 560);
    chainTabOrderByLayout(this);
}

void TfrmAmbalaj::followState()
{
    m_area->grid()->setEnabled(!m_area->area().isEditing());
}

void TfrmAmbalaj::showEvent(QShowEvent *event)
{
    TfrmYesNo::showEvent(event);
    // The line is ready for typing, as after "Нов ред".
    if (m_area->area().isEditing())
        m_area->cbCategoryCode()->setFocus();
}

void TfrmAmbalaj::StartEditing()
{
    runGuarded(this, [this] {
        db::Dataset &lines = m_area->area().lines();
        if (lines.isEditing())
            m_area->area().storeLine();
        if (lines.isEmpty()) {
            m_area->area().newLine();
        } else {
            lines.first();
            lines.edit();
        }
    });
}

void TfrmAmbalaj::accept()
{
    documents::LineArea &area = m_area->area();
    db::Dataset &lines = area.lines();
    if (area.isEditing() && lines.value(QStringLiteral("TRANZ_RED_NOM_ID")).isNull()) {
        // A line cannot be stored without goods: one nothing was typed into
        // goes, one that was typed into is refused with the line's reason.
        if (lines.isModified()) {
            runGuarded(m_area, [&area] { area.storeLine(); });
            return;
        }
        area.cancelLine();
    }
    if (area.isEditing() && !runGuarded(this, [&area] { area.storeLineUnchecked(); }))
        return;
    TfrmYesNo::accept();
}

void TfrmAmbalaj::reject()
{
    db::Dataset &lines = m_area->area().lines();
    if (lines.isEditing() && lines.isModified()) {
        if (MessageDlg(QStringLiteral("Отказвате ли се от направените промени?"), TMsgDlgType::mtConfirmation,
                       mbYes | mbNo)
            != mrYes)
            return;
        runGuarded(this, [this] {
            m_area->area().cancelLine();
            m_area->area().reread();
        });
    } else if (lines.isEditing()) {
        m_area->area().cancelLine();
    }
    TfrmYesNo::reject();
}
