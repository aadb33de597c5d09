#include "invoicing/InvoiceData.h"
#include "invoicing/Layouts.h"
#include "invoicing/PagePainter.h"
#include "invoicing/TdmInvoice.h"

#include <QColor>

#include <utility>
#include <vector>

using invoicing::LineTableRow;
using invoicing::printedVatNumber;

QString issuingSoftware()
{
    return QStringLiteral("Документът е изготвен с програмата Varnex 2.0");
}

namespace {

// Sizes of one form, whole page or half page: a text line, the fonts and
// a table row, in millimetres and points.
struct Metrics
{
    double line;
    double base;
    double small;
    double title;
    double row;
};

constexpr Metrics kWholePage{4.6, 8.5, 6.3, 16, 4.55};
constexpr Metrics kHalfPage{3.2, 6.4, 4.9, 12, 3.25};

constexpr double kSheetWidth = 210;
constexpr double kSheetHeight = 297;
constexpr double kSideMargin = 10;

// The column widths of the table, as parts of the form's width.
constexpr double kColumns[] = {0.05, 0.45, 0.09, 0.12, 0.14, 0.15};

class InvoiceForm
{
public:
    InvoiceForm(PagePainter &page, const TdmInvoice &module, const QRectF &area, bool halfPage, bool original)
        : p(page)
        , m(module)
        , area(area)
        , half(halfPage)
        , original(original)
        , k(halfPage ? kHalfPage : kWholePage)
        , W(area.width())
        , L(k.line)
    {
    }

    void draw()
    {
        const double headerBottom = drawHeader(area.top());
        double y = drawTable(headerBottom + 0.6 * L);
        y = drawTotals(y + 0.5 * L);
        y = drawSpecialCases(y + 0.4 * L);
        drawParties(y + 0.5 * L);
        drawFoot();
        if (cancelled())
            p.diagonal(area.adjusted(0.1 * W, 0.1 * area.height(), -0.1 * W, -0.1 * area.height()),
                       u("АНУЛИРАНА"), spaced(p.font(k.title, true)), QColor(160, 0, 0, 110));
    }

private:
    QString v(const char *name) const { return m.Value(QString::fromLatin1(name)); }
    static QString u(const char *text) { return QString::fromUtf8(text); }
    double x(double part) const { return area.left() + part * W; }
    QFont base(bool bold = false) const { return p.font(k.base, bold); }
    QFont small(bool italic = true) const { return p.font(k.small, false, italic); }
    static QFont spaced(QFont font)
    {
        font.setLetterSpacing(QFont::PercentageSpacing, 150);
        return font;
    }
    bool cancelled() const { return v("ISTATUS") == QLatin1String("2"); }

    struct PartyLine
    {
        QString label;
        QString value;
        enum Kind { Field, Name, Caption, Heading } kind = Field;
        // Names and addresses may run to two lines, and take the height of
        // one and a half so their text need not shrink as far.
        double rows = 1;
    };

    void partyBox(const QRectF &box, const QString &heading, const std::vector<PartyLine> &lines)
    {
        p.frame(box, 0.3);
        const QRectF bar(box.left(), box.top(), box.width(), 1.15 * L);
        p.fill(bar, QColor(225, 225, 225));
        p.line(bar.left(), bar.bottom(), bar.right(), bar.bottom(), 0.2);
        p.text(bar, heading, p.font(k.base + 1, true), Qt::AlignCenter);
        const double inset = 0.35 * L;
        double y = bar.bottom() + 0.2 * L;
        for (const PartyLine &line : lines) {
            const QRectF row(box.left() + inset, y, box.width() - 2 * inset, line.rows * L);
            switch (line.kind) {
            case PartyLine::Field:
                p.field(row, line.label, line.value, base(), base(true));
                y += row.height();
                break;
            case PartyLine::Name:
                p.field(row, QString(), line.value, base(), p.font(k.base + 0.5, true));
                y += row.height();
                break;
            case PartyLine::Caption:
                p.text(QRectF(row.left(), y - 0.1 * L, row.width(), 0.7 * L), line.value, small(), Qt::AlignCenter);
                y += 0.65 * L;
                break;
            case PartyLine::Heading:
                p.text(QRectF(row.left(), y + 0.1 * L, row.width(), L), line.value, p.font(k.small + 0.5, true),
                       Qt::AlignLeft | Qt::AlignVCenter);
                y += 1.05 * L;
                break;
            }
        }
    }

    // A label and a bold value, centred as one line in the centre column.
    void centredPair(double y, const QString &label, const QString &value, double left, double width)
    {
        const QFont labelFont = base();
        const QFont valueFont = p.font(k.base + 1, true);
        const double gap = 1.2;
        const double labelWidth = p.width(label, labelFont);
        const double valueWidth = qMin(p.width(value, valueFont), width - labelWidth - gap);
        const double start = left + qMax(0.0, (width - labelWidth - gap - valueWidth) / 2);
        p.text(QRectF(start, y, labelWidth + 0.5, L), label, labelFont);
        p.text(QRectF(start + labelWidth + gap, y, valueWidth + 0.5, L), value, valueFont);
    }

