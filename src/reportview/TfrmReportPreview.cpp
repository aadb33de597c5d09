#include "reportview/TfrmReportPreview.h"

#include "reportview/ReportPrint.h"
#include "reportview/ReportTableModel.h"
#include "ui/ErrorGuard.h"
#include "ui/TfrmPrintPreview.h"
#include "util/Error.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TfrmReportPreview::TfrmReportPreview(reportdata::ReportTable table, const QString &csvFolder, QWidget *parent)
    : QDialog(parent)
    , m_model(new ReportTableModel(std::move(table), this))
    , m_csvFolder(csvFolder)
{
    setWindowTitle(m_model->table().title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    askPath = [this](const QString &caption, const QString &suggested, const QString &filter) {
        return QFileDialog::getSaveFileName(this, caption, suggested, filter, nullptr, QFileDialog::DontUseNativeDialog);
    };

    auto *title = new QLabel(m_model->table().title, this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto *parameters = new QLabel(m_model->table().parameters, this);
    parameters->setWordWrap(true);

    m_view = new QTableView(this);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAlternatingRowColors(true);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    // Every column as wide as its title at least; the widest text column
    // takes what the window has to spare.
    const std::vector<reportdata::ReportColumn> &columns = m_model->table().columns;
    const int charWidth = m_view->fontMetrics().averageCharWidth();
    const QFontMetrics headerMetrics(m_view->horizontalHeader()->font());
    int width = 0;
    int stretched = -1;
    for (size_t i = 0; i < columns.size(); ++i) {
        const int columnWidth = qMax(columns[i].width * charWidth, headerMetrics.horizontalAdvance(columns[i].title)) + 16;
        m_view->setColumnWidth(int(i), columnWidth);
        width += columnWidth;
        if (columns[i].format == reportdata::CellFormat::Text
            && (stretched < 0 || columns[i].width > columns[size_t(stretched)].width))
            stretched = int(i);
    }
    if (stretched >= 0)
        m_view->horizontalHeader()->setSectionResizeMode(stretched, QHeaderView::Stretch);
    else
        m_view->horizontalHeader()->setStretchLastSection(true);

    m_print = new QPushButton(QStringLiteral("Печат"), this);
    m_pdf = new QPushButton(QStringLiteral("PDF"), this);
    m_csv = new QPushButton(QStringLiteral("CSV"), this);
    auto *close = new QPushButton(QStringLiteral("Затвори"), this);
    connect(m_print, &QPushButton::clicked, this, [this] { runGuarded(this, [this] { print(); }); });
    connect(m_pdf, &QPushButton::clicked, this, [this] {
        runGuarded(this, [this] {
            const QString path = askPath(QStringLiteral("Запис като PDF"), suggestedName(QStringLiteral(".pdf")),
                                         QStringLiteral("PDF (*.pdf)"));
            if (!path.isEmpty() && !savePdf(path))
                throw varnex::Error(QStringLiteral("Файлът \"%1\" не може да бъде записан.").arg(path));
        });
    });
    connect(m_csv, &QPushButton::clicked, this, [this] {
        runGuarded(this, [this] {
            const QString path = askPath(QStringLiteral("Запис като CSV"), suggestedName(QStringLiteral(".csv")),
                                         QStringLiteral("CSV (*.csv)"));
            if (!path.isEmpty())
                saveCsv(path);
        });
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_print);
    buttons->addWidget(m_pdf);
    buttons->addWidget(m_csv);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(parameters);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    resize(qBound(600, width + 40, 1200), 600);
}

TfrmReportPreview::~TfrmReportPreview() = default;

const reportdata::ReportTable &TfrmReportPreview::table() const
{
    return m_model->table();
}

QString TfrmReportPreview::suggestedName(const QString &suffix) const
{
    const QString name = table().title + suffix;
    return m_csvFolder.isEmpty() ? name : QDir(m_csvFolder).filePath(name);
}

void TfrmReportPreview::print()
{
    const reportdata::ReportTable content = table();
    TfrmPrintPreview preview(
        content.title, [content](QPagedPaintDevice &device) { renderReport(content, device); },
        reportNeedsLandscape(content), this);
    preview.exec();
}

bool TfrmReportPreview::savePdf(const QString &path)
{
    const reportdata::ReportTable content = table();
    TfrmPrintPreview preview(
        content.title, [content](QPagedPaintDevice &device) { renderReport(content, device); },
        reportNeedsLandscape(content), this);
    return preview.saveAsPdf(path);
}

void TfrmReportPreview::saveCsv(const QString &path)
{
    reportdata::writeCsv(table(), path);
}
