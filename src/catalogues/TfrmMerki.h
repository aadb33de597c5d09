#pragma once

#include "ui/TfrmBaseVXGrid.h"

#include <memory>

class DBEdit;

// The units of measure: the list with its edit panel. The built-in units
// 1 to 7 can be chosen everywhere but neither edited nor deleted here.
class TfrmMerki : public TfrmBaseVXGrid
{
    Q_OBJECT

public:
    explicit TfrmMerki(QWidget *owner = nullptr);
    ~TfrmMerki() override;

    db::Dataset &qMain() const { return *m_qMain; }
    DBEdit *edtName() const { return m_name; }
    DBEdit *edtSign() const { return m_sign; }

    bool DeleteVeto() override;

    // The formula column's text for a unit.
    static QString formula(const QVariant &isBase, const QVariant &factor, const QVariant &baseName);

protected:
    void NewExecute() override;
    void EditExecute() override;
    QWidget *firstEditor() const override;

private:
    bool isBuiltIn() const;
    void checkAndFillKeys(db::Dataset &units);

    std::unique_ptr<db::Dataset> m_qMain;
    DBEdit *m_name;
    DBEdit *m_sign;
    int m_currentUnitId = 0;
};