    void labelledBox(double left, double y, bool marked, const QString &label, const QFont &font, double width)
    {
        const double size = 0.62 * L;
        p.checkBox(left, y + (L - size) / 2, size, marked);
        p.text(QRectF(left + size + 1.2, y, width - size - 1.2, L), label, font);
    }

    double drawHeader(double top)
    {
        const double height = 13.6 * L;
        const double side = 0.35;
        std::vector<PartyLine> client{
            {u("ИН по ЗДДС"), printedVatNumber(v("IBULSTAT"))},
            {u("ИН"), v("IDNUM")},
            {QString(), v("IFIRMPERSON"), PartyLine::Name, 1.5},
            {u("Гр./с/"), v("ICITY")},
            {u("Улица, №"), v("IADDRESS"), PartyLine::Field, 1.5},
            {u("МОЛ:"), v("IMOL")},
            {QString(), u("трите имена"), PartyLine::Caption},
            {QString(), u("Данни за дистанционна продажба"), PartyLine::Heading},
            {u("ЕИК/VAT:"), v("EIKVAT")},
            {u("Ставка /ДДС/%:"), v("DVAT")},
            {u("Стойност:"), v("CASHSIZE")},
        };
        std::vector<PartyLine> supplier{
            {u("ИН по ЗДДС"), printedVatNumber(v("CI_BULSTAT"))},
            {u("ИН"), v("CI_TAXNO")},
            {QString(), v("CI_COMPANY"), PartyLine::Name, 1.5},
            {u("Гр./с/"), v("CI_CITY")},
            {u("Улица, №"), v("CI_ADDRESS"), PartyLine::Field, 1.5},
            {u("МОЛ:"), v("CI_CLNAME")},
            {QString(), u("трите имена"), PartyLine::Caption},
        };
        if (v("IN_CASH") == QLatin1String("2")) {
            supplier.push_back({QString(), QString(), PartyLine::Caption});
            supplier.push_back({u("IBAN:"), v("BACCOUNT")});
            supplier.push_back({u("BIC:"), v("BCODE")});
            supplier.push_back({u("Банка:"), v("BANK")});
        }
        partyBox(QRectF(x(0), top, side * W, height), u("ПОЛУЧАТЕЛ"), client);
        partyBox(QRectF(x(1 - side), top, side * W, height), u("ДОСТАВЧИК"), supplier);

        // The centre: room for a logo, the title, the number, date and place,
        // and the kind of a notification with the invoice it corrects.
        const double left = x(side) + 1.5;
        const double width = (1 - 2 * side) * W - 3;
        double y = top + 2.2 * L;
        p.text(QRectF(left, y, width, 1.6 * L), u("Ф А К Т У Р А"), p.font(k.title, true), Qt::AlignCenter);
        y += 1.6 * L;
        if (original)
            p.text(QRectF(left, y, width, 1.1 * L), u("О Р И Г И Н А Л"), p.font(k.base + 1.5, true), Qt::AlignCenter);
        y += 1.2 * L;
        centredPair(y, u("№"), cancelled() ? v("INOMER") + u(" АНУЛИРАНА") : v("INOMER"), left, width);
        y += L;
        centredPair(y, u("Дата:"), v("IDATE"), left, width);
        y += L;
        centredPair(y, u("Място на издаване"), v("IPLACE"), left, width);
        y += 1.2 * L;
        const double boxesLeft = left + width * 0.12;
        labelledBox(boxesLeft, y, v("NOTIFY") == u("КРЕДИТНО"), u("Кредитно известие"), base(), width * 0.88);
        y += L;
        labelledBox(boxesLeft, y, v("NOTIFY") == u("ДЕБИТНО"), u("Дебитно известие"), base(), width * 0.88);
        y += 1.1 * L;
        p.field(QRectF(left + width * 0.05, y, width * 0.9, L), u("към ф-ра №:"), v("INVNUM"), base(), base(true));
        y += L;
        p.field(QRectF(left + width * 0.05, y, width * 0.9, L), u("от дата:"), v("INVNOTIFDATE"), base(), base(true));
        return top + height;
    }

