#include "backup/TfrmRemarks.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmRemarks::TfrmRemarks(QWidget *owner)
    : TfrmYesNo(owner)
{
    setObjectName(QStringLiteral("frmRemarks"));
    AskBeforeDroppingInput = true;
    RememberPosition = false;
    RememberSize = false;
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("memText"));
    m_text->setMinimumSize(420, 160);
    contentLayout()->addWidget(m_text);
    btnOK()->setText(QStringLiteral("OK"));
    btnCancel()->setText(QStringLiteral("Cancel"));
    // The window is there to be written in: the text comes first and has the
    // focus, so typing goes into it and Enter breaks its line.
    setTabOrder(m_text, btnOK());
    setTabOrder(btnOK(), btnCancel());
    m_text->setFocus();
}

bool EditNotes(const QString &caption, QString &text, QWidget *owner)
{
    TfrmRemarks window(owner);
    window.setWindowTitle(caption);
    window.memText()->setPlainText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    // What the user adds follows the proposed lines.
    window.memText()->moveCursor(QTextCursor::End);
    if (window.exec() != QDialog::Accepted)
        return false;
    text = window.memText()->toPlainText();
    return true;
}
