#include "invoicing/PdfText.h"
#include "invoicing/PrintFixture.h"
#include "support/StockData.h"
#include "ui/TfrmPrintPreview.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class PrintedDocuments : public PrintFixture
{
protected:
    QString printInvoice(int id, bool onlyCopy = false)
    {
        putBoardValues(id, onlyCopy);
        module.PrepareInvoice(id);
        const QString path = dir.path(QStringLiteral("invoice-%1.pdf").arg(id));
        module.savePdf(path);
        return path;
    }

    static int occurrences(const QString &text, const QString &word) { return int(text.count(word)); }

    // pdftotext reads the spaced-out title and mark as single words.
    static QString title() { return QStringLiteral("ФАКТУРА"); }
    static QString originalMark() { return QStringLiteral("ОРИГИНАЛ"); }

    // About `length` characters of words that name the text: "Име1 Име2 …".
    static QString longValue(const QString &tag, int length)
    {
        QString value = tag + QLatin1Char('1');
        for (int n = 2; value.size() + tag.size() + 4 <= length; ++n)
            value += QLatin1Char(' ') + tag + QString::number(n);
        return value;
    }

    // Every word of the texts printed `times` times at least, and every word
    // on the first page within 5 mm of the sheet's edges and clear of others.
    static void expectWholeAndApart(const QString &path, const QStringList &texts, int times)
    {
        const std::vector<PdfWord> words = pdfWords(path, 1);
        QHash<QString, int> printed;
        for (const PdfWord &word : words)
            ++printed[word.text];
        for (const QString &text : texts) {
            for (const QString &word : text.split(QLatin1Char(' ')))
                EXPECT_GE(printed.value(word), times) << word.toStdString();
        }
        const QRectF inside = QRectF(0, 0, 595.3, 841.9).adjusted(14, 14, -14, -14);
        for (size_t i = 0; i < words.size(); ++i) {
            const QRectF &box = words[i].box;
            EXPECT_TRUE(inside.contains(box)) << words[i].text.toStdString();
            for (size_t j = i + 1; j < words.size(); ++j) {
                const QRectF common = box.intersected(words[j].box);
                EXPECT_LT(common.width() * common.height(), 0.2 * box.width() * box.height())
                    << words[i].text.toStdString() << " over " << words[j].text.toStdString();
            }
        }
    }
};

