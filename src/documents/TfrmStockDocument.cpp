#include "documents/TfrmStockDocument.h"

#include "core/Tdm.h"
#include "db/Dataset.h"
#include "documents/StockLineArea.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"
#include "ui/EntryProposal.h"
#include "ui/ErrorGuard.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString field(const char *name)
{
    return QString::fromLatin1(name);
}

double number(const QVariant &value)
{
    return value.isNull() ? 0 : value.toDouble();
}

} // namespace

TfrmStockDocument::TfrmStockDocument(documents::DocumentKind kind, const QString &headerTitle, QWidget *owner)
    : TfrmBaseDBEditForm(owner)
    , m_model(std::make_unique<documents::DocumentModel>(dm(), std::move(kind)))
{
    setMainDataset(m_model->header());
    m_headerGroup = new QGroupBox(headerTitle, this);
    m_headerFields = new QFormLayout(m_headerGroup);
    contentLayout()->addWidget(m_headerGroup);

    m_destroy = new QPushButton(QStringLiteral("Унищожи"), this);
    m_destroy->setObjectName(QStringLiteral("btnDestroy"));
    m_destroy->setToolTip(QStringLiteral("Унищожава документа"));
    m_destroy->setAutoDefault(false);
    buttonLayout()->insertWidget(1, m_destroy);
    connect(m_destroy, &QPushButton::clicked, this, &TfrmStockDocument::DestroyClick);
    connect(m_model.get(), &documents::DocumentModel::numberReplaced, this, &TfrmStockDocument::tellNumberNotice);
    m_model->confirmShortage = [](const QString &question) {
        return MessageDlg(question, TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes;
    };
}

TfrmStockDocument::~TfrmStockDocument()
{
    // Hiding takes the focus away, and the editors that act on leaving must
    // still find the document they edit.
    hide();
}

void TfrmStockDocument::NewDocument()
{
    m_model->createNew();
    m_destroy->setEnabled(m_model->kind().destroyNew);
}

void TfrmStockDocument::OpenDocument(int documentId)
{
    m_model->openExisting(documentId);
    m_destroy->setEnabled(true);
}

DBNumberEdit *TfrmStockDocument::addNumberField(const QString &label)
{
    m_number = new DBNumberEdit(m_headerGroup);
    m_number->setObjectName(QStringLiteral("edtDocNo"));
    m_number->bind(m_model->header(), field("TRANZ_DOCNO"));
    m_number->setValidator(new QIntValidator(0, 2147483647, m_number));
    m_number->setMaximumWidth(140);
    proposeOnEntry(m_number, m_model->header(), [this] { proposeNumber(); });
    m_headerFields->addRow(label, m_number);
    return m_number;
}

DBDateEdit *TfrmStockDocument::addDateField(const QString &dateField, const QString &label, const QString &hint)
{
    auto *date = new DBDateEdit(m_headerGroup);
    date->setObjectName(QStringLiteral("edt") + dateField);
    date->bind(m_model->header(), dateField);
    date->setToolTip(hint);
    date->setMaximumWidth(140);
    m_headerFields->addRow(label, date);
    return date;
}

DBEdit *TfrmStockDocument::addNoteField(const QString &label, const QString &hint)
{
    auto *note = new DBEdit(m_headerGroup);
    note->setObjectName(QStringLiteral("edtNote"));
    note->bind(m_model->header(), field("TRANZ_NOTE"));
    note->setToolTip(hint);
    m_headerFields->addRow(label, note);
    return note;
}

DBNumberEdit *TfrmStockDocument::addPaidField(const QString &label, const QString &hint)
{
    m_paid = new DBNumberEdit(m_headerGroup);
    m_paid->setObjectName(QStringLiteral("edtPaid"));
    m_paid->bind(m_model->header(), field("TRANZ_PLATENO"));
    m_paid->setToolTip(hint);
    m_paid->setMaximumWidth(140);
    proposeOnEntry(m_paid, m_model->header(), [this] { proposePaid(); });
    m_headerFields->addRow(label, m_paid);
    return m_paid;
}

StockLineArea *TfrmStockDocument::addLineArea(int index, const QString &title)
{
    auto *area = new StockLineArea(m_model->area(index), title, this);
    contentLayout()->addWidget(area, 1);
    m_areas.push_back(area);
    connect(area, &StockLineArea::editingChanged, this, &TfrmStockDocument::followLineStates);
    followLineStates();
    return area;
}

void TfrmStockDocument::followLineStates()
{
    // While any area edits a line, no grid may move to another one.
    bool editing = false;
    for (StockLineArea *area : m_areas)
        editing = editing || area->area().isEditing();
    for (StockLineArea *area : m_areas)
        area->grid()->setEnabled(!editing);
}

void TfrmStockDocument::showEvent(QShowEvent *event)
{
    TfrmBaseDBEditForm::showEvent(event);
    for (StockLineArea *area : m_areas)
        runGuarded(this, [area] { area->area().showAllGoods(); });
}

void TfrmStockDocument::done(int result)
{
    // The shared goods list goes back to every category for the windows
    // that read it after this one.
    for (StockLineArea *area : m_areas) {
        if (area->area().goodsNarrowed())
            runGuarded(this, [area] { area->area().showAllGoods(); });
    }
    TfrmBaseDBEditForm::done(result);
}

void TfrmStockDocument::proposeNumber()
{
    db::Dataset &header = m_model->header();
    if (!header.isEditing() || !header.value(field("TRANZ_DOCNO")).isNull())
        return;
    // The number shown is the number stored: saving straight away takes it.
    runGuarded(this, [&] {
        m_model->proposeNumber();
        QTimer::singleShot(0, m_number, [this] { m_number->selectAll(); });
    });
}

void TfrmStockDocument::tellNumberNotice(const QString &notice)
{
    if (!notice.isEmpty())
        MessageDlg(notice, TMsgDlgType::mtInformation, mbOK);
}

void TfrmStockDocument::proposePaid()
{
    db::Dataset &header = m_model->header();
    if (header.isEditing() && number(header.value(field("TRANZ_PLATENO"))) == 0)
        runGuarded(this, [&] { header.setValue(field("TRANZ_PLATENO"), m_model->total()); });
    QTimer::singleShot(0, m_paid, [this] { m_paid->selectAll(); });
}

QWidget *TfrmStockDocument::showProblem(const documents::DocumentProblem &problem)
{
    if (problem.emptyArea >= 0) {
        MessageDlg(problem.message, TMsgDlgType::mtConfirmation, mbOK);
        m_areas.at(size_t(problem.emptyArea))->NewLineClick();
        return nullptr;
    }
    MessageDlg(problem.message, TMsgDlgType::mtError, mbOK);
    return editorForField(this, problem.field);
}

bool TfrmStockDocument::ValidateRecord()
{
    std::vector<StockLineArea *> editing;
    for (StockLineArea *area : m_areas) {
        if (area->area().isEditing())
            editing.push_back(area);
    }
    const std::optional<documents::DocumentProblem> problem = m_model->check();
    if (!problem) {
        m_model->prepareSave();
        return true;
    }
    QWidget *field = showProblem(*problem);
    // The line the user was editing is stored all the same; a line the
    // check has just started is left for the user to fill in.
    for (StockLineArea *area : editing) {
        if (!runGuarded(area, [area] { area->area().storeLine(); }))
            return false;
    }
    if (field)
        field->setFocus();
    return false;
}

QWidget *TfrmStockDocument::areaWidget(int index)
{
    for (StockLineArea *area : m_areas) {
        if (&area->area() == &m_model->area(index))
            return area;
    }
    return this;
}

bool TfrmStockDocument::PostDetails()
{
    // A pending line that cannot be stored stops the save with its reason,
    // rather than being dropped while the document is reported saved; that
    // holds for the areas other windows edit too.
    for (int index = 0; index < m_model->areaCount(); ++index) {
        documents::LineArea &area = m_model->area(index);
        if (area.isEditing() && !runGuarded(areaWidget(index), [&area] { area.storeLine(); }))
            return false;
    }
    return true;
}

bool TfrmStockDocument::storeWithoutClosing()
{
    if (const std::optional<documents::DocumentProblem> problem = m_model->check()) {
        if (QWidget *field = showProblem(*problem))
            field->setFocus();
        return false;
    }
    bool stored = false;
    runGuarded(this, [&] {
        m_model->prepareSave();
        if (!PostDetails())
            return;
        m_model->header().post();
        stored = true;
    });
    if (!stored)
        runGuarded(this, [this] { m_model->resumeEditing(); });
    return stored;
}

bool TfrmStockDocument::CanClose()
{
    QString notice;
    if (!runGuarded(this, [&] { notice = m_model->abandon(); })) {
        // The sum could not be written (another workstation changed the
        // document, which has been read again): the user stays on it.
        runGuarded(this, [this] { m_model->resumeEditing(); });
        return false;
    }
    if (!notice.isEmpty())
        MessageDlg(notice, TMsgDlgType::mtInformation, mbOK);
    return true;
}

bool TfrmStockDocument::HasUnsavedChanges() const
{
    return m_model->hasUnsavedChanges();
}

void TfrmStockDocument::SaveClick()
{
    TfrmBaseDBEditForm::SaveClick();
    // A store refused because another workstation changed the document has
    // read it again; the user goes on editing it as it now is.
    if (result() != mrOk)
        runGuarded(this, [this] { m_model->resumeEditing(); });
}

void TfrmStockDocument::DestroyClick()
{
    if (MessageDlg(QStringLiteral(" Наистина ли желаете да УНИЩОЖИТЕ този документ? "), TMsgDlgType::mtConfirmation,
                   mbYes | mbNo)
        != mrYes)
        return;
    if (runGuarded(this, [this] { m_model->destroy(); }))
        reject();
}
