#pragma once

#include <QDate>
#include <QLineEdit>

// A date typed as dd.mm.yyyy that may also be left empty, with the date
// keys (Page Up/Down a month, Up/Down a day).
class DateField : public QLineEdit
{
    Q_OBJECT

public:
    explicit DateField(QWidget *parent = nullptr);

    bool isBlank() const;
    // Invalid when blank or not a real date.
    QDate date() const;
    void setDate(const QDate &date);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
