#include "ui/TfrmPrintPreview.h"

#include "ui/Dialogs.h"
#include "ui/PrinterIcon.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TfrmPrintPreview::TfrmPrintPreview(const QString &title, Render render, bool landscape, QWidget *parent)
    : QDialog(parent)
    , m_title(title)
    , m_render(std::move(render))
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setWindowTitle(title);
    m_printer->setDocName(title);
    m_printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);

    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) { m_render(*printer); });

    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto add = [this](const char *caption, const char *hint, const QIcon &icon) {
        QAction *action = m_toolBar->addAction(icon, QString::fromUtf8(caption));
        action->setToolTip(QString::fromUtf8(hint));
        return action;
    };
    const auto standard = [this](QStyle::StandardPixmap icon) { return style()->standardIcon(icon); };
    QAction *print = add("Печат", "Избор на принтер и печат на справката", printerIcon());
    QAction *setup = add("Настройки", "Избор и настройка на принтер за печат\rНастройки на справката",
                         standard(QStyle::SP_FileDialogDetailedView));
    QAction *zoom = add("Увеличение", "Степен на увеличение на изгледа на справката", standard(QStyle::SP_FileDialogContentsView));
    QAction *previous = add("Пред.стр.", "Показва предишната страница на справката", standard(QStyle::SP_ArrowBack));
    QAction *next = add("Следв.стр.", "Показва следващата страница на справката", standard(QStyle::SP_ArrowForward));
    QAction *stop = add("Прекрати", "Прекратява генерирането на справката", standard(QStyle::SP_BrowserStop));
    QAction *pdf = add("PDF", "Записва справката като PDF файл", standard(QStyle::SP_DriveHDIcon));
    QAction *close = add("Изход", "Затваря прозореца с изгледа на справката", standard(QStyle::SP_DialogCloseButton));
    // The pages are made at once; there is nothing running to stop.
    stop->setEnabled(false);

    auto *zoomMenu = new QMenu(this);
    zoomMenu->addAction(QStringLiteral("По ширина"), m_preview, &QPrintPreviewWidget::fitToWidth);
    zoomMenu->addAction(QStringLiteral("Цялата страница"), m_preview, &QPrintPreviewWidget::fitInView);
    zoomMenu->addAction(QStringLiteral("+"), m_preview, [this] { m_preview->zoomIn(); });
    zoomMenu->addAction(QStringLiteral("-"), m_preview, [this] { m_preview->zoomOut(); });
    zoom->setMenu(zoomMenu);
    if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(zoom)))
        button->setPopupMode(QToolButton::InstantPopup);

    connect(print, &QAction::triggered, this, [this] {
        QPrintDialog dialog(m_printer.get(), this);
        if (dialog.exec() == QDialog::Accepted)
            m_preview->print();
    });
    connect(setup, &QAction::triggered, this, [this] {
        QPageSetupDialog dialog(m_printer.get(), this);
        if (dialog.exec() == QDialog::Accepted)
            m_preview->updatePreview();
    });
    connect(previous, &QAction::triggered, this, [this] { m_preview->setCurrentPage(m_preview->currentPage() - 1); });
    connect(next, &QAction::triggered, this, [this] { m_preview->setCurrentPage(m_preview->currentPage() + 1); });
    connect(pdf, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Запис като PDF"), m_title + QLatin1String(".pdf"),
                                                          QStringLiteral("PDF (*.pdf)"), nullptr,
                                                          QFileDialog::DontUseNativeDialog);
        if (!path.isEmpty() && !saveAsPdf(path))
            ShowErrorBox(QStringLiteral("Файлът „%1“ не може да бъде записан.").arg(path));
    });
    connect(close, &QAction::triggered, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_preview, 1);
    resize(900, 700);
}

TfrmPrintPreview::~TfrmPrintPreview() = default;

bool TfrmPrintPreview::saveAsPdf(const QString &path)
{
    {
        QPdfWriter writer(path);
        if (!writer.setPageLayout(m_printer->pageLayout()))
            return false;
        writer.setTitle(m_title);
        writer.setResolution(300);
        m_render(writer);
    }
    return QFileInfo(path).size() > 0;
}
