#include "documents/TfrmTradeDocument.h"

#include "catalogues/TfrmKontragenti.h"
#include "core/TSettings.h"
#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/DocumentPrint.h"
#include "documents/StockLineArea.h"
#include "invoicing/TdmInvoice.h"
#include "ui/DBControls.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/TDictionary.h"
#include "util/Error.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>

namespace {

QString field(const char *name)
{
    return QString::fromLatin1(name);
}

} // namespace

TfrmTradeDocument::TfrmTradeDocument(documents::DocumentKind kind, const QString &headerTitle,
                                     const QString &counterpartySql, QWidget *owner)
    : TfrmStockDocument(std::move(kind), headerTitle, owner)
    , m_counterparties(dm().createDataset(counterpartySql))
{
    m_counterparties->setDisplayFormat(field("KONTR_CODE"), QStringLiteral("000000"));
    m_counterparties->open();
    printReceipt = [this](int documentId) { dmInvoice().PrintReceipt(documentId, this); };
}

TfrmTradeDocument::~TfrmTradeDocument() = default;

void TfrmTradeDocument::addCounterpartyFields(const QString &label, const QString &hint, const QString &catalogueHint)
{
    db::Dataset &header = model().header();
    m_counterpartyCode = new DBLookupCombo(headerGroup());
    m_counterpartyCode->setObjectName(QStringLiteral("cbCounterpartyCode"));
    m_counterpartyCode->bind(header, field("TRANZ_KONT_ID"), *m_counterparties, field("KONTR_ID"), field("KONTR_CODE"));
    m_counterpartyCode->setMaximumWidth(100);
    m_counterpartyName = new DBLookupCombo(headerGroup());
    m_counterpartyName->setObjectName(QStringLiteral("cbCounterpartyName"));
    m_counterpartyName->bind(header, field("TRANZ_KONT_ID"), *m_counterparties, field("KONTR_ID"), field("KONTR_NAME"));
    m_counterpartyName->setMinimumWidth(320);
    auto *catalogue = new QToolButton(headerGroup());
    catalogue->setObjectName(QStringLiteral("btnCounterpartyCatalogue"));
    catalogue->setText(QStringLiteral("..."));
    catalogue->setToolTip(catalogueHint);
    catalogue->setFocusPolicy(Qt::NoFocus);
    connect(catalogue, &QToolButton::clicked, this, &TfrmTradeDocument::ChooseCounterparty);
    auto *row = new QHBoxLayout;
    for (DBLookupCombo *combo : {m_counterpartyCode, m_counterpartyName}) {
        combo->setToolTip(hint);
        combo->installEventFilter(this);
        row->addWidget(combo);
    }
    row->addWidget(catalogue);
    row->addStretch();
    qobject_cast<QFormLayout *>(headerGroup()->layout())->addRow(label, row);
}

void TfrmTradeDocument::addPaid(const QString &label, const QString &hint)
{
    m_paidBox = addPaidField(label, hint);
}

void TfrmTradeDocument::addDiscountQuantityAndTaken(StockLineArea &lines)
{
    lines.addDiscountField(QStringLiteral("% Отстъпка"),
                           QStringLiteral("% отстъпка от цената\nза да се попълни автоматично с последната "
                                          "отстъпка оставете 0"));
    lines.addQuantityField(QStringLiteral("Количество"), QStringLiteral("Въведете количество"));
    lines.addTakenField(QStringLiteral("Взето"),
                        QStringLiteral("Отбележете вэетото количество при изготвянето на документа"));
}

bool TfrmTradeDocument::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == m_counterpartyCode || watched == m_counterpartyName)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            ChooseCounterparty();
            return true;
        }
    }
    return TfrmStockDocument::eventFilter(watched, event);
}

void TfrmTradeDocument::showEvent(QShowEvent *event)
{
    TfrmStockDocument::showEvent(event);
    // Typing starts at the header's first field, which proposes a number.
    if (edtNumber() && model().header().isEditing())
        edtNumber()->setFocus();
}

int TfrmTradeDocument::catalogueChoice()
{
    std::unique_ptr<TfrmKontragenti> catalogue(CreateChildForm<TfrmKontragenti>());
    catalogue->setChooseMode(true);
    catalogue->exec();
    return catalogue->ChosenKey();
}

void TfrmTradeDocument::ChooseCounterparty()
{
    runGuarded(this, [this] {
        const int chosen = chooseCounterpartyFromCatalogue ? chooseCounterpartyFromCatalogue() : catalogueChoice();
        // The catalogue may have added or changed counterparties meanwhile.
        const QVariant current = m_counterparties->isOpen() ? m_counterparties->value(field("KONTR_ID")) : QVariant();
        m_counterparties->reopen();
        if (!current.isNull())
            m_counterparties->locate({field("KONTR_ID")}, {current});
        if (chosen < 0)
            return;
        // The catalogue lists every counterparty; the document takes only
        // one its own list offers (a supplier for a delivery, a client for
        // a sale), as the drop-downs do.
        if (!m_counterparties->locate({field("KONTR_ID")}, {chosen}))
            throw varnex::Error(QStringLiteral("Избраният контрагент не може да бъде избран в този документ."));
        db::Dataset &header = model().header();
        if (!header.isEditing())
            header.edit();
        header.setValue(field("TRANZ_KONT_ID"), chosen);
        if (QWidget *note = findChild<QWidget *>(QStringLiteral("edtNote")))
            note->setFocus();
    });
}

void TfrmTradeDocument::PrintReceiptClick()
{
    if (!storeWithoutClosing())
        return;
    // The document is stored by now: a print that fails is told and the
    // window closes as after a print.
    runGuarded(this, [this] {
        for (const auto &[name, value] : documents::receiptBoardValues(model()))
            PutParam(name, value);
        printReceipt(model().documentId());
    });
    done(mrOk);
}
