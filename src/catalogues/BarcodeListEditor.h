#pragma once

#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

// The barcodes of the goods item on the edit panel: its codes, a box to
// type or scan another into and the buttons to add and remove. Codes are
// checked as they are added and stored with the goods item.
class BarcodeListEditor : public QWidget
{
    Q_OBJECT

public:
    explicit BarcodeListEditor(QWidget *parent);

    QListWidget *list() const { return m_list; }
    QLineEdit *edtCode() const { return m_code; }
    QPushButton *btnAdd() const { return m_add; }
    QPushButton *btnRemove() const { return m_remove; }

    // The codes of `goodsId` as stored, in the list; the box is emptied.
    void load(int goodsId);
    void setEditing(bool editing);
    // Adds the code in the box. Throws varnex::Error, leaving the box as
    // typed, when the code is not a barcode or another item carries it.
    void addTyped();
    void removeChosen();
    // The codes to store: those listed and one still in the box, which is
    // never dropped unchecked.
    QStringList codesToStore();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showCodes(const QStringList &codes);

    QListWidget *m_list;
    QLineEdit *m_code;
    QPushButton *m_add;
    QPushButton *m_remove;
    int m_goodsId = 0;
};
