#include "reportview/TfrmReportSettings.h"

#include "reportview/DialogButtons.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

namespace {

const QString kExportFolder = QStringLiteral("export/folder");

} // namespace

ReportSettings ReportSettings::load(const QString &file)
{
    QSettings store(file, QSettings::IniFormat);
    return {store.value(kExportFolder).toString()};
}

void ReportSettings::save(const QString &file) const
{
    QSettings store(file, QSettings::IniFormat);
    store.setValue(kExportFolder, exportFolder);
    store.sync();
}

TfrmReportSettings::TfrmReportSettings(const ReportSettings &settings, QWidget *parent)
    : QDialog(parent)
    , m_folder(new QLineEdit(settings.exportFolder, this))
{
    setWindowTitle(QStringLiteral("Настройки на справките"));
    auto *browse = new QPushButton(QStringLiteral("..."), this);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Папка за PDF и CSV файлове"),
                                                                 m_folder->text(), QFileDialog::ShowDirsOnly);
        if (!folder.isEmpty())
            m_folder->setText(folder);
    });
    auto *row = new QHBoxLayout;
    row->addWidget(m_folder, 1);
    row->addWidget(browse);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Папка за PDF и CSV:"), row);
    layOutWithButtons(*this, form, QStringLiteral("Запиши"));
    resize(480, sizeHint().height());
}

ReportSettings TfrmReportSettings::settings() const
{
    return {m_folder->text().trimmed()};
}
