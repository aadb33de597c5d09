#include "ui/ErrorGuard.h"

#include "db/DatabaseError.h"
#include "db/Dataset.h"
#include "ui/Dialogs.h"

#include <QDebug>
#include <QStackedWidget>
#include <QTabWidget>
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

void focusShowingPage(QWidget *control)
{
    for (QWidget *page = control; page && !page->isWindow(); page = page->parentWidget()) {
        auto *pages = qobject_cast<QStackedWidget *>(page->parentWidget());
        if (auto *tabs = pages ? qobject_cast<QTabWidget *>(pages->parentWidget()) : nullptr)
            tabs->setCurrentWidget(page);
        else if (pages)
            pages->setCurrentWidget(page);
    }
    control->setFocus();
}

void ShowErrorOf(const varnex::Error &error)
{
    const auto *database = dynamic_cast<const db::DatabaseError *>(&error);
    if (database) {
        qWarning().noquote() << error.message() << "|" << database->serverText() << "|" << database->statement();
        ShowErrorBox(database->isExplained() ? error.message() + QLatin1String("\n\n") + database->serverText()
                                             : error.message());
        return;
    }
    if (!error.detail().isEmpty())
        qWarning().noquote() << error.message() << "|" << error.detail();
    ShowErrorBox(error.message());
}

bool runGuarded(QWidget *window, const std::function<void()> &command)
{
    return runGuarded(command, [window](const QString &field) {
        if (QWidget *editor = editorForField(window, field))
            focusShowingPage(editor);
    });
}

bool runGuarded(const std::function<void()> &command, const std::function<void(const QString &)> &focusRefused)
{
    try {
        command();
        return true;
    } catch (const db::FieldError &error) {
        // Without a message the user has already answered for the field.
        if (!error.message().isEmpty())
            MessageDlg(error.message(), TMsgDlgType::mtError, mbOK);
        focusRefused(error.field());
    } catch (const varnex::Error &error) {
        ShowErrorOf(error);
        focusRefused(QString());
    }
    return false;
}
