#include "ui/TfrmBaseVXDBEdit.h"

#include "ui/DataGrid.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TfrmBaseVXDBEdit::TfrmBaseVXDBEdit(QWidget *owner)
    : TfrmBaseDBEditForm(owner)
{
    m_header = new QVBoxLayout;
    contentLayout()->addLayout(m_header, 1);

    auto *lineButtons = new QHBoxLayout;
    lineButtons->addStretch();
    m_newLine = new QPushButton(QStringLiteral("Нов ред"), this);
    m_newLine->setToolTip(QStringLiteral("Добавя реда и започва нов"));
    m_deleteLine = new QPushButton(QStringLiteral("Изтрий"), this);
    m_deleteLine->setToolTip(QStringLiteral("Изтрива текущия ред"));
    for (QPushButton *button : {m_newLine, m_deleteLine}) {
        button->setAutoDefault(false);
        lineButtons->addWidget(button);
    }
    contentLayout()->addLayout(lineButtons);

    m_lines = new DataGrid(this);
    m_lines->setObjectName(QStringLiteral("GridLines"));
    contentLayout()->addWidget(m_lines, 1);

    m_destroy = new QPushButton(QStringLiteral("Унищожи"), this);
    m_destroy->setToolTip(QStringLiteral("Унищожава документа"));
    m_destroy->setAutoDefault(false);
    buttonLayout()->insertWidget(1, m_destroy);
}
