#include "ui/TdlgListChoose.h"

#include "ui/Dialogs.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TdlgListChoose::TdlgListChoose(QWidget *owner)
    : TfrmYesNo(owner)
{
    setObjectName(QStringLiteral("dlgListChoose"));
    setWindowTitle(QStringLiteral("Избор на колони за визуализация"));
    m_list = new QListWidget(this);
    contentLayout()->addWidget(m_list);
    auto *all = new QPushButton(QStringLiteral("Всички"), this);
    auto *none = new QPushButton(QStringLiteral("Никой"), this);
    all->setAutoDefault(false);
    none->setAutoDefault(false);
    buttonLayout()->insertWidget(0, all);
    buttonLayout()->insertWidget(1, none);
    btnCancel()->setText(QStringLiteral("Отказ"));
    connect(all, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { tickAll(false); });
    resize(320, 360);
}

void TdlgListChoose::setItems(const QStringList &titles, const QList<bool> &ticked)
{
    m_list->clear();
    for (int i = 0; i < titles.size(); ++i) {
        auto *item = new QListWidgetItem(titles.at(i), m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(ticked.value(i) ? Qt::Checked : Qt::Unchecked);
    }
}

QList<bool> TdlgListChoose::ticked() const
{
    QList<bool> result;
    for (int i = 0; i < m_list->count(); ++i)
        result << (m_list->item(i)->checkState() == Qt::Checked);
    return result;
}

void TdlgListChoose::tickAll(bool ticked)
{
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void TdlgListChoose::accept()
{
    if (!ticked().contains(true)) {
        MessageDlg(QStringLiteral("Не сте направили избор!"), TMsgDlgType::mtWarning, mbOK);
        return;
    }
    done(QDialog::Accepted);
}
