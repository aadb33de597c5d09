#pragma once

#include "ui/TfrmYesNo.h"

class QListWidget;

// Ticks for the columns of a grid: which to show. OK needs at least one.
class TdlgListChoose : public TfrmYesNo
{
    Q_OBJECT

public:
    explicit TdlgListChoose(QWidget *owner = nullptr);

    void setItems(const QStringList &titles, const QList<bool> &ticked);
    QList<bool> ticked() const;
    QListWidget *list() const { return m_list; }

public Q_SLOTS:
    void accept() override;

private:
    void tickAll(bool ticked);

    QListWidget *m_list;
};