    double drawTable(double top)
    {
        const QStringList headings{u("№"), u("Наименавание на стоките/услугите"), u("Мярка"), u("Количество"),
                                   u("Единична цена"), u("Стойност")};
        std::vector<double> edges{x(0)};
        for (const double part : kColumns)
            edges.push_back(edges.back() + part * W);
        const double headingHeight = 1.5 * L;
        const QRectF headingRow(x(0), top, W, headingHeight);
        p.fill(headingRow, QColor(225, 225, 225));
        for (int c = 0; c < headings.size(); ++c)
            p.text(QRectF(edges[c] + 0.6, top, edges[c + 1] - edges[c] - 1.2, headingHeight), headings.at(c),
                   p.font(k.base, true), Qt::AlignCenter);
        double y = top + headingHeight;
        p.line(x(0), y, x(1), y, 0.3);
        const std::vector<LineTableRow> rows = m.lineTable(half);
        const QFont font = base();
        for (const LineTableRow &row : rows) {
            const double height = k.row * (row.longText ? 2 : 1);
            const QStringList cells{row.number, row.text, row.unit, row.quantity, row.price, row.value};
            const int aligns[] = {Qt::AlignCenter, Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignCenter,
                                  Qt::AlignRight | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter,
                                  Qt::AlignRight | Qt::AlignVCenter};
            for (int c = 0; c < cells.size(); ++c)
                p.text(QRectF(edges[c] + 0.8, y, edges[c + 1] - edges[c] - 1.6, height), cells.at(c), font, aligns[c]);
            y += height;
            p.line(x(0), y, x(1), y, 0.1);
        }
        p.frame(QRectF(x(0), top, W, y - top), 0.3);
        for (size_t c = 1; c + 1 < edges.size(); ++c)
            p.line(edges[c], top, edges[c], y, 0.2);
        return y;
    }

    double drawTotals(double top)
    {
        const QString currency = m.currency().sign();
        p.field(QRectF(x(0), top, 0.5 * W, L), u("Дата на дан. събитие:"), v("IDATA"), base(), base(true));
        const std::pair<QString, QString> totals[] = {
            {u("Всичко:"), v("TOTAL")},
            {u("ДДС ") + v("SV") + u(" %:"), v("VAT")},
            {u("Общо:"), v("GROSS_TOTAL")},
        };
        double y = top;
        for (const auto &[label, value] : totals) {
            p.text(QRectF(x(0.58), y, 0.2 * W, L), label, base(true), Qt::AlignRight | Qt::AlignVCenter);
            p.frame(QRectF(x(0.79), y, 0.15 * W, L), 0.2);
            p.text(QRectF(x(0.79) + 0.8, y, 0.15 * W - 1.6, L), value, base(true), Qt::AlignRight | Qt::AlignVCenter);
            p.text(QRectF(x(0.945), y, 0.055 * W, L), currency, base(), Qt::AlignLeft | Qt::AlignVCenter);
            y += L;
        }
        y += 0.3 * L;
        const double labelWidth = p.width(u("Словом"), base(true)) + 1.5;
        p.text(QRectF(x(0), y, labelWidth, L), u("Словом"), base(true), Qt::AlignLeft | Qt::AlignTop);
        const QRectF words = p.text(QRectF(x(0) + labelWidth, y, W - labelWidth, 1.6 * L), v("CASH_SPELL"),
                                    p.font(k.base, true, true), Qt::AlignLeft | Qt::AlignTop);
        const double rule = qMax(y + L - 0.2, words.bottom() + 0.2);
        p.line(x(0) + labelWidth, rule, x(1), rule, 0.12, Qt::DotLine);
        return y + 1.6 * L;
    }

    double drawSpecialCases(double top)
    {
        p.line(x(0), top, x(1), top, 0.2);
        double y = top + 0.2 * L;
        const double size = 0.62 * L;
        const double textLeft = x(0) + size + 1.5;
        const double textWidth = W - size - 1.5;
        const auto box = [&](const char *name) { p.checkBox(x(0), y + (L - size) / 2, size, v(name) == QLatin1String("1")); };

        box("NONCHARGE_VAT");
        const QString article = u("чл. 28с(Е)(3) 77/388/ЕЕС");
        const double articleWidth = p.width(article, base(true)) + 1.5;
        p.text(QRectF(textLeft, y, articleWidth, L), article, base(true));
        p.text(QRectF(textLeft + articleWidth, y, textWidth - articleWidth, L),
               u("основание за неначисляване на ДДС, когато рег. лице е посредник в тристранна операция "), base());
        y += 1.15 * L;

        box("RQVAT");
        const QString due = u("Данъкът е изислуем от получателя на основание:");
        const double dueWidth = p.width(due, base()) + 1.5;
        p.field(QRectF(textLeft, y, textWidth, L), due, v("RQDETAIL"), base(), base(true));
        y += L;
        p.text(QRectF(textLeft + dueWidth, y - 0.1 * L, textWidth - dueWidth, 0.7 * L),
               u("ред за описание на основанието за нулева ствка, ако данъкът е изискуем от получателя"), small(),
               Qt::AlignCenter);
        y += 0.75 * L;

        box("NEWVEHICLE");
        p.text(QRectF(textLeft, y, textWidth, L),
               u("Обстоятелствата, които определят стоката като превозно средство - при вътреобщностна доставка"), base());
        y += L;
        p.field(QRectF(textLeft, y, textWidth, L), QString(), v("NVDETAIL"), base(), base(true));
        y += L;
        p.text(QRectF(textLeft, y - 0.1 * L, textWidth, 0.7 * L),
               u("обстоятелствата, определящи стоката като ново превозно средство при вътрешнообщностна доставка"), small(),
               Qt::AlignCenter);
        y += 0.8 * L;
        p.field(QRectF(textLeft, y, textWidth, L), u("Основание за нулева ставка:"), v("ZEROGROUND"), base(), base(true));
        y += 1.1 * L;
        p.line(x(0), y, x(1), y, 0.2);
        return y;
    }

