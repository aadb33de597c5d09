#pragma once

#include "reportdata/ReportTable.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QTableView;
class ReportTableModel;

// A report on screen with "Печат" (the print preview), "PDF" and "CSV";
// all three take the same table the screen shows.
class TfrmReportPreview : public QDialog
{
    Q_OBJECT

public:
    TfrmReportPreview(reportdata::ReportTable table, const QString &csvFolder, QWidget *parent = nullptr);
    ~TfrmReportPreview() override;

    const reportdata::ReportTable &table() const;
    QTableView *view() const { return m_view; }
    QPushButton *btnPrint() const { return m_print; }
    QPushButton *btnPdf() const { return m_pdf; }
    QPushButton *btnCsv() const { return m_csv; }

    // Where to save: a file dialog unless replaced; an empty answer cancels.
    std::function<QString(const QString &caption, const QString &suggested, const QString &filter)> askPath;

    void print();
    // Writes the file; false when it could not be written.
    bool savePdf(const QString &path);
    void saveCsv(const QString &path);

private:
    QString suggestedName(const QString &suffix) const;

    ReportTableModel *m_model;
    QString m_csvFolder;
    QTableView *m_view;
    QPushButton *m_print;
    QPushButton *m_pdf;
    QPushButton *m_csv;
};
