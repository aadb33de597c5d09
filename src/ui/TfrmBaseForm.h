#pragma once

#include <QDialog>

#include <memory>

class TSettings;
class TNotifyPopup;

// The base of every window: its own settings section, the remembered place
// and size, Enter moving to the next field, an after-show hook, child
// windows with sections below this one, and sliding notifications.
class TfrmBaseForm : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmBaseForm(QWidget *owner = nullptr);
    ~TfrmBaseForm() override;

    // The window's section; the root section unless an opener gave another.
    TSettings &Settings();
    void setSettings(std::unique_ptr<TSettings> settings);

    bool RememberPosition = true;
    bool RememberSize = true;
    bool layoutLoaded() const { return m_layoutLoaded; }

    virtual void SavePosition();
    virtual void LoadPosition();
    virtual void SaveSize();
    virtual void LoadSize();
    virtual void LoadLayout();
    virtual void SaveLayout();
    virtual void AfterShow();
    virtual void CustomizeNotification(TNotifyPopup &popup, int kind);

    // A window of class T owned by this one, keeping its settings in the
    // section named after its object name below this window's section.
    template<class T>
    T *CreateChildForm(std::unique_ptr<TSettings> settings = nullptr)
    {
        auto *child = new T(this);
        adoptChild(*child, std::move(settings));
        return child;
    }

    void ShowNotification(int kind, const QString &text);

    // Writes what is typed into any grid cell still open into its row. Every
    // command that stores, closes or leaves a page calls it first, so that
    // nothing typed is lost because the focus never left the cell.
    void commitOpenEditors();

public Q_SLOTS:
    // Closing stores the layout, as destruction would.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    // Whether Enter on this focused control moves to the next one.
    virtual bool enterMovesFocus(QWidget *focused) const;

private:
    friend class EnterAsTab;

    void adoptChild(TfrmBaseForm &child, std::unique_ptr<TSettings> settings);

    std::unique_ptr<TSettings> m_settings;
    bool m_layoutLoaded = false;
    bool m_layoutSaved = false;
    bool m_pagesWatched = false;
};