    void drawParties(double top)
    {
        // The receiver and the papers he showed.
        double y = top;
        const double leftWidth = 0.42 * W;
        p.field(QRectF(x(0), y, leftWidth, L), u("Получил:"), v("IRECIEVER"), base(), base(true));
        y += L;
        p.text(QRectF(x(0.08), y - 0.1 * L, leftWidth - 0.08 * W, 0.7 * L), u("трите имена"), small(), Qt::AlignCenter);
        y += 0.7 * L;
        p.field(QRectF(x(0), y, leftWidth, L), u("Пълномощно №"), v("LA_DATA"), base(), base(true));
        y += L;
        p.field(QRectF(x(0), y, 0.125 * W, L), u("ЛК №"), v("ILKNO"), base(), base(true));
        p.field(QRectF(x(0.13), y, 0.14 * W, L), u("МВР:"), v("IMVR"), base(), base(true));
        p.field(QRectF(x(0.275), y, 0.145 * W, L), u("Изд. на "), v("ICRDPUB"), base(), base(true));

        // The one who drew it up, with room for the signature.
        y = top;
        const double middle = x(0.45);
        const double middleWidth = 0.28 * W;
        p.field(QRectF(middle, y, middleWidth, L), u("Съставил:"), v("INVOICE_CREATOR"), base(), base(true));
        y += L;
        p.text(QRectF(middle + 0.05 * W, y - 0.1 * L, middleWidth - 0.05 * W, 0.7 * L), u("/собствено и фамилно име/"),
               small(), Qt::AlignCenter);
        y += 1.7 * L;
        p.line(middle + 0.05 * W, y, middle + middleWidth, y, 0.12, Qt::DotLine);
        p.text(QRectF(middle + 0.05 * W, y, middleWidth - 0.05 * W, 0.7 * L), u("/подпис/"), small(), Qt::AlignCenter);

        // How it is paid.
        y = top;
        const double right = x(0.76);
        p.text(QRectF(right, y, 0.24 * W, L), u("Начин на плащане:"), base(true));
        y += 1.05 * L;
        labelledBox(right + 1, y, v("IN_CASH") == QLatin1String("1"), u("В брой"), base(), 0.23 * W);
        y += L;
        labelledBox(right + 1, y, v("IN_CASH") == QLatin1String("2"), u("С банков превод"), base(), 0.23 * W);
    }

    void drawFoot()
    {
        const double bottom = area.bottom();
        p.text(QRectF(x(0), bottom - 1.6 * L, W, 0.8 * L),
               u("Формулярът е съобразен с изискванията на ЗДДС - чл. 114 (ДВ бр. 63/2006 г.). ППЗДДС. чл. 78 (ДВ бр. "
                 "76/2006г.) и ДОПК "),
               small(false), Qt::AlignCenter);
        p.text(QRectF(x(0), bottom - 0.8 * L, W, 0.8 * L), issuingSoftware(), small(), Qt::AlignCenter);
    }

    PagePainter &p;
    const TdmInvoice &m;
    const QRectF area;
    const bool half;
    const bool original;
    const Metrics k;
    const double W;
    const double L;
};

} // namespace

void renderInvoice(const TdmInvoice &module, QPagedPaintDevice &device)
{
    PagePainter page(device);
    const double width = kSheetWidth - 2 * kSideMargin;
    bool first = true;
    for (const int number : module.pages()) {
        if (!first)
            page.newPage();
        first = false;
        if (number == 1) {
            const double halfSheet = kSheetHeight / 2;
            InvoiceForm(page, module, QRectF(kSideMargin, 5, width, halfSheet - 10), true, true).draw();
            page.line(3, halfSheet, kSheetWidth - 3, halfSheet, 0.15, Qt::DashLine);
            InvoiceForm(page, module, QRectF(kSideMargin, halfSheet + 5, width, halfSheet - 10), true, false).draw();
        } else {
            InvoiceForm(page, module, QRectF(kSideMargin, 8, width, kSheetHeight - 16), false, number == 2).draw();
        }
    }
}
