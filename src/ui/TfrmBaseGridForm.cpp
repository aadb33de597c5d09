#include "ui/TfrmBaseGridForm.h"

#include "db/Dataset.h"
#include "ui/DataGrid.h"
#include "ui/DatasetModel.h"
#include "ui/Dialogs.h"
#include "ui/DisabledGlyph.h"
#include "ui/ErrorGuard.h"
#include "ui/GridLayout.h"
#include "ui/GridPrint.h"
#include "ui/PrinterIcon.h"
#include "ui/TDictionary.h"
#include "ui/TNotifyPopup.h"
#include "ui/TdlgListChoose.h"
#include "util/Error.h"

#include <QAction>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TfrmBaseGridForm::TfrmBaseGridForm(QWidget *owner)
    : TfrmBaseForm(owner)
{
    const auto action = [this](const char *caption, const QKeySequence &shortcut, QStyle::StandardPixmap icon) {
        auto *created = new QAction(withDisabledGlyph(style()->standardIcon(icon)), QString::fromUtf8(caption), this);
        created->setShortcut(shortcut);
        created->setShortcutContext(Qt::WindowShortcut);
        addAction(created);
        return created;
    };
    actnNew = action("Нов", QKeySequence(Qt::CTRL | Qt::Key_N), QStyle::SP_FileIcon);
    actnEdit = action("Редакция", QKeySequence(Qt::CTRL | Qt::Key_Return), QStyle::SP_FileDialogDetailedView);
    actnDelete = action("Изтриване", QKeySequence(Qt::CTRL | Qt::Key_Delete), QStyle::SP_TrashIcon);
    actnFilter = action("Филтър", QKeySequence(), QStyle::SP_FileDialogContentsView);
    actnRemoveFilter = action("без Филтър", QKeySequence(), QStyle::SP_DialogResetButton);
    actnPrint = action("Печат", QKeySequence(Qt::CTRL | Qt::Key_P), QStyle::SP_DialogSaveButton);
    actnPrint->setIcon(withDisabledGlyph(printerIcon()));
    actnClose = action("Затвори", QKeySequence(Qt::ALT | Qt::Key_F4), QStyle::SP_DialogCloseButton);
    actnColumns = action("Избор на колони", QKeySequence(), QStyle::SP_FileDialogListView);
    actnRefresh = action("Обнови", QKeySequence(Qt::Key_F5), QStyle::SP_BrowserReload);
    actnChoose = action("Избор", QKeySequence(), QStyle::SP_DialogApplyButton);
    actnChoose->setToolTip(QStringLiteral("Избира текущия запис"));
    actnChoose->setVisible(false);
    actnRefresh->setToolTip(QStringLiteral("Обнови списъка"));
    actnEdit->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});

    // A list command first writes a cell the user is still typing in.
    const auto command = [this](void (TfrmBaseGridForm::*execute)()) {
        return [this, execute] {
            runGuarded(this, [this, execute] {
                commitOpenEditors();
                (this->*execute)();
            });
        };
    };
    connect(actnChoose, &QAction::triggered, this, command(&TfrmBaseGridForm::ChooseExecute));
    connect(actnNew, &QAction::triggered, this, command(&TfrmBaseGridForm::NewExecute));
    connect(actnEdit, &QAction::triggered, this, command(&TfrmBaseGridForm::EditExecute));
    connect(actnDelete, &QAction::triggered, this, command(&TfrmBaseGridForm::DeleteExecute));
    connect(actnFilter, &QAction::triggered, this, command(&TfrmBaseGridForm::FilterExecute));
    connect(actnRemoveFilter, &QAction::triggered, this, command(&TfrmBaseGridForm::RemoveFilter));
    connect(actnPrint, &QAction::triggered, this, [this] {
        commitOpenEditors();
        PrintGrid(*m_grid, windowTitle());
    });
    connect(actnClose, &QAction::triggered, this, [this] { done(QDialog::Rejected); });
    connect(actnRefresh, &QAction::triggered, this, [this] {
        runGuarded(this, [this] {
            commitOpenEditors();
            BeforeRefresh();
            RefreshList();
        });
    });
    connect(actnColumns, &QAction::triggered, this, [this] {
        TdlgListChoose chooser(this);
        const auto *model = m_grid->datasetModel();
        if (!model)
            return;
        QStringList titles;
        QList<bool> shown;
        for (int column = 0; column < int(model->columns().size()); ++column) {
            titles << model->columns()[size_t(column)].title;
            shown << !m_grid->isColumnHidden(column);
        }
        chooser.setItems(titles, shown);
        if (chooser.exec() != QDialog::Accepted)
            return;
        const QList<bool> ticked = chooser.ticked();
        for (int column = 0; column < ticked.size(); ++column)
            m_grid->setColumnShown(column, ticked.at(column));
    });

    m_mainLayout = new QVBoxLayout(this);
    m_mainLayout->setContentsMargins(0, 0, 0, 0);
    m_mainLayout->setSpacing(2);
    m_toolbar = new QWidget(this);
    m_toolbar->setObjectName(QStringLiteral("ToolBar"));
    m_mainLayout->addWidget(m_toolbar);
    m_filterPanel = new QWidget(this);
    m_filterLayout = new QHBoxLayout(m_filterPanel);
    m_filterPanel->hide();
    m_mainLayout->addWidget(m_filterPanel);
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("Grid"));
    m_mainLayout->addWidget(m_grid, 1);

    m_btnChoose = addToolButton(actnChoose);
    m_btnNew = addToolButton(actnNew);
    m_btnEdit = addToolButton(actnEdit);
    m_btnDelete = addToolButton(actnDelete);
    m_btnFilter = addToolButton(actnFilter);
    m_btnRemoveFilter = addToolButton(actnRemoveFilter);
    m_btnPrint = addToolButton(actnPrint);
    m_btnClose = addToolButton(actnClose);
    int height = 0;
    for (QToolButton *button : m_toolbar->findChildren<QToolButton *>())
        height = qMax(height, button->sizeHint().height());
    m_toolbar->setFixedHeight(height + 4);

    m_gridMenu = new QMenu(this);
    m_gridMenu->addAction(actnNew);
    m_gridMenu->addAction(actnEdit);
    m_gridMenu->addAction(actnDelete);
    m_gridMenu->addSeparator();
    m_gridMenu->addAction(actnColumns);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_gridMenu->popup(m_grid->viewport()->mapToGlobal(at)); });
    // While choosing, Enter on the grid and a double-click choose the row;
    // otherwise the double-click is the window's own.
    m_grid->installEventFilter(this);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] {
        if (m_choosing)
            actnChoose->trigger();
        else
            GridDoubleClicked();
    });

    resize(760, 520);
    BuildToolbar();
    UpdateActions();
}

