#pragma once

#include "ui/TfrmBaseVXGrid.h"

#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class BarcodeListEditor;
class DBCheckBox;
class DBEdit;
class DBLookupCombo;
class DBNumberEdit;
class QComboBox;
class QPushButton;
class QRadioButton;
class QuickSearch;

// The goods catalogue: the list with its category filter, quick search by
// name and the edit panel. Opened to choose, it hands the chosen goods item
// to its opener (a stock document's line).
class TfrmNomenklatura : public TfrmBaseVXGrid
{
    Q_OBJECT

public:
    explicit TfrmNomenklatura(QWidget *owner = nullptr);
    ~TfrmNomenklatura() override;

    db::Dataset &qMain() const { return *m_qMain; }
    DBLookupCombo *cbCategoryCode() const { return m_categoryCode; }
    DBLookupCombo *cbCategoryName() const { return m_categoryName; }
    DBNumberEdit *edtCode() const { return m_code; }
    DBEdit *edtName() const { return m_name; }
    DBNumberEdit *edtPrice() const { return m_price; }
    DBCheckBox *chkInReport() const { return m_inReport; }
    DBCheckBox *chkPackaging() const { return m_packaging; }
    DBLookupCombo *cbBaseUnit() const { return m_baseUnit; }
    DBLookupCombo *cbSecondUnit() const { return m_secondUnit; }
    QRadioButton *rbNoSecondUnit() const { return m_noSecond; }
    QRadioButton *rbSecondUnit() const { return m_hasSecond; }
    QComboBox *cbFilterCategory() const { return m_filterCategory; }
    QuickSearch *quickSearch() const { return m_quickSearch; }
    BarcodeListEditor *barcodes() const { return m_barcodes; }
    QPushButton *btnLabels() const { return m_labels; }
    // The goods of the chosen rows, in the list's order; the current one
    // when no row is chosen.
    std::vector<int> chosenGoods() const;
    // Shelf labels of the chosen goods in the print preview.
    void PrintLabels();

    void BeforeRefresh() override;
    void RemoveFilter() override;
    void LoadLayout() override;

protected:
    void NewExecute() override;
    void EditExecute() override;
    void DeleteExecute() override;
    void FilterExecute() override;
    QWidget *firstEditor() const override;
    bool enterMovesFocus(QWidget *focused) const override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFilterBar();
    void buildEditPanel();
    void fillFilterCategories();
    void followSecondUnit();
    void proposeCode();
    void fillBeforePost(db::Dataset &goods);
    void reloadSharedGoods();
    void storeBarcodes(db::Dataset &goods);
    void followBarcodes();
    // A code typed or scanned into the quick search goes to its goods item;
    // false when the text is words to search the names for.
    bool findScanned();

    std::unique_ptr<db::Dataset> m_qMain;
    DBLookupCombo *m_categoryCode;
    DBLookupCombo *m_categoryName;
    DBNumberEdit *m_code;
    DBEdit *m_name;
    DBNumberEdit *m_price;
    DBCheckBox *m_inReport;
    DBCheckBox *m_packaging;
    DBLookupCombo *m_baseUnit;
    DBLookupCombo *m_secondUnit;
    QRadioButton *m_noSecond;
    QRadioButton *m_hasSecond;
    QComboBox *m_filterCategory;
    QuickSearch *m_quickSearch = nullptr;
    BarcodeListEditor *m_barcodes;
    QPushButton *m_labels;
    std::optional<QStringList> m_barcodesToStore;
    int m_currentGoodsId = 0;
};
