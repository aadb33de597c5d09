#include "catalogues/BarcodeListEditor.h"

#include "catalogues/BarcodeRules.h"
#include "core/Tdm.h"
#include "data/ColumnSizes.h"
#include "data/GoodsBarcodes.h"
#include "ui/ErrorGuard.h"
#include "util/Error.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

BarcodeListEditor::BarcodeListEditor(QWidget *parent)
    : QWidget(parent)
{
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("edtBarcode"));
    m_code->setMaxLength(data::kBarcodeSize);
    m_code->setMaximumWidth(200);
    m_code->setToolTip(QStringLiteral("Въведете или сканирайте баркод и натиснете Enter"));
    // Made after the box it stands under, so Tab goes from the box to it.
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstBarcodes"));
    m_list->setMaximumHeight(64);
    m_list->setMaximumWidth(200);
    m_add = new QPushButton(QStringLiteral("Добави"), this);
    m_remove = new QPushButton(QStringLiteral("Премахни"), this);
    for (QPushButton *button : {m_add, m_remove}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
    }
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_code, 0, 0);
    layout->addWidget(m_add, 0, 1);
    layout->addWidget(m_list, 1, 0);
    layout->addWidget(m_remove, 1, 1, Qt::AlignTop);
    layout->setColumnStretch(2, 1);

    connect(m_add, &QPushButton::clicked, this, [this] { runGuarded(this, [this] { addTyped(); }); });
    m_code->installEventFilter(this);
    connect(m_remove, &QPushButton::clicked, this, &BarcodeListEditor::removeChosen);
    setEditing(false);
}

bool BarcodeListEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Enter adds the code; passed on, it would reach the window's default
    // button and store the goods item half-typed.
    if (watched == m_code && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runGuarded(this, [this] { addTyped(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BarcodeListEditor::load(int goodsId)
{
    m_goodsId = goodsId;
    m_code->clear();
    showCodes(goodsId > 0 ? data::barcodesOf(dm(), goodsId) : QStringList());
}

void BarcodeListEditor::setEditing(bool editing)
{
    m_code->setEnabled(editing);
    m_add->setEnabled(editing);
    m_remove->setEnabled(editing);
}

void BarcodeListEditor::addTyped()
{
    if (m_code->text().trimmed().isEmpty())
        return;
    const QString code = checkedBarcode(m_code->text());
    if (const auto holder = data::otherHolderOf(dm(), code, m_goodsId))
        throw varnex::Error(data::duplicateBarcodeMessage(code, *holder));
    if (m_list->findItems(code, Qt::MatchExactly).isEmpty())
        m_list->addItem(code);
    m_code->clear();
}

void BarcodeListEditor::removeChosen()
{
    delete m_list->currentItem();
}

QStringList BarcodeListEditor::codesToStore()
{
    addTyped();
    QStringList codes;
    for (int row = 0; row < m_list->count(); ++row)
        codes << m_list->item(row)->text();
    return codes;
}

void BarcodeListEditor::showCodes(const QStringList &codes)
{
    m_list->clear();
    m_list->addItems(codes);
}
