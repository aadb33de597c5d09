#pragma once

#include <QDate>
#include <QRectF>
#include <QString>

#include <vector>

class QPagedPaintDevice;
class QPainter;
class QWidget;

namespace data {
class SqlSession;
}

namespace reportdata {

// What one shelf label shows of a goods item: its name, its sell price and
// the first of its barcodes (none: no bars).
struct ShelfLabel
{
    QString name;
    double price = 0;
    QString barcode;
};

// The labels of the goods items, in the order asked for. An item that does
// not exist is refused with varnex::Error.
std::vector<ShelfLabel> shelfLabels(data::SqlSession &session, const std::vector<int> &goodsIds);

// The price as a label shows it: in the currency prices are kept in and,
// while the law asks for prices in both currencies, the other figure at the
// fixed rate beside it (empty otherwise).
struct LabelPrice
{
    QString main;
    QString other;
};
LabelPrice labelPrice(double price, bool pricesInEuro, const QDate &day);

// An A4 sheet of 3 × 8 labels, 70 × 37 mm each, the usual self-adhesive
// sheet; a label's place on the page in millimetres.
constexpr int kLabelColumns = 3;
constexpr int kLabelRows = 8;
QRectF labelPlace(int index);

// The bars of `code` drawn into `box`, centred and as large as fit: EAN-13,
// EAN-8 and UPC-A as such, any other code as Code 128. False, with nothing
// drawn, when no bars can carry the code (letters outside Latin-1).
bool drawBarcode(QPainter &painter, const QString &code, const QRectF &box);

// Whether the prices are shown in both currencies on `day`, and which one
// they are kept in.
struct LabelCurrency
{
    bool pricesInEuro = false;
    QDate day;
};
LabelCurrency labelCurrency(data::SqlSession &session, const QDate &day);

// The labels on as many sheets as they take.
void renderShelfLabels(const std::vector<ShelfLabel> &labels, const LabelCurrency &currency,
                       QPagedPaintDevice &device);
void saveShelfLabelsPdf(const std::vector<ShelfLabel> &labels, const LabelCurrency &currency, const QString &path);

} // namespace reportdata
