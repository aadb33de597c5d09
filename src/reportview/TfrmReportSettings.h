#pragma once

#include <QDialog>

class QLineEdit;

// The module's own settings, kept in a file of its own: the folder that
// PDF and CSV files are offered in.
struct ReportSettings
{
    QString exportFolder;

    static ReportSettings load(const QString &file);
    void save(const QString &file) const;
};

class TfrmReportSettings : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmReportSettings(const ReportSettings &settings, QWidget *parent = nullptr);

    ReportSettings settings() const;
    QLineEdit *folderEdit() const { return m_folder; }

private:
    QLineEdit *m_folder;
};
