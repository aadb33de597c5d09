#include "reports/TfrmSpravki.h"

#include "core/TSettings.h"
#include "core/Tdm.h"
#include "reports/ReportModule.h"
#include "reports/ReportNames.h"
#include "ui/DisabledGlyph.h"
#include "ui/ErrorGuard.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kReportIndexRole = Qt::UserRole;

} // namespace

TfrmSpravki::TfrmSpravki(QWidget *owner)
    : TfrmBaseForm(owner)
{
    setObjectName(QStringLiteral("frmSpravki"));
    setWindowTitle(QStringLiteral("Отчети"));
    setMinimumSize(340, 280);
    resize(420, 360);

    // The strings are made before the module is loaded, so a connection
    // the module cannot be told about leaves it untouched.
    const reports::ConnectionData connection = reports::connectionOf(dm());
    const QByteArray databaseName = reports::shortString(connection.databaseName);
    const QByteArray parameters = reports::shortString(connection.parameters);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tvReports"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    const QSize glyph(16, 16);
    m_show = new QPushButton(withDisabledGlyph(style()->standardIcon(QStyle::SP_FileDialogContentsView), glyph),
                             QStringLiteral("Покажи"), this);
    m_show->setToolTip(QStringLiteral("Покажи Отчет"));
    m_show->setDefault(true);
    m_settings = new QPushButton(withDisabledGlyph(style()->standardIcon(QStyle::SP_FileDialogDetailedView), glyph),
                                 QStringLiteral("Настройки"), this);
    m_settings->setAutoDefault(false);
    m_close = new QPushButton(withDisabledGlyph(style()->standardIcon(QStyle::SP_DialogCloseButton), glyph),
                              QStringLiteral("Връщане"), this);
    m_close->setAutoDefault(false);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_show);
    buttons->addWidget(m_settings);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);

    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { selectionChanged(current); });
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this] { ShowReport(); });
    connect(m_show, &QPushButton::clicked, this, [this] { ShowReport(); });
    connect(m_settings, &QPushButton::clicked, this, [this] { ShowSettings(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    m_module = std::make_unique<reports::ReportModule>(reports::moduleFolders());
    fillTree();
    m_module->initReports(databaseName, parameters);
    selectionChanged(m_tree->currentItem());
}

TfrmSpravki::~TfrmSpravki() = default;

void TfrmSpravki::fillTree()
{
    const QIcon groupImage = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon reportImage = style()->standardIcon(QStyle::SP_FileIcon);
    for (const reports::ReportGroup &group : reports::groupReports(reports::parseReportNames(m_module->reportNames()))) {
        auto *node = new QTreeWidgetItem(m_tree, QStringList(group.name));
        node->setIcon(0, groupImage);
        node->setData(0, kReportIndexRole, -1);
        for (const reports::ReportEntry &report : group.reports) {
            auto *leaf = new QTreeWidgetItem(node, QStringList(report.name));
            leaf->setIcon(0, reportImage);
            leaf->setData(0, kReportIndexRole, report.index);
        }
    }
}

int TfrmSpravki::selectedReport() const
{
    const QTreeWidgetItem *current = m_tree->currentItem();
    return current && current->parent() ? current->data(0, kReportIndexRole).toInt() : -1;
}

void TfrmSpravki::selectionChanged(QTreeWidgetItem *current)
{
    if (current && !current->parent() && !current->isExpanded()) {
        m_tree->collapseAll();
        current->setExpanded(true);
    }
    m_show->setEnabled(selectedReport() >= 0);
}

void TfrmSpravki::ShowReport()
{
    const int index = selectedReport();
    if (index < 0)
        return;
    runGuarded(this, [this, index] { m_module->previewReport(index); });
}

void TfrmSpravki::ShowSettings()
{
    runGuarded(this, [this] { m_module->showSettings(); });
}

void TfrmSpravki::LoadPosition()
{
    m_centre = Settings().ReadString(QStringLiteral("posLeft"), QString()).isEmpty();
    TfrmBaseForm::LoadPosition();
}

void TfrmSpravki::showEvent(QShowEvent *event)
{
    TfrmBaseForm::showEvent(event);
    // Only a shown window has its frame, so it is centred here.
    if (!m_centre || isMaximized())
        return;
    m_centre = false;
    if (const QScreen *shownOn = screen() ? screen() : QApplication::primaryScreen()) {
        QRect frame(QPoint(), frameGeometry().size());
        frame.moveCenter(shownOn->availableGeometry().center());
        move(frame.topLeft());
    }
}