QToolButton *TfrmBaseGridForm::addToolButton(QAction *action)
{
    auto *button = new QToolButton(m_toolbar);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->resize(qMax(64, button->sizeHint().width()), button->sizeHint().height());
    return button;
}

void TfrmBaseGridForm::setToolbarButtonShown(QToolButton *button, bool shown)
{
    button->setVisible(shown);
}

void TfrmBaseGridForm::setDataset(db::Dataset &dataset, std::vector<GridColumn> columns)
{
    m_dataset = &dataset;
    m_grid->bind(dataset, std::move(columns));
    // A window given its list after its layout was read (the ready-made
    // list, set up by its opener) takes the stored columns now.
    if (layoutLoaded() && SaveGridLayout)
        LoadGridLayout(*m_grid, Settings());
    connect(&dataset, &db::Dataset::stateChanged, this, &TfrmBaseGridForm::UpdateActions);
    connect(&dataset, &db::Dataset::reset, this, &TfrmBaseGridForm::UpdateActions);
    connect(&dataset, &db::Dataset::currentChanged, this, &TfrmBaseGridForm::UpdateActions);
    connect(&dataset, &db::Dataset::rowInserted, this, &TfrmBaseGridForm::UpdateActions);
    connect(&dataset, &db::Dataset::rowRemoved, this, &TfrmBaseGridForm::UpdateActions);
    UpdateActions();
}

bool TfrmBaseGridForm::isBrowsing() const
{
    return m_dataset && m_dataset->state() == db::Dataset::State::Browse;
}

bool TfrmBaseGridForm::isEditingDataset() const
{
    return m_dataset && m_dataset->isEditing();
}

void TfrmBaseGridForm::UpdateActions()
{
    const bool open = m_dataset && m_dataset->isOpen();
    const bool filled = open && !m_dataset->isEmpty();
    actnNew->setEnabled(AllowEdit && AllowInsert && open);
    actnEdit->setEnabled(AllowEdit && filled);
    actnDelete->setEnabled(AllowEdit && AllowDelete && filled);
    actnFilter->setEnabled(AllowFilter && isBrowsing());
    actnRemoveFilter->setEnabled(FilterActive && AllowFilter && isBrowsing());
    actnPrint->setEnabled(isBrowsing());
    actnChoose->setEnabled(m_choosing && isBrowsing() && filled);
}

