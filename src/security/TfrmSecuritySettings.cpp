#include "security/TfrmSecuritySettings.h"

#include "core/TBaseDM.h"
#include "ui/ErrorGuard.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const int kItemId = Qt::UserRole;
const int kHasTick = Qt::UserRole + 1;

// The hints beside the "Запис" buttons wrap rather than being cut off
// where their group is narrow.
QLabel *hint(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QTreeWidget *fixedTree(QWidget *parent)
{
    auto *tree = new QTreeWidget(parent);
    tree->setHeaderHidden(true);
    tree->setItemsExpandable(false);
    tree->setRootIsDecorated(false);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return tree;
}
} // namespace

TfrmSecuritySettings::TfrmSecuritySettings(TBaseDM &data, QWidget *owner)
    : TfrmBaseForm(owner)
    , m_data(data)
{
    setObjectName(QStringLiteral("frmSecuritySettings"));
    setWindowTitle(QStringLiteral("Настройка на права за достъп"));
    RememberPosition = false;
    RememberSize = false;

    auto *layout = new QVBoxLayout(this);
    auto *modeGroup = new QGroupBox(QStringLiteral(" Режим на сигурност "), this);
    auto *modeLayout = new QHBoxLayout(modeGroup);
    m_mode = new QComboBox(modeGroup);
    m_mode->addItems({QStringLiteral("Права дефинирани чрез зони"), QStringLiteral("Права дефинирани чрез потребители")});
    m_mode->setEnabled(false);
    auto *apply = new QPushButton(QStringLiteral("Установи"), modeGroup);
    apply->setEnabled(m_mode->isEnabled());
    modeLayout->addWidget(m_mode, 1);
    modeLayout->addWidget(apply);
    layout->addWidget(modeGroup);

    m_zoneGroup = new QGroupBox(QStringLiteral(" Права в зони "), this);
    auto *zoneLayout = new QVBoxLayout(m_zoneGroup);
    auto *zoneTop = new QHBoxLayout;
    zoneTop->addWidget(hint(QStringLiteral("Изберете, защитените с парола зони и натиснете -->"), m_zoneGroup), 1);
    m_saveZones = new QPushButton(QStringLiteral("Запис"), m_zoneGroup);
    zoneTop->addWidget(m_saveZones);
    zoneLayout->addLayout(zoneTop);
    m_zoneTree = fixedTree(m_zoneGroup);
    m_zoneTree->viewport()->installEventFilter(this);
    m_zoneTree->installEventFilter(this);
    zoneLayout->addWidget(m_zoneTree);
    layout->addWidget(m_zoneGroup, 1);

    // The user model has its place here but no behaviour in this system.
    m_userGroup = new QGroupBox(QStringLiteral(" Права на потребители "), this);
    auto *userLayout = new QHBoxLayout(m_userGroup);
    auto *users = new QGroupBox(QStringLiteral(" Потребители "), m_userGroup);
    auto *usersLayout = new QVBoxLayout(users);
    usersLayout->addWidget(new QListWidget(users));
    auto *userButtons = new QHBoxLayout;
    for (const char *caption : {"Нов", "Редакция", "Изтриване"})
        userButtons->addWidget(new QPushButton(QString::fromUtf8(caption), users));
    usersLayout->addLayout(userButtons);
    auto *rights = new QGroupBox(QStringLiteral(" Права "), m_userGroup);
    auto *rightsLayout = new QVBoxLayout(rights);
    auto *rightsTop = new QHBoxLayout;
    rightsTop->addWidget(hint(QStringLiteral("Изберете правата на потребителя и натиснете -->"), rights), 1);
    rightsTop->addWidget(new QPushButton(QStringLiteral("Запис"), rights));
    rightsLayout->addLayout(rightsTop);
    rightsLayout->addWidget(fixedTree(rights));
    userLayout->addWidget(users);
    userLayout->addWidget(rights);
    layout->addWidget(m_userGroup, 1);

    auto *bottom = new QHBoxLayout;
    m_warning = new QLabel(QStringLiteral("Промените не са записани!"), this);
    QFont bold = m_warning->font();
    bold.setBold(true);
    m_warning->setFont(bold);
    m_warning->hide();
    bottom->addWidget(m_warning);
    // The warning is mostly hidden; the stretch keeps "Изход" its own size.
    bottom->addStretch(1);
    auto *exit = new QPushButton(QStringLiteral("Изход"), this);
    exit->setAutoDefault(false);
    bottom->addWidget(exit);
    layout->addLayout(bottom);

    connect(m_saveZones, &QPushButton::clicked, this, [this] { runGuarded(this, [this] { SaveZones(); }); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(560, 460);
}

void TfrmSecuritySettings::fill()
{
    const bool userModel = m_data.GetConfigByName(QStringLiteral("AUTH_MODE")) == QLatin1String("1");
    m_userGroup->setVisible(userModel);
    m_zoneGroup->setVisible(!userModel);
    m_mode->setCurrentIndex(userModel ? 1 : 0);
    m_zoneTree->clear();
    if (!userModel) {
        addChildren(nullptr, 0);
        m_zoneTree->expandAll();
        readTicks();
    }
    m_warning->hide();
}

void TfrmSecuritySettings::addChildren(QTreeWidgetItem *parent, int parentId)
{
    for (const auto &[text, id] : m_data.ListRightItems(parentId)) {
        auto *item = parent ? new QTreeWidgetItem(parent, {text}) : new QTreeWidgetItem(m_zoneTree, {text});
        item->setData(0, kItemId, id);
        item->setData(0, kHasTick, parent != nullptr || id == 1);
        addChildren(item, id);
    }
}

void TfrmSecuritySettings::readTicks()
{
    for (QTreeWidgetItemIterator it(m_zoneTree); *it; ++it) {
        if ((*it)->data(0, kHasTick).toBool()) {
            const bool allowed = m_data.IsAllowed(m_data.currentUserId, (*it)->data(0, kItemId).toInt());
            (*it)->setCheckState(0, allowed ? Qt::Checked : Qt::Unchecked);
        }
    }
    m_warning->hide();
}

void TfrmSecuritySettings::toggle(QTreeWidgetItem *item)
{
    if (!item || !item->data(0, kHasTick).toBool())
        return;
    item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    m_warning->show();
}

void TfrmSecuritySettings::SaveZones()
{
    for (QTreeWidgetItemIterator it(m_zoneTree); *it; ++it) {
        const bool ticked = (*it)->data(0, kHasTick).toBool() && (*it)->checkState(0) == Qt::Checked;
        m_data.SetRight(m_data.currentUserId, (*it)->data(0, kItemId).toInt(), ticked);
    }
    readTicks();
}

bool TfrmSecuritySettings::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_zoneTree->viewport() && event->type() == QEvent::MouseButtonPress) {
        toggle(m_zoneTree->itemAt(static_cast<QMouseEvent *>(event)->position().toPoint()));
        return true;
    }
    if (watched == m_zoneTree && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space) {
        toggle(m_zoneTree->currentItem());
        return true;
    }
    return TfrmBaseForm::eventFilter(watched, event);
}

void ShowRightsWindow(TBaseDM &data, QWidget *owner)
{
    TfrmSecuritySettings window(data, owner);
    window.fill();
    window.exec();
}
