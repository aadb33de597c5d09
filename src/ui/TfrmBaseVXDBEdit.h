#pragma once

#include "ui/TfrmBaseDBEditForm.h"

class DataGrid;

// A record edit window for a document with lines: the lines grid in the
// lower half, "Нов ред" and "Изтрий" above it, and "Унищожи" beside the
// store and cancel buttons. The document windows give the buttons their
// meaning.
class TfrmBaseVXDBEdit : public TfrmBaseDBEditForm
{
    Q_OBJECT

public:
    explicit TfrmBaseVXDBEdit(QWidget *owner = nullptr);

    DataGrid *linesGrid() const { return m_lines; }
    QPushButton *btnNewLine() const { return m_newLine; }
    QPushButton *btnDeleteLine() const { return m_deleteLine; }
    QPushButton *btnDestroy() const { return m_destroy; }

protected:
    // Where the document's header fields go, above the lines.
    QVBoxLayout *headerLayout() const { return m_header; }

private:
    QVBoxLayout *m_header;
    DataGrid *m_lines;
    QPushButton *m_newLine;
    QPushButton *m_deleteLine;
    QPushButton *m_destroy;
};
