#pragma once

#include "documents/DocumentModel.h"
#include "ui/TfrmBaseDBEditForm.h"

#include <memory>
#include <vector>

class DBDateEdit;
class DBEdit;
class DBNumberEdit;
class QFormLayout;
class QGroupBox;
class StockLineArea;

// The editor window every stock document shares: a header group above one
// or more line areas, "Запис", "Отказ" and "Унищожи". A document window
// derives from it with its kind's description, adds its header fields and
// its line areas with their editors; saving, abandoning and destroying
// follow the document model.
class TfrmStockDocument : public TfrmBaseDBEditForm
{
    Q_OBJECT

public:
    TfrmStockDocument(documents::DocumentKind kind, const QString &headerTitle, QWidget *owner = nullptr);
    ~TfrmStockDocument() override;

    documents::DocumentModel &model() const { return *m_model; }
    QGroupBox *headerGroup() const { return m_headerGroup; }
    QPushButton *btnDestroy() const { return m_destroy; }
    int lineAreaCount() const { return int(m_areas.size()); }
    StockLineArea *lineArea(int index = 0) const { return m_areas.at(size_t(index)); }
    DBNumberEdit *edtNumber() const { return m_number; }

    // Entry points of the journal.
    void NewDocument();
    void OpenDocument(int documentId);

    bool ValidateRecord() override;
    bool PostDetails() override;
    bool CanClose() override;
    bool HasUnsavedChanges() const override;
    void SaveClick() override;
    // "Унищожи": asks, then deletes the lines and the header, and closes.
    void DestroyClick();

protected:
    // Header fields, in their order on the window.
    DBNumberEdit *addNumberField(const QString &label);
    DBDateEdit *addDateField(const QString &field, const QString &label, const QString &hint = QString());
    DBEdit *addNoteField(const QString &label, const QString &hint);
    // The paid amount, filled with the document's value on entry while 0.
    DBNumberEdit *addPaidField(const QString &label, const QString &hint);
    // The line area of the kind's area `index`, under the header and the
    // areas added before it.
    StockLineArea *addLineArea(int index, const QString &title);
    // The save's checks and stores without closing, for a command that
    // goes on with the stored document (a print); false, having said why,
    // when something was refused.
    bool storeWithoutClosing();
    // The window of a document area, or the window itself for an area
    // edited elsewhere (the packaging of a sale).
    QWidget *areaWidget(int index);

    void showEvent(QShowEvent *event) override;

public Q_SLOTS:
    void done(int result) override;

private:
    void followLineStates();
    void proposeNumber();
    void proposePaid();
    // A proposed number replaced at saving, told before the save goes on.
    void tellNumberNotice(const QString &notice);
    // Tells the user; the editor of the field at fault, if any.
    QWidget *showProblem(const documents::DocumentProblem &problem);

    std::unique_ptr<documents::DocumentModel> m_model;
    QGroupBox *m_headerGroup;
    QFormLayout *m_headerFields;
    QPushButton *m_destroy;
    std::vector<StockLineArea *> m_areas;
    DBNumberEdit *m_number = nullptr;
    DBNumberEdit *m_paid = nullptr;
};