TEST_F(PrintedDocuments, TheWholePageOriginalComesWithItsCopies)
{
    options(QStringLiteral("0"), QStringLiteral("1"));
    addThreeLineInvoice(1, QDate(2026, 2, 10),
                        {{QStringLiteral("SELL_DATE"), QDate(2026, 2, 8)},
                         {QStringLiteral("WITH_BANKS"), 1},
                         {QStringLiteral("ACCOUNT"), QStringLiteral("BG80BNBG96611020345678")},
                         {QStringLiteral("BANK"), QStringLiteral("Българска народна банка")},
                         {QStringLiteral("CODE"), QStringLiteral("BNBGBGSD")}});
    const QString path = printInvoice(1);
    ASSERT_EQ(pdfPages(path), 3);

    const QString original = pdfText(path, 1);
    for (const char *expected :
         {"ПОЛУЧАТЕЛ", "ДОСТАВЧИК", "ФАКТУРА", "ОРИГИНАЛ", "№ 0000000042", "Дата: 10.02.2026",
          "Място на издаване Пловдив", "Дата на дан. събитие: 08.02.2026", "ИН по ЗДДС BG115000111", "Тракия ООД",
          "ИН по ЗДДС BG120000999", "ИН 1234567890", "Родопа ЕООД", "МОЛ: Георги Георгиев", "IBAN: BG80BNBG96611020345678",
          "BIC: BNBGBGSD", "Банка: Българска народна банка", "Кредитно известие", "Дебитно известие",
          "Наименавание на стоките/услугите", "Доставка и монтаж на климатична система", "Всичко:", "25.50", "ДДС 20 %:",
          "5.10", "Общо:", "30.60 EUR", "Словом тридесет евро и шестдесет цента", "Получил: Петър Иванов",
          "Съставил: Мария Иванова", "/подпис/", "Начин на плащане:", "В брой", "С банков превод",
          "Формулярът е съобразен с изискванията на ЗДДС - чл. 114 (ДВ бр. 63/2006 г.). ППЗДДС. чл. 78 (ДВ бр. "
          "76/2006г.) и ДОПК",
          "Данъкът е изислуем от получателя на основание:", "чл. 28с(Е)(3) 77/388/ЕЕС"}) {
        EXPECT_TRUE(original.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_FALSE(original.contains(QStringLiteral("лв.")));
    EXPECT_FALSE(original.contains(QStringLiteral("-not-set-")));
    for (const int copy : {2, 3}) {
        const QString text = pdfText(path, copy);
        EXPECT_TRUE(text.contains(title())) << copy;
        EXPECT_FALSE(text.contains(originalMark())) << copy;
        EXPECT_TRUE(text.contains(QStringLiteral("30.60 EUR"))) << copy;
    }
}

TEST_F(PrintedDocuments, TheHalfPageFormPutsOriginalAndCopyOnOneSheet)
{
    options(QStringLiteral("1"), QStringLiteral("0"));
    addThreeLineInvoice(1, QDate(2026, 2, 10));
    const QString path = printInvoice(1);
    ASSERT_EQ(pdfPages(path), 1);
    const QString text = pdfText(path);
    EXPECT_EQ(occurrences(text, title()), 2);
    EXPECT_EQ(occurrences(text, originalMark()), 1);
    // A cash invoice names no account and ticks cash.
    EXPECT_FALSE(text.contains(QStringLiteral("IBAN")));
    EXPECT_EQ(occurrences(text, QStringLiteral("Дата на дан. събитие: 10.02.2026")), 2);

    const QString copyOnly = printInvoice(1, true);
    ASSERT_EQ(pdfPages(copyOnly), 1);
    EXPECT_FALSE(pdfText(copyOnly).contains(originalMark()));
}

TEST_F(PrintedDocuments, AnInvoiceOf2025IsInLevaAndOneOf2026InEuro)
{
    addThreeLineInvoice(1, QDate(2025, 12, 31));
    addThreeLineInvoice(2, QDate(2026, 1, 1));
    const QString leva = pdfText(printInvoice(1), 1);
    const QString euro = pdfText(printInvoice(2), 1);
    EXPECT_TRUE(leva.contains(QStringLiteral("30.60 лв."))) << leva.toStdString();
    EXPECT_TRUE(leva.contains(QStringLiteral("Словом тридесет лева и 60 ст.")));
    EXPECT_FALSE(leva.contains(QStringLiteral("EUR")));
    EXPECT_TRUE(leva.contains(QStringLiteral("Дата: 31.12.2025")));
    EXPECT_TRUE(euro.contains(QStringLiteral("30.60 EUR")));
    EXPECT_TRUE(euro.contains(QStringLiteral("Словом тридесет евро и шестдесет цента")));
    EXPECT_FALSE(euro.contains(QStringLiteral("лв.")));
    EXPECT_TRUE(euro.contains(QStringLiteral("Дата: 01.01.2026")));
}

TEST_F(PrintedDocuments, TheReceiptShowsBothPartiesTheRowsAndTheSignatures)
{
    // A database still kept in leva: its receipt of 2025 reads in leva.
    dm->ExecSQL(QStringLiteral("delete from APP_CONFIG where KEY_ID = 402"));
    addDocument(*dm, 5, 11, 12, QDateTime(QDate(2025, 11, 3), QTime(10, 0)));
    putReceipt(QStringLiteral("PRODAJBA"));
    module.PrepareReceipt(5);
    const QString path = dir.path(QStringLiteral("receipt.pdf"));
    module.savePdf(path);
    ASSERT_EQ(pdfPages(path), 1);
    const QString text = pdfText(path);
    for (const char *expected :
         {"Предал : Родопа ЕООД", "Получил : Тракия ООД", "Адрес гр/с : Смолян, бул. България 12", "Дан № : 1234567890",
          "Булстат : 120000999", "МОЛ : Иван Петров", "СТОКОВА РАЗПИСКА № 17", "Обект: Склад Смолян", "Артикул",
          "Ед. цена", "Количество", "Сума", "Брашно 1.20 2.50 кг 3.00", "Олио 3.50 2.40 л 8.40",
          "Обща сума: 11.40 лв.", "Предал : Георги Георгиев", "Получил : Иван Петров", "/подпис/"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_FALSE(text.contains(QStringLiteral("-not-set-")));
}

TEST_F(PrintedDocuments, AReceiptOf2025InADatabaseInEuroReadsInEuro)
{
    addDocument(*dm, 5, 11, 12, QDateTime(QDate(2025, 11, 3), QTime(10, 0)));
    putReceipt(QStringLiteral("PRODAJBA"));
    module.PrepareReceipt(5);
    const QString path = dir.path(QStringLiteral("receipt.pdf"));
    module.savePdf(path);
    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("Обща сума: 11.40 EUR"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("лв.")));
}

TEST_F(PrintedDocuments, TheReceiptRunsOnToMorePagesWithItsHeadings)
{
    putReceipt(QStringLiteral("DOSTAVKA"));
    QVariantList rows;
    for (int i = 1; i <= 40; ++i)
        rows << QVariant(QVariantList{QStringLiteral("Стока %1").arg(i), QStringLiteral("бр."), i, 1.0});
    PutParam(QStringLiteral("INVOICE:DATA_ROWS"), rows);
    module.PrepareReceipt(6);
    const QString path = dir.path(QStringLiteral("long-receipt.pdf"));
    module.savePdf(path);
    ASSERT_EQ(pdfPages(path), 2);
    const QString second = pdfText(path, 2);
    EXPECT_TRUE(second.contains(QStringLiteral("Артикул")));
    EXPECT_TRUE(second.contains(QStringLiteral("Стока 40")));
    EXPECT_TRUE(second.contains(QStringLiteral("Обща сума:")));
    EXPECT_FALSE(pdfText(path, 1).contains(QStringLiteral("Обща сума:")));
}

TEST_F(PrintedDocuments, LongTextsPrintWholeWithinTheSheetAndOverNoOtherText)
{
    const QString company = longValue(QStringLiteral("Фирма"), 200);
    const QString street = longValue(QStringLiteral("Улица"), 200);
    settings.WriteString(QStringLiteral("clientinfo\\company"), company);
    settings.WriteString(QStringLiteral("clientinfo\\address"), street);
    addThreeLineInvoice(1, QDate(2026, 2, 10));
    const QString goods = longValue(QStringLiteral("Стока"), 80);
    addInvoiceLine(*dm, 19, 1, 4, goods, QStringLiteral("бр."), 1, 1);
    const std::pair<const char *, QString> board[] = {
        {"INVOICEFIRMPERSON", longValue(QStringLiteral("Име"), 200)},
        {"INVOICEADDRESS", longValue(QStringLiteral("Махала"), 200)},
        {"INVOICECITY", longValue(QStringLiteral("Град"), 80)},
        {"INVOICEMOL", longValue(QStringLiteral("Лице"), 80)},
        {"INVOICEBANK", longValue(QStringLiteral("Банка"), 80)},
        {"INVOICERECIEVER", longValue(QStringLiteral("Получател"), 80)},
        {"INVOICECREATOR", longValue(QStringLiteral("Съставител"), 80)},
        {"INVOICE_ZEROGROUND", longValue(QStringLiteral("Основание"), 200)},
    };
    QStringList texts{company, street, goods};
    for (const auto &[name, value] : board)
        texts << value;
    for (const bool halfPage : {false, true}) {
        options(halfPage ? QStringLiteral("1") : QStringLiteral("0"), QStringLiteral("0"));
        putBoardValues(1);
        PutParam(QStringLiteral("PRN_INVOICE:INVOICEIN_CASH"), QStringLiteral("2"));
        for (const auto &[name, value] : board)
            PutParam(QStringLiteral("PRN_INVOICE:") + QString::fromLatin1(name), value);
        module.PrepareInvoice(1);
        const QString path = dir.path(QStringLiteral("long-%1.pdf").arg(halfPage));
        module.savePdf(path);
        SCOPED_TRACE(halfPage ? "half page" : "whole page");
        expectWholeAndApart(path, texts, halfPage ? 2 : 1);
    }

    putReceipt(QStringLiteral("PRODAJBA"));
    const std::pair<const char *, QString> parties[] = {
        {"FNAME", company},
        {"FADDRESS", street},
        {"KNAME", longValue(QStringLiteral("Купувач"), 200)},
        {"KADDRESS", longValue(QStringLiteral("Адрес"), 200)},
        {"KMOL", longValue(QStringLiteral("Лице"), 80)},
    };
    texts.clear();
    for (const auto &[name, value] : parties) {
        PutParam(QStringLiteral("INVOICE:") + QString::fromLatin1(name), value);
        texts << value;
    }
    // The goods' names are of 40 characters.
    const QString goodsName = longValue(QStringLiteral("Брашно"), 40);
    texts << goodsName;
    PutParam(QStringLiteral("INVOICE:DATA_ROWS"), QVariantList{QVariantList{goodsName, QStringLiteral("кг"), 2.5, 1.2}});
    module.PrepareReceipt(5);
    const QString path = dir.path(QStringLiteral("long-receipt.pdf"));
    module.savePdf(path);
    SCOPED_TRACE("receipt");
    expectWholeAndApart(path, texts, 1);
}

TEST_F(PrintedDocuments, TheDottedLineRunsUnderTheLastLineOfTheAmountInWords)
{
    addThreeLineInvoice(1, QDate(2026, 2, 10));
    putBoardValues(1);
    const QString words = longValue(QStringLiteral("словом"), 170);
    PutParam(QStringLiteral("PRN_INVOICE:INVOICESPCASH"), words);
    module.PrepareInvoice(1);
    const QString path = dir.path(QStringLiteral("words.pdf"));
    module.savePdf(path);
    QRectF first;
    QRectF last;
    for (const PdfWord &word : pdfWords(path, 1)) {
        if (word.text == words.section(QLatin1Char(' '), 0, 0))
            first = word.box;
        if (word.text == words.section(QLatin1Char(' '), -1))
            last = word.box;
    }
    ASSERT_GT(last.top(), first.bottom()) << "the words take two lines";

    // The darkest pixel row right of the last word, from its top to just
    // below it, is the dotted line.
    const double dots = 2; // pixels a point at 144 dpi
    QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("144"), QStringLiteral("-gray"),
                                                   QStringLiteral("-png"), QStringLiteral("-singlefile"), path,
                                                   dir.path(QStringLiteral("words"))});
    const QImage page(dir.path(QStringLiteral("words.png")));
    ASSERT_FALSE(page.isNull());
    int rule = 0;
    int mostDark = 0;
    for (int y = int(last.top() * dots); y < int((last.bottom() + 4) * dots); ++y) {
        int dark = 0;
        for (int x = int((last.right() + 6) * dots); x < int(560 * dots); ++x)
            dark += qGray(page.pixel(x, y)) < 160 ? 1 : 0;
        if (dark > mostDark) {
            mostDark = dark;
            rule = y;
        }
    }
    EXPECT_GT(rule / dots, last.top() + 0.8 * last.height()) << "the line runs through the words";
}

TEST_F(PrintedDocuments, ACancelledInvoiceIsMarkedOnEveryForm)
{
    addThreeLineInvoice(1, QDate(2026, 2, 10), {{QStringLiteral("IS_WAITING"), 2}});
    addThreeLineInvoice(2, QDate(2026, 2, 10));
    const QString mark = QStringLiteral("АНУЛИРАНА");
    struct Form
    {
        const char *docSize;
        int pages;
        int formsOnPage;
    };
    for (const Form form : {Form{"0", 3, 1}, Form{"1", 2, 2}}) {
        options(QString::fromLatin1(form.docSize), QStringLiteral("1"));
        const QString path = printInvoice(1);
        ASSERT_EQ(pdfPages(path), form.pages);
        for (int page = 1; page <= form.pages; ++page) {
            // Beside the number and across the form, letter by letter.
            const QString text = pdfText(path, page, QStringLiteral("-raw"));
            const int forms = page == 1 ? form.formsOnPage : 1;
            EXPECT_EQ(occurrences(text, QStringLiteral("№ 0000000042 ") + mark), forms) << form.docSize << page;
            EXPECT_EQ(occurrences(text, QStringLiteral("А Н У Л И Р А Н А")), forms) << form.docSize << page;
        }
        EXPECT_FALSE(pdfText(printInvoice(2)).contains(mark));
    }
}

TEST_F(PrintedDocuments, TheReceiptsFiguresUseTheSystemsDecimalSeparator)
{
    const QLocale system;
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::Bulgarian, QLocale::Bulgaria)}) {
        QLocale::setDefault(locale);
        putReceipt(QStringLiteral("PRODAJBA"));
        module.PrepareReceipt(5);
        const QString path = dir.path(QStringLiteral("receipt.pdf"));
        module.savePdf(path);
        const QString text = pdfText(path);
        for (const char *expected : {"Брашно 1.20 2.50 кг 3.00", "Обща сума: 11.40"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(expected).replace(QLatin1Char('.'), locale.decimalPoint())))
                << expected << locale.name().toStdString();
    }
    QLocale::setDefault(system);
}

TEST_F(PrintedDocuments, ThePreviewOffersPrintingZoomSetUpPagesAndPdf)
{
    addThreeLineInvoice(1, QDate(2026, 2, 10));
    putBoardValues(1);
    module.PrepareInvoice(1);
    QString title;
    QStringList captions;
    QPageSize::PageSizeId size = QPageSize::Custom;
    QTimer::singleShot(0, [&] {
        if (auto *preview = qobject_cast<TfrmPrintPreview *>(QApplication::activeModalWidget())) {
            title = preview->windowTitle();
            size = preview->printer().pageLayout().pageSize().id();
            for (QAction *action : preview->toolBar()->actions())
                captions << action->text();
            preview->reject();
        }
    });
    QTimer::singleShot(5000, [] {
        if (QWidget *window = QApplication::activeModalWidget())
            window->close();
    });
    module.preview();
    EXPECT_EQ(title, QStringLiteral("Фактура 0000000042"));
    EXPECT_EQ(size, QPageSize::A4);
    for (const char *caption : {"Печат", "Настройки", "Увеличение", "Пред.стр.", "Следв.стр.", "PDF", "Изход"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
}

} // namespace
