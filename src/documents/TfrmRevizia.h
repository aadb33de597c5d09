#pragma once

#include "documents/StockCountDocument.h"
#include "ui/TfrmBaseForm.h"

#include <QList>

#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableWidget;

// The stock count window: a scanner (or the keyboard) types a code and
// Enter into the code box and the item's counted quantity grows by one; a
// quantity typed in the list replaces it. The count is stored half-way with
// "Запис" and posted with "Осчетоводи"; the sheets print from here.
class TfrmRevizia : public TfrmBaseForm
{
    Q_OBJECT

public:
    explicit TfrmRevizia(QWidget *owner = nullptr);

    // Entry points of the journal.
    void NewDocument();
    void OpenDocument(int countId);

    const documents::StockCountDocument &count() const { return m_count; }
    bool storedNew() const { return m_storedNew; }

    QLineEdit *edtCode() const { return m_code; }
    QTableWidget *lines() const { return m_lines; }
    QLabel *lblTotal() const { return m_total; }

    // Where a file to import is asked for; an empty answer cancels.
    std::function<QString()> askImportPath;

    void ScanClick();
    void SaveClick();
    void PostClick();
    void ImportClick();
    void ZeroCategoryClick();
    void PrintSheetClick();
    void PrintResultClick();

protected:
    void reject() override;
    bool enterMovesFocus(QWidget *focused) const override;

private:
    void showCount(int current = -1);
    void takeHeader();
    void lineEdited(int row, int column);
    QString heading() const;

    documents::StockCountDocument m_count;
    bool m_storedNew = false;
    bool m_showing = false;
    QDateEdit *m_date;
    QLineEdit *m_note;
    QLineEdit *m_code;
    QTableWidget *m_lines;
    QLabel *m_total;
    QComboBox *m_category;
    QCheckBox *m_showBook;
    // What a posted count no longer offers.
    QList<QWidget *> m_changing;
};
