#pragma once

#include "ui/GridColumn.h"

#include <QGroupBox>

#include <functional>
#include <initializer_list>
#include <vector>

class DataGrid;
class DBLookupCombo;
class DBNumberEdit;
class QFormLayout;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace documents {
class LineArea;
}

// The columns a lines grid can show, with their usual titles.
enum class LineColumn { Operation, Category, Goods, Price, Quantity, Unit, Taken, Discount, Sum, Quantity2, Unit2 };

// The line editors, buttons and grid of one line area of a stock document
// window. A window adds the editors its kind has, in their order; the area
// keeps the buttons and the grid in step with the lines' state.
class StockLineArea : public QGroupBox
{
    Q_OBJECT

public:
    StockLineArea(documents::LineArea &area, const QString &title, QWidget *parent = nullptr);

    documents::LineArea &area() const { return m_area; }
    DataGrid *grid() const { return m_grid; }
    QPushButton *btnNewLine() const { return m_newLine; }
    QPushButton *btnDeleteLine() const { return m_deleteLine; }
    QPushButton *btnSaveLine() const { return m_saveLine; }
    QPushButton *btnCancelLine() const { return m_cancelLine; }
    DBLookupCombo *cbCategoryCode() const { return m_categoryCode; }
    DBLookupCombo *cbCategoryName() const { return m_categoryName; }
    DBLookupCombo *cbGoodsCode() const { return m_goodsCode; }
    DBLookupCombo *cbGoodsName() const { return m_goodsName; }
    QToolButton *btnGoodsCatalogue() const { return m_catalogue; }
    DBNumberEdit *edtPrice() const { return m_price; }
    QLineEdit *edtDiscount() const { return m_discount; }
    QToolButton *btnLastDiscount() const { return m_lastDiscount; }
    DBNumberEdit *edtQuantity() const { return m_quantity; }
    DBNumberEdit *edtTaken() const { return m_taken; }
    QLineEdit *edtStockOnHand() const { return m_stock; }
    DBNumberEdit *edtQuantity2() const { return m_quantity2; }
    QPushButton *btnSellPrice() const { return m_sellPrice; }
    // Whether the additional-unit row is shown.
    bool secondUnitShown() const { return m_secondUnitShown; }

    void addCategoryFields(const QString &label);
    // With a catalogue hint, Insert in the drop-downs and the button beside
    // them open the goods catalogue to choose from.
    void addGoodsFields(const QString &label, const QString &hint, const QString &catalogueHint = QString());
    // With the proposal, entering the box of a line being edited whose price
    // is 0 fills in the last price for the document's counterparty.
    void addPriceField(const QString &label, const QString &hint, bool proposal);
    // Writes the goods' sell price into the price of the line being edited.
    void addSellPriceButton(const QString &caption);
    void addDiscountField(const QString &label, const QString &hint);
    void addQuantityField(const QString &label, const QString &hint);
    void addTakenField(const QString &label, const QString &hint);
    void addStockOnHand(const QString &label);
    // The quantity in the goods' additional unit, on a row shown only for
    // goods that have one.
    void addSecondQuantityField(const QString &label, const QString &hint);
    void setColumns(const std::vector<GridColumn> &columns);
    // The columns with their designed titles.
    void setColumns(std::initializer_list<LineColumn> columns);
    static GridColumn column(LineColumn column, const QString &title = QString());
    // Ctrl+N starts a new line (deliveries, sales and packaging).
    void setNewLineShortcut();

    void NewLineClick();
    void DeleteLineClick();
    void SaveLineClick();
    void CancelLineClick();
    // Opens the goods catalogue to choose the line's goods.
    void ChooseGoods();
    // The catalogue window's part: a goods id, or −1 when none was chosen.
    // Tests answer it themselves.
    std::function<int()> chooseGoodsFromCatalogue;

Q_SIGNALS:
    // The lines started or stopped editing a row.
    void editingChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addRow(const QString &label, QWidget *field, QLabel *unit = nullptr);
    QLabel *unitLabel(const char *signField);
    void followState();
    void showDiscount();
    void enterDiscount();
    void typeDiscount(bool leaving);
    void showStock();
    void showSecondUnit();
    void proposePrice();
    void proposeTaken();
    int catalogueChoice();
    // Puts the goods item on the line being edited, or a new one.
    void takeGoods(int goods);
    // Digits typed into the goods boxes gather into a code, found on Enter
    // (or on leaving the box) among the barcodes, then the goods codes; an
    // unknown code is said so and the line is left as it was.
    bool takeScanKey(const QKeyEvent &key);
    void scanned();
    // In a sale, unless switched off, scanning an item already on a line
    // adds one to that line.
    bool scanAddsToLine() const;
    bool addOneOnScan(int goods);

    documents::LineArea &m_area;
    QFormLayout *m_fields;
    DataGrid *m_grid;
    QPushButton *m_newLine;
    QPushButton *m_deleteLine;
    QPushButton *m_saveLine;
    QPushButton *m_cancelLine;
    DBLookupCombo *m_categoryCode = nullptr;
    DBLookupCombo *m_categoryName = nullptr;
    DBLookupCombo *m_goodsCode = nullptr;
    DBLookupCombo *m_goodsName = nullptr;
    QToolButton *m_catalogue = nullptr;
    DBNumberEdit *m_price = nullptr;
    bool m_priceProposal = false;
    QHBoxLayout *m_priceRow = nullptr;
    QPushButton *m_sellPrice = nullptr;
    DBNumberEdit *m_quantity2 = nullptr;
    QHBoxLayout *m_secondUnitRow = nullptr;
    bool m_secondUnitShown = false;
    bool m_secondUnitKnown = false;
    QString m_secondUnitGoods;
    QLineEdit *m_discount = nullptr;
    QToolButton *m_lastDiscount = nullptr;
    DBNumberEdit *m_quantity = nullptr;
    DBNumberEdit *m_taken = nullptr;
    QLineEdit *m_stock = nullptr;
    std::vector<std::pair<QLabel *, QString>> m_units;
    bool m_wasEditing = false;
    QString m_scanned;
};
