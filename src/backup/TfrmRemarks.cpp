#include "backup/TfrmRemarks.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmRemarks::TfrmRemarks(QWidget *owner)
    : TfrmYesNo(owner)
{
    setObjectName(QStringLiteral("frmRemarks"));
    RememberPosition = false;
    RememberSize = false;
    m_text = new QPlainTextEdit(this);
    m_text->setMinimumSize(420, 160);
    contentLayout()->addWidget(m_text);
    btnOK()->setText(QStringLiteral("OK"));
    btnCancel()->setText(QStringLiteral("Cancel"));
}

bool EditNotes(const QString &caption, QString &text, QWidget *owner)
{
    TfrmRemarks window(owner);
    window.setWindowTitle(caption);
    window.memText()->setPlainText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    if (window.exec() != QDialog::Accepted)
        return false;
    text = window.memText()->toPlainText();
    return true;
}
