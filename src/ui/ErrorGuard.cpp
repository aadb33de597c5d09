#include "ui/ErrorGuard.h"

#include "db/Dataset.h"
#include "ui/Dialogs.h"

#include <QDebug>
#include <QWidget>

QWidget *editorForField(QWidget *window, const QString &field)
{
    if (!window)
        return nullptr;
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (child->property("dataField").toString().compare(field, Qt::CaseInsensitive) == 0 && child->isEnabled())
            return child;
    }
    return nullptr;
}

bool runGuarded(QWidget *window, const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const db::FieldError &error) {
        MessageDlg(error.message(), TMsgDlgType::mtError, mbOK);
        if (QWidget *editor = editorForField(window, error.field()))
            editor->setFocus();
    } catch (const varnex::Error &error) {
        if (!error.detail().isEmpty())
            qWarning().noquote() << error.message() << "|" << error.detail();
        ShowErrorBox(error.message());
    }
    return false;
}
