#include "reportdata/ShelfLabels.h"

#include "data/EuroChangeover.h"
#include "data/GoodsBarcodes.h"
#include "data/SqlSession.h"
#include "invoicing/A4Pdf.h"
#include "invoicing/DocumentCurrency.h"
#include "util/Error.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <zint.h>

#include <memory>

namespace reportdata {

namespace {

const char *const kGoodsItem = "select NOM_NAME, SELL_PRICE from NOM where NOM_ID = :NOM_ID";

constexpr double kLabelWidth = 70;
constexpr double kLabelHeight = 37;
constexpr double kPadding = 3;
// The law's period of prices shown in both currencies.
const QDate kBothCurrenciesFrom(2025, 8, 8);
const QDate kBothCurrenciesUntil(2026, 8, 8);

const QString kFont = QStringLiteral("DejaVu Sans");

// EAN-13 and EAN-8 as the EAN symbology, UPC-A as its own, each with the
// check digit the code carries verified again; any other code as Code 128.
int symbologyOf(const QString &code)
{
    bool digits = !code.isEmpty();
    for (const QChar c : code)
        digits = digits && c.isDigit() && c.unicode() < 128;
    if (digits && (code.size() == 13 || code.size() == 8))
        return BARCODE_EANX_CHK;
    if (digits && code.size() == 12)
        return BARCODE_UPCA_CHK;
    return BARCODE_CODE128;
}

QFont labelFont(double points, bool bold)
{
    QFont font(kFont);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void drawLabel(QPainter &painter, const ShelfLabel &label, const LabelCurrency &currency, const QRectF &place,
               double mm)
{
    const QRectF inner(place.left() + kPadding, place.top() + kPadding, place.width() - 2 * kPadding,
                       place.height() - 2 * kPadding);
    const auto area = [mm](double x, double y, double w, double h) { return QRectF(x * mm, y * mm, w * mm, h * mm); };

    painter.setPen(Qt::black);
    painter.setFont(labelFont(8.5, true));
    const QRectF nameBox = area(inner.left(), inner.top(), inner.width(), 8);
    painter.drawText(nameBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     painter.fontMetrics().elidedText(label.name, Qt::ElideRight, int(nameBox.width() * 2)));

    const LabelPrice price = labelPrice(label.price, currency.pricesInEuro, currency.day);
    const QRectF priceBox = area(inner.left(), inner.top() + 8, inner.width(), 8);
    painter.setFont(labelFont(15, true));
    QRectF mainShown;
    painter.drawText(priceBox, Qt::AlignLeft | Qt::AlignVCenter, price.main, &mainShown);
    if (!price.other.isEmpty()) {
        painter.setFont(labelFont(10, false));
        QRectF otherBox = priceBox;
        otherBox.setLeft(mainShown.right() + 3 * mm);
        painter.drawText(otherBox, Qt::AlignLeft | Qt::AlignVCenter, price.other);
    }
    const QRectF barsBox = area(inner.left(), inner.top() + 16.5, inner.width(), inner.height() - 16.5);
    if (!label.barcode.isEmpty() && !drawBarcode(painter, label.barcode, barsBox)) {
        painter.setFont(labelFont(10, false));
        painter.drawText(barsBox, Qt::AlignCenter, label.barcode);
    }
}

} // namespace

std::vector<ShelfLabel> shelfLabels(data::SqlSession &session, const std::vector<int> &goodsIds)
{
    std::vector<ShelfLabel> labels;
    for (const int id : goodsIds) {
        const auto rows = session.QueryRows(QString::fromLatin1(kGoodsItem), {{QStringLiteral("NOM_ID"), id}});
        if (rows.empty())
            throw varnex::Error(QStringLiteral("Няма артикул с № %1.").arg(id));
        labels.push_back({rows.front().value(0).toString(), rows.front().value(1).toDouble(),
                          data::barcodesOf(session, id).value(0)});
    }
    return labels;
}

LabelPrice labelPrice(double price, bool pricesInEuro, const QDate &day)
{
    const invoicing::DocumentCurrency kept = invoicing::DocumentCurrency::on(pricesInEuro ? data::euroDay() : QDate(2000, 1, 1));
    LabelPrice shown{kept.money(price), QString()};
    if (day >= kBothCurrenciesFrom && day <= kBothCurrenciesUntil) {
        shown.other = pricesInEuro ? invoicing::moneyText(price * data::kLevaPerEuro) + QStringLiteral(" лв.")
                                   : invoicing::moneyText(price / data::kLevaPerEuro) + QStringLiteral(" EUR");
    }
    return shown;
}

QRectF labelPlace(int index)
{
    const int onSheet = index % (kLabelColumns * kLabelRows);
    const double top = (297 - kLabelRows * kLabelHeight) / 2;
    return {(onSheet % kLabelColumns) * kLabelWidth, top + (onSheet / kLabelColumns) * kLabelHeight, kLabelWidth,
            kLabelHeight};
}

bool drawBarcode(QPainter &painter, const QString &code, const QRectF &box)
{
    const std::unique_ptr<zint_symbol, void (*)(zint_symbol *)> symbol(ZBarcode_Create(), ZBarcode_Delete);
    if (!symbol)
        return false;
    symbol->symbology = symbologyOf(code);
    symbol->output_options |= BARCODE_QUIET_ZONES;
    // Text, not bytes: a code whose letters Code 128 cannot carry is refused.
    symbol->input_mode = UNICODE_MODE;
    const QByteArray bytes = code.toUtf8();
    if (ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char *>(bytes.constData()), int(bytes.size()))
            >= ZINT_ERROR
        || ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR || !symbol->vector)
        return false;
    const zint_vector &vector = *symbol->vector;
    const double scale = qMin(box.width() / vector.width, box.height() / vector.height);
    const QPointF origin(box.center().x() - vector.width * scale / 2, box.center().y() - vector.height * scale / 2);

    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const zint_vector_rect *bar = vector.rectangles; bar; bar = bar->next) {
        painter.drawRect(QRectF(origin.x() + bar->x * scale, origin.y() + bar->y * scale, bar->width * scale,
                                bar->height * scale));
    }
    painter.setPen(Qt::black);
    for (const zint_vector_string *text = vector.strings; text; text = text->next) {
        QFont font(kFont);
        font.setPixelSize(qMax(1, int(text->fsize * scale * 0.9)));
        painter.setFont(font);
        const QString shown = QString::fromUtf8(reinterpret_cast<const char *>(text->text), text->length);
        const double x = origin.x() + text->x * scale;
        const double y = origin.y() + text->y * scale;
        const double width = painter.fontMetrics().horizontalAdvance(shown);
        const double left = text->halign == 1 ? x : text->halign == 2 ? x - width : x - width / 2;
        painter.drawText(QPointF(left, y), shown);
    }
    painter.restore();
    return true;
}

LabelCurrency labelCurrency(data::SqlSession &session, const QDate &day)
{
    return {invoicing::DocumentCurrency::ofDatabase(session).isEuro(), day};
}

void renderShelfLabels(const std::vector<ShelfLabel> &labels, const LabelCurrency &currency,
                       QPagedPaintDevice &device)
{
    QPainter painter(&device);
    const double mm = device.logicalDpiX() / 25.4;
    for (size_t index = 0; index < labels.size(); ++index) {
        if (index > 0 && index % (kLabelColumns * kLabelRows) == 0)
            device.newPage();
        drawLabel(painter, labels[index], currency, labelPlace(int(index)), mm);
    }
}

void saveShelfLabelsPdf(const std::vector<ShelfLabel> &labels, const LabelCurrency &currency, const QString &path)
{
    invoicing::writeA4Pdf(path, QStringLiteral("Етикети"), QString(),
                          [&](QPagedPaintDevice &device) { renderShelfLabels(labels, currency, device); });
}

} // namespace reportdata
