#pragma once

#include <QDialog>

#include <functional>

class QPagedPaintDevice;
class QPrinter;
class QPrintPreviewWidget;
class QToolBar;

// The print preview with a Bulgarian toolbar: print, printer set-up, zoom,
// previous and next page, stop, save as PDF and close.
class TfrmPrintPreview : public QDialog
{
    Q_OBJECT

public:
    using Render = std::function<void(QPagedPaintDevice &)>;

    TfrmPrintPreview(const QString &title, Render render, bool landscape, QWidget *parent = nullptr);
    ~TfrmPrintPreview() override;

    QToolBar *toolBar() const { return m_toolBar; }
    QPrinter &printer() { return *m_printer; }
    // Writes the pages to a PDF file; false when it cannot be written.
    bool saveAsPdf(const QString &path);

private:
    QString m_title;
    Render m_render;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_preview;
    QToolBar *m_toolBar;
};
