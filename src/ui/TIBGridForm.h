#pragma once

#include "ui/TfrmBaseGridForm.h"

// A list window whose filter rewrites the where clause of the list's
// statement ("where (1=1)" when unfiltered), keeping parameter values and
// going back to the previous text when the new one cannot be opened.
class TIBGridForm : public TfrmBaseGridForm
{
    Q_OBJECT

public:
    explicit TIBGridForm(QWidget *owner = nullptr);

    bool ApplyWhere(const QString &clause) override;
    void RemoveFilter() override;

private:
    // Puts `clause` in place of the current where clause and reopens;
    // false when the text has no such clause or cannot be opened.
    bool replaceWhere(const QString &clause);
};
