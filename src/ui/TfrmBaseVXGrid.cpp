#include "ui/TfrmBaseVXGrid.h"

#include "db/Dataset.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"
#include "ui/EditRoutines.h"
#include "ui/ErrorGuard.h"

#include <QAction>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QList<QKeySequence> saveKeys()
{
    return {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)};
}

} // namespace

TfrmBaseVXGrid::TfrmBaseVXGrid(QWidget *owner)
    : TIBGridForm(owner)
{
    actnEdit->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter),
                            QKeySequence(Qt::Key_F2)});

    actnSearch = new QAction(style()->standardIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("Търсене"), this);
    actnSearch->setToolTip(QStringLiteral("Панел за търсене"));
    actnSearch->setCheckable(true);
    m_btnSearch = addToolButton(actnSearch);

    m_searchPanel = new QWidget(this);
    m_searchFields = new QHBoxLayout(m_searchPanel);
    m_searchFields->addWidget(new QLabel(QStringLiteral("Търсене:"), m_searchPanel));
    m_searchPanel->hide();
    m_mainLayout->insertWidget(1, m_searchPanel);
    connect(actnSearch, &QAction::toggled, m_searchPanel, &QWidget::setVisible);

    m_editPanel = new QWidget(this);
    auto *panelLayout = new QHBoxLayout(m_editPanel);
    m_editGroup = new QGroupBox(m_editPanel);
    m_editFields = new QFormLayout(m_editGroup);
    panelLayout->addWidget(m_editGroup, 1);
    auto *buttons = new QVBoxLayout;
    m_btnSave = new QPushButton(QStringLiteral("Запис"), m_editPanel);
    m_btnCancelEdit = new QPushButton(QStringLiteral("Отказ"), m_editPanel);
    // Enter on a focused button presses it, so new–type–store needs no mouse.
    m_btnSave->setAutoDefault(true);
    m_btnCancelEdit->setAutoDefault(true);
    buttons->addWidget(m_btnSave);
    buttons->addWidget(m_btnCancelEdit);
    buttons->addStretch();
    panelLayout->addLayout(buttons);
    m_editPanel->hide();
    m_mainLayout->addWidget(m_editPanel);
    connect(m_btnSave, &QPushButton::clicked, this, &TfrmBaseVXGrid::SaveClick);
    // While a record is edited Ctrl+Enter stores it, as in every edit window.
    for (const QKeySequence &keys : saveKeys()) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setEnabled(false);
        connect(shortcut, &QShortcut::activated, this, &TfrmBaseVXGrid::SaveClick);
        m_saveKeys.push_back(shortcut);
    }
    connect(m_btnCancelEdit, &QPushButton::clicked, this, &TfrmBaseVXGrid::CancelClick);

    Grid()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    BuildToolbar();
}

bool TfrmBaseVXGrid::ValidateRecord()
{
    return true;
}

bool TfrmBaseVXGrid::PostDetails()
{
    PostPendingEdits(this, findChildren<db::Dataset *>(), dataset());
    return true;
}

bool TfrmBaseVXGrid::CanCancelEdit()
{
    return true;
}

void TfrmBaseVXGrid::BuildToolbar()
{
    TIBGridForm::BuildToolbar();
    if (!m_btnSearch)
        return;
    actnSearch->setVisible(ShowSearch);
    setToolbarButtonShown(m_btnSearch, ShowSearch);
    if (!ShowSearch)
        return;
    m_toolbarLayout.insertGroup(1);
    m_toolbarLayout.addButton(m_btnSearch, 1);
}

void TfrmBaseVXGrid::UpdateActions()
{
    TIBGridForm::UpdateActions();
    const bool editing = isEditingDataset();
    const bool filled = dataset() && dataset()->isOpen() && !dataset()->isEmpty();
    actnNew->setEnabled(dataset() && dataset()->isOpen() && !editing);
    actnEdit->setEnabled(filled && !editing);
    actnDelete->setEnabled(filled && !editing);
    for (QShortcut *key : m_listKeys)
        key->setEnabled(!editing);
    for (QShortcut *key : m_saveKeys)
        key->setEnabled(editing);
    // The list's Ctrl+Enter (edit) gives way to the panel's (store).
    QList<QKeySequence> editKeys = actnEdit->shortcuts();
    for (const QKeySequence &keys : saveKeys())
        editKeys.removeAll(keys);
    actnEdit->setShortcuts(editing ? editKeys : saveKeys() + editKeys);
    followState();
}

void TfrmBaseVXGrid::addListKey(Qt::Key key, std::function<void()> command)
{
    auto *shortcut = new QShortcut(QKeySequence(key), this);
    connect(shortcut, &QShortcut::activated, this, [this, command] {
        if (!isEditingDataset())
            command();
    });
    shortcut->setEnabled(!isEditingDataset());
    m_listKeys.push_back(shortcut);
}

void TfrmBaseVXGrid::addListKey(Qt::Key key, QAction *action)
{
    addListKey(key, [action] {
        if (action->isEnabled())
            action->trigger();
    });
}

void TfrmBaseVXGrid::followState()
{
    if (!m_editPanel)
        return;
    const bool editing = isEditingDataset();
    if (editing == m_editPanel->isVisible() && Grid()->isEnabled() == !editing)
        return;
    m_editPanel->setVisible(editing);
    Grid()->setEnabled(!editing);
    actnSearch->setEnabled(!editing);
    if (editing) {
        if (QWidget *editor = firstEditor())
            editor->setFocus();
    } else if (isVisible()) {
        Grid()->setFocus();
    }
}

QWidget *TfrmBaseVXGrid::firstEditor() const
{
    for (int row = 0; row < m_editFields->rowCount(); ++row) {
        if (QLayoutItem *item = m_editFields->itemAt(row, QFormLayout::FieldRole); item && item->widget())
            return item->widget();
    }
    return nullptr;
}

void TfrmBaseVXGrid::NewExecute()
{
    dataset()->last();
    dataset()->append();
}

void TfrmBaseVXGrid::GridDoubleClicked()
{
    if (!dataset())
        return;
    if (dataset()->isEmpty())
        actnNew->trigger();
    else if (actnEdit->isEnabled())
        actnEdit->trigger();
}

void TfrmBaseVXGrid::SaveClick()
{
    commitOpenEditors();
    runGuarded(this, [this] {
        if (ValidateRecord() && PostDetails())
            dataset()->post();
    });
}

void TfrmBaseVXGrid::CancelClick()
{
    if (!isEditingDataset())
        return;
    commitOpenEditors();
    if (HasChangedRows(findChildren<db::Dataset *>() << dataset())
        && MessageDlg(QStringLiteral("Отказвате ли се от направените промени?"), TMsgDlgType::mtConfirmation,
                      mbYes | mbNo)
               != mrYes)
        return;
    if (!CanCancelEdit())
        return;
    try {
        dataset()->cancel();
    } catch (const varnex::Error &) {
        // Nothing was stored; the row goes back to browsing either way.
    }
}

void TfrmBaseVXGrid::reject()
{
    if (isEditingDataset()) {
        CancelClick();
        return;
    }
    TIBGridForm::reject();
}