bool TfrmBaseGridForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && m_choosing && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            actnChoose->trigger();
            return true;
        }
    }
    return TfrmBaseForm::eventFilter(watched, event);
}

void TfrmBaseGridForm::setChooseMode(bool choosing)
{
    m_choosing = choosing;
    actnChoose->setVisible(choosing);
    BuildToolbar();
    UpdateActions();
}

void TfrmBaseGridForm::ChooseExecute()
{
    if (!actnChoose->isEnabled())
        return;
    m_chosenKey = m_dataset->value(KeyField);
    done(QDialog::Accepted);
}

int TfrmBaseGridForm::ChosenKey() const
{
    return result() == QDialog::Accepted && !m_chosenKey.isNull() ? m_chosenKey.toInt() : -1;
}

void TfrmBaseGridForm::BuildToolbar()
{
    m_toolbarLayout.clear();
    setToolbarButtonShown(m_btnChoose, m_choosing);
    if (m_choosing)
        m_toolbarLayout.addButton(m_btnChoose, 0);
    setToolbarButtonShown(m_btnNew, AllowInsert);
    setToolbarButtonShown(m_btnEdit, AllowEdit);
    setToolbarButtonShown(m_btnDelete, AllowDelete);
    m_toolbarLayout.addButton(m_btnNew, 0);
    m_toolbarLayout.addButton(m_btnEdit, 0);
    m_toolbarLayout.addButton(m_btnDelete, 0);
    int group = 1;
    setToolbarButtonShown(m_btnFilter, AllowFilter);
    setToolbarButtonShown(m_btnRemoveFilter, AllowFilter);
    if (AllowFilter) {
        m_toolbarLayout.addButton(m_btnFilter, group);
        m_toolbarLayout.addButton(m_btnRemoveFilter, group);
        ++group;
    }
    setToolbarButtonShown(m_btnPrint, ShowPrint);
    if (ShowPrint)
        m_toolbarLayout.addButton(m_btnPrint, group);
}

void TfrmBaseGridForm::ArrangeToolbar()
{
    m_toolbarLayout.arrange(2);
    m_btnClose->move(m_toolbar->width() - m_btnClose->width() - 2, 2);
}

void TfrmBaseGridForm::showEvent(QShowEvent *event)
{
    TfrmBaseForm::showEvent(event);
    ArrangeToolbar();
}

void TfrmBaseGridForm::resizeEvent(QResizeEvent *event)
{
    TfrmBaseForm::resizeEvent(event);
    ArrangeToolbar();
}

void TfrmBaseGridForm::NewExecute()
{
    m_dataset->append();
}

void TfrmBaseGridForm::EditExecute()
{
    m_dataset->edit();
}

