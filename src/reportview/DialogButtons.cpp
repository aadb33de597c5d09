#include "reportview/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

void layOutWithButtons(QDialog &dialog, QFormLayout *fields, const QString &acceptCaption)
{
    auto *buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(acceptCaption, QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отказ"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}
