#include "invoicing/AmountInWords.h"
#include "invoicing/Layouts.h"
#include "invoicing/PagePainter.h"
#include "invoicing/TdmInvoice.h"

#include <QColor>
#include <QLocale>
#include <QStringList>

namespace {

constexpr double kLeft = 15;
constexpr double kWidth = 180;
constexpr double kLine = 6;
constexpr double kRow = 6.5;
constexpr double kLastRowBottom = 297 - 60;
constexpr double kColumns[] = {0.46, 0.16, 0.2, 0.18};

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

// Figures read as in the grids, with the system's decimal separator.
QString localFigure(QString figure)
{
    return figure.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

QString figure(double value)
{
    return localFigure(invoicing::centsText(value));
}

class ReceiptPage
{
public:
    ReceiptPage(PagePainter &page, const TdmInvoice &module)
        : p(page)
        , m(module)
    {
    }

    void draw()
    {
        double y = drawParties(15);
        y = drawTitle(y + 6);
        y = drawRows(y + 4);
        drawEnd(y);
    }

private:
    QString v(const char *name) const { return m.Value(QString::fromLatin1(name)); }
    QFont font(bool bold = false) const { return p.font(10, bold); }

    void party(double left, double width, double top, const QString &heading, const char *prefix)
    {
        const auto name = [prefix](const char *field) { return QString::fromLatin1(prefix) + QString::fromLatin1(field); };
        const auto value = [&](const char *field) { return m.Value(name(field)); };
        p.field(QRectF(left, top, width, kLine), heading, value("COMPANY"), font(true), font(true));
        const std::pair<QString, QString> lines[] = {
            {u("Адрес гр/с :"), value("ADDRESS")},
            {u("Дан № :"), value("TAXNO")},
            {u("Булстат :"), value("BULSTAT")},
            {u("МОЛ :"), value("MOL")},
        };
        double y = top + kLine;
        for (const auto &[label, text] : lines) {
            p.field(QRectF(left + 4, y, width - 4, kLine), label, text, font(), font());
            y += kLine;
        }
    }

    double drawParties(double top)
    {
        party(kLeft, 85, top, u("Предал : "), "SEND_");
        party(kLeft + 95, 85, top, u("Получил : "), "RECV_");
        return top + 5 * kLine;
    }

    double drawTitle(double top)
    {
        p.text(QRectF(kLeft, top, kWidth, 10), u("СТОКОВА РАЗПИСКА № ") + v("DOC_NUM"), p.font(16, true), Qt::AlignCenter);
        p.text(QRectF(kLeft, top + 11, kWidth, kLine), u("Дата : ") + v("DATE") + u("   Обект: ") + v("SITE"), font(),
               Qt::AlignCenter);
        return top + 11 + kLine;
    }

    double drawHeading(double top)
    {
        const QStringList headings{u("Артикул"), u("Ед. цена"), u("Количество"), u("Сума")};
        p.fill(QRectF(kLeft, top, kWidth, kRow), QColor(225, 225, 225));
        double left = kLeft;
        for (int c = 0; c < headings.size(); ++c) {
            const double width = kColumns[c] * kWidth;
            p.text(QRectF(left, top, width, kRow), headings.at(c), font(true), Qt::AlignCenter);
            left += width;
        }
        p.frame(QRectF(kLeft, top, kWidth, kRow), 0.3);
        return top + kRow;
    }

    double drawRows(double top)
    {
        double y = drawHeading(top);
        double tableTop = top;
        const auto closeTable = [&] {
            double left = kLeft;
            for (int c = 0; c + 1 < 4; ++c) {
                left += kColumns[c] * kWidth;
                p.line(left, tableTop, left, y, 0.2);
            }
            p.frame(QRectF(kLeft, tableTop, kWidth, y - tableTop), 0.3);
        };
        for (const ReceiptRow &row : m.receiptRows()) {
            if (y + kRow > kLastRowBottom) {
                closeTable();
                p.newPage();
                tableTop = 15;
                y = drawHeading(tableTop);
            }
            const QStringList cells{row.goods, figure(row.price), figure(row.quantity) + QLatin1Char(' ') + row.unit,
                                    figure(row.value())};
            const int aligns[] = {Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter,
                                  Qt::AlignRight | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter};
            double left = kLeft;
            for (int c = 0; c < cells.size(); ++c) {
                const double width = kColumns[c] * kWidth;
                p.text(QRectF(left + 1.2, y, width - 2.4, kRow), cells.at(c), font(), aligns[c]);
                left += width;
            }
            y += kRow;
            p.line(kLeft, y, kLeft + kWidth, y, 0.1);
        }
        closeTable();
        return y;
    }

    void drawEnd(double top)
    {
        const QString total = u("Обща сума: ") + localFigure(v("SUM_TOTAL")) + QLatin1Char(' ') + m.currency().sign();
        p.text(QRectF(kLeft, top + 2, kWidth - 1, kLine), total, p.font(11, true), Qt::AlignRight | Qt::AlignVCenter);
        const double signatures = top + 16;
        p.field(QRectF(kLeft, signatures, 80, kLine), u("Предал :"), v("SEND_MOL"), font(true), font());
        p.field(QRectF(kLeft + 100, signatures, 80, kLine), u("Получил :"), v("RECV_MOL"), font(true), font());
        p.text(QRectF(kLeft + 15, signatures + kLine, 65, 4), u("/подпис/"), p.font(7, false, true), Qt::AlignCenter);
        p.text(QRectF(kLeft + 115, signatures + kLine, 65, 4), u("/подпис/"), p.font(7, false, true), Qt::AlignCenter);
        p.text(QRectF(kLeft, 297 - 12, kWidth, 4), issuingSoftware(), p.font(7, false, true), Qt::AlignCenter);
    }

    PagePainter &p;
    const TdmInvoice &m;
};

} // namespace

void renderReceipt(const TdmInvoice &module, QPagedPaintDevice &device)
{
    PagePainter page(device);
    ReceiptPage(page, module).draw();
}