void TfrmBaseGridForm::DeleteExecute()
{
    if (DeleteVeto())
        return;
    // A row other rows use is refused before the user is asked.
    m_dataset->checkNotUsed();
    if (MessageDlg(QStringLiteral("Моля, потвърдете изтриване!"), TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    BeforeDelete();
    m_dataset->remove();
}

void TfrmBaseGridForm::FilterExecute()
{
}

void TfrmBaseGridForm::GridDoubleClicked()
{
    if (m_dataset && !m_dataset->isEmpty() && actnEdit->isEnabled())
        actnEdit->trigger();
}

bool TfrmBaseGridForm::DeleteVeto()
{
    return false;
}

void TfrmBaseGridForm::BeforeDelete()
{
}

bool TfrmBaseGridForm::ApplyWhere(const QString &)
{
    return true;
}

void TfrmBaseGridForm::RemoveFilter()
{
    FilterActive = false;
    setWindowTitle(BaseCaption);
    UpdateActions();
}

bool TfrmBaseGridForm::LocateRecord(db::Dataset &dataset, const QString &keyFields, const QVariant &values)
{
    const QVariantList list = values.typeId() == QMetaType::QVariantList ? values.toList() : QVariantList{values};
    if (list.isEmpty() || list.first().isNull())
        return false;
    const QStringList names = keyFields.split(QLatin1Char(';'));
    for (const QString &name : names) {
        if (!dataset.hasField(name))
            throw varnex::Error(QStringLiteral("Bad seek field name! %1").arg(name));
    }
    dataset.setScrollEventsEnabled(false);
    dataset.disableControls();
    bool found = false;
    try {
        // Moving stores a pending edit, which may fail; the list must not
        // stay silenced then.
        found = dataset.locate(names, list);
    } catch (...) {
        dataset.enableControls();
        dataset.setScrollEventsEnabled(true);
        throw;
    }
    dataset.enableControls();
    dataset.setScrollEventsEnabled(true);
    if (dataset.afterScroll)
        dataset.afterScroll(dataset);
    return found;
}

void TfrmBaseGridForm::SaveCurrentKey()
{
    m_rememberedKey = m_dataset && !m_dataset->isEmpty() && m_dataset->hasField(KeyField) ? m_dataset->value(KeyField)
                                                                                          : QVariant();
}

void TfrmBaseGridForm::RestoreCurrentKey()
{
    if (!m_dataset)
        return;
    if (!LocateRecord(*m_dataset, KeyField, m_rememberedKey))
        m_dataset->first();
}

void TfrmBaseGridForm::BeforeRefresh()
{
}

void TfrmBaseGridForm::RefreshList()
{
    if (!m_dataset)
        return;
    // Reading the list again would drop a pending edit unseen; it is stored
    // first, and a refusal keeps it and the list as they are.
    if (m_dataset->isEditing())
        m_dataset->post();
    m_dataset->disableControls();
    try {
        SaveCurrentKey();
        m_dataset->reopen();
        m_dataset->last();
        m_dataset->first();
        RestoreCurrentKey();
    } catch (...) {
        m_dataset->enableControls();
        throw;
    }
    m_dataset->enableControls();
}

void TfrmBaseGridForm::ApplyShowParams()
{
    const QString command = TakeParam(SettingsPrefix + QLatin1String("::SHOWCMD"), QString()).toString();
    if (command == QLatin1String("CHOOSE"))
        setChooseMode(true);
    else if (command == QLatin1String("NEW") && actnNew->isEnabled())
        actnNew->trigger();
}

void TfrmBaseGridForm::ShowList()
{
    show();
    ApplyShowParams();
}

void TfrmBaseGridForm::AfterShow()
{
    if (isModal())
        ApplyShowParams();
}

void TfrmBaseGridForm::SetFilterCaption(const QString &text)
{
    if (!text.isEmpty())
        setWindowTitle(BaseCaption + QLatin1String(" [") + text + QLatin1Char(']'));
}

void TfrmBaseGridForm::SetFilter(const QString &condition, const QString &captionText)
{
    const QString clause = QLatin1String("where (") + condition + QLatin1Char(')');
    if (!ApplyWhere(clause))
        return;
    WhereClause = clause;
    SetFilterCaption(captionText);
    FilterActive = true;
    UpdateActions();
}

void TfrmBaseGridForm::LoadLayout()
{
    TfrmBaseForm::LoadLayout();
    if (SaveGridLayout)
        LoadGridLayout(*m_grid, Settings());
}

void TfrmBaseGridForm::SaveLayout()
{
    TfrmBaseForm::SaveLayout();
    if (SaveGridLayout && m_grid->datasetModel())
        SaveGridLayoutTo(*m_grid, Settings());
}

void TfrmBaseGridForm::CustomizeNotification(TNotifyPopup &popup, int kind)
{
    popup.setDisplayTime(4000);
    if (kind == 1) {
        popup.setImage(style()->standardIcon(QStyle::SP_MessageBoxInformation));
        popup.setBackground(QColor(255, 255, 224));
    } else if (kind == 2) {
        popup.setImage(style()->standardIcon(QStyle::SP_MessageBoxWarning));
        popup.setBackground(QColor(255, 224, 224));
    }
}

void TfrmBaseGridForm::done(int result)
{
    commitOpenEditors();
    if (isEditingDataset()) {
        try {
            m_dataset->post();
        } catch (const varnex::Error &error) {
            // What the user typed stays on screen to be put right, or dropped
            // only when the user says so.
            ShowErrorOf(error);
            if (MessageDlg(QStringLiteral("Отказвате ли се от направените промени?"), TMsgDlgType::mtConfirmation,
                           mbYes | mbNo)
                != mrYes) {
                m_grid->setFocus();
                return;
            }
            m_dataset->cancel();
        }
    }
    TfrmBaseForm::done(result);
}
