#include "ui/TfrmBaseForm.h"

#include "core/AppSettings.h"
#include "core/TSettings.h"
#include "ui/DataGrid.h"
#include "ui/TNotifyPopup.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

// Watches the keys of one window: Enter on an edit field, a closed combo
// box or a check box moves the focus on as Tab would.
class EnterAsTab : public QObject
{
public:
    explicit EnterAsTab(TfrmBaseForm *window)
        : QObject(window)
        , m_window(window)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || !widget || widget->window() != m_window
            || widget != QApplication::focusWidget() || !m_window->enterMovesFocus(widget))
            return false;
        m_window->focusNextChild();
        return true;
    }

private:
    TfrmBaseForm *m_window;
};

TfrmBaseForm::TfrmBaseForm(QWidget *owner)
    : QDialog(owner)
{
    new EnterAsTab(this);
}

TfrmBaseForm::~TfrmBaseForm() = default;

TSettings &TfrmBaseForm::Settings()
{
    if (!m_settings)
        m_settings = AppSettings().OpenSection(QString());
    return *m_settings;
}

void TfrmBaseForm::setSettings(std::unique_ptr<TSettings> settings)
{
    m_settings = std::move(settings);
}

void TfrmBaseForm::adoptChild(TfrmBaseForm &child, std::unique_ptr<TSettings> settings)
{
    child.setSettings(settings ? std::move(settings) : Settings().OpenSection(child.objectName()));
    child.LoadLayout();
}

void TfrmBaseForm::SavePosition()
{
    const bool maximized = isMaximized();
    Settings().WriteBool(QStringLiteral("Maximized"), maximized);
    if (maximized)
        return;
    Settings().WriteInteger(QStringLiteral("posLeft"), pos().x());
    Settings().WriteInteger(QStringLiteral("posTop"), pos().y());
}

void TfrmBaseForm::LoadPosition()
{
    move(Settings().ReadInteger(QStringLiteral("posLeft"), pos().x()),
         Settings().ReadInteger(QStringLiteral("posTop"), pos().y()));
    if (Settings().ReadBool(QStringLiteral("Maximized"), false))
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrmBaseForm::SaveSize()
{
    if (isMaximized())
        return;
    Settings().WriteInteger(QStringLiteral("sizeWidth"), width());
    Settings().WriteInteger(QStringLiteral("sizeHeight"), height());
}

void TfrmBaseForm::LoadSize()
{
    resize(Settings().ReadInteger(QStringLiteral("sizeWidth"), width()),
           Settings().ReadInteger(QStringLiteral("sizeHeight"), height()));
}

void TfrmBaseForm::LoadLayout()
{
    m_layoutLoaded = true;
    if (RememberSize)
        LoadSize();
    if (RememberPosition)
        LoadPosition();
}

void TfrmBaseForm::SaveLayout()
{
    if (RememberSize)
        SaveSize();
    if (RememberPosition)
        SavePosition();
}

void TfrmBaseForm::AfterShow()
{
}

void TfrmBaseForm::CustomizeNotification(TNotifyPopup &, int)
{
}

void TfrmBaseForm::ShowNotification(int kind, const QString &text)
{
    auto *popup = new TNotifyPopup(this);
    popup->setText(text);
    CustomizeNotification(*popup, kind);
    popup->showPopup();
}

void TfrmBaseForm::done(int result)
{
    if (!m_layoutSaved) {
        m_layoutSaved = true;
        SaveLayout();
    }
    QDialog::done(result);
}

void TfrmBaseForm::commitOpenEditors()
{
    for (DataGrid *grid : findChildren<DataGrid *>())
        grid->commitOpenEditor();
}

void TfrmBaseForm::showEvent(QShowEvent *event)
{
    if (!m_layoutLoaded)
        LoadLayout();
    if (!m_pagesWatched) {
        m_pagesWatched = true;
        // A cell left open on a page the user switches away from is written
        // before the page goes out of sight.
        for (QTabWidget *pages : findChildren<QTabWidget *>())
            connect(pages, &QTabWidget::currentChanged, this, &TfrmBaseForm::commitOpenEditors);
    }
    m_layoutSaved = false;
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, [this] { AfterShow(); });
}

bool TfrmBaseForm::enterMovesFocus(QWidget *focused) const
{
    if (auto *combo = qobject_cast<QComboBox *>(focused))
        return !combo->view()->isVisible();
    if (qobject_cast<QComboBox *>(focused->parentWidget()))
        return enterMovesFocus(focused->parentWidget()); // the line edit of an editable combo
    return qobject_cast<QLineEdit *>(focused) || qobject_cast<QAbstractSpinBox *>(focused)
           || qobject_cast<QCheckBox *>(focused);
}
