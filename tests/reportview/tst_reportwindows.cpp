#include "reportview/ReportPrint.h"
#include "reportview/ReportProgress.h"
#include "reportview/ReportTableModel.h"
#include "reportview/TfrmReportParams.h"
#include "reportview/TfrmReportPreview.h"
#include "reportview/TfrmReportSettings.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace testing_support;
using namespace reportdata;

namespace {

ReportTable sample()
{
    ReportTable table;
    table.title = QStringLiteral("Продажби по стоки");
    table.parameters = QStringLiteral("Период: от 01.11.2026 до 30.11.2026");
    table.columns = {{QStringLiteral("Код"), CellFormat::Code, 8, 6},
                     {QStringLiteral("Наименование"), CellFormat::Text, 36},
                     {QStringLiteral("Стойност"), CellFormat::Money, 14}};
    for (int i = 1; i <= 120; ++i)
        table.rows.push_back({i, QStringLiteral("Стока %1").arg(i), i * 1.5});
    table.totals = {QVariant(), QStringLiteral("Общо"), 10890.0};
    return table;
}

const ReportEntry &entry(ReportKind kind)
{
    for (const ReportEntry &candidate : reportCatalogue())
        if (candidate.kind == kind)
            return candidate;
    throw std::logic_error("no such report");
}

class ReportWindows : public GuiTest
{
};

TEST_F(ReportWindows, ThePreviewShowsTheRowsAndTheTotalsLineNumbersToTheRight)
{
    TfrmReportPreview window(sample(), QString());
    QAbstractItemModelTester tester(window.view()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QAbstractItemModel &model = *window.view()->model();
    ASSERT_EQ(model.rowCount(), 121);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("000001"));
    EXPECT_EQ(model.data(model.index(120, 1)).toString(), QStringLiteral("Общо"));
    EXPECT_TRUE(model.data(model.index(120, 1), Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::FontRole).isValid());
    EXPECT_TRUE(model.data(model.index(0, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    EXPECT_TRUE(model.data(model.index(0, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignLeft);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Стойност"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Продажби по стоки"));
}

TEST_F(ReportWindows, CsvAndPdfGoWhereTheUserSaysAndNowhereWhenCancelled)
{
    TfrmReportPreview window(sample(), dir.path(QString()));
    QStringList suggestions;
    QString answer = dir.path(QStringLiteral("справка.csv"));
    window.askPath = [&](const QString &, const QString &suggested, const QString &) {
        suggestions << suggested;
        return answer;
    };
    window.btnCsv()->click();
    QFile csv(answer);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), csvBytes(sample()));
    EXPECT_TRUE(suggestions.last().endsWith(QStringLiteral("/Продажби по стоки.csv"))) << suggestions.last().toStdString();

    answer = dir.path(QStringLiteral("справка.pdf"));
    window.btnPdf()->click();
    QFile pdf(answer);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_TRUE(dialogs.errors.empty());

    answer.clear();
    window.btnCsv()->click();
    EXPECT_TRUE(dialogs.errors.empty());

    answer = dir.path(QStringLiteral("няма/справка.csv"));
    window.btnCsv()->click();
    ASSERT_EQ(dialogs.errors.size(), 1u);
}

TEST_F(ReportWindows, TheParameterWindowAsksForWhatTheReportNeeds)
{
    const QDate today(2026, 12, 9);
    TfrmReportParams onDay(entry(ReportKind::StockOnHand), {}, today);
    ASSERT_TRUE(onDay.dateEdit());
    EXPECT_FALSE(onDay.fromEdit());
    EXPECT_FALSE(onDay.goodsBox());
    onDay.dateEdit()->setDate(QDate(2026, 11, 30));
    EXPECT_EQ(onDay.parameters().date, QDate(2026, 11, 30));
    EXPECT_EQ(onDay.parameters().today, today);

    TfrmReportParams period(entry(ReportKind::SalesByGoods), {}, today);
    EXPECT_FALSE(period.dateEdit());
    EXPECT_EQ(period.parameters().from, QDate(2026, 12, 1));
    EXPECT_EQ(period.parameters().to, today);

    TfrmReportParams card(entry(ReportKind::StockCard), {{7, 101, QStringLiteral("Брашно")}, {9, 102, QStringLiteral("Захар")}},
                          today);
    ASSERT_TRUE(card.goodsBox());
    card.goodsBox()->setCurrentIndex(1);
    EXPECT_EQ(card.parameters().goodsId, 9);
    // A name that matches no goods item chooses none.
    card.goodsBox()->setEditText(QStringLiteral("Сол"));
    EXPECT_EQ(card.parameters().goodsId, 0);

    // The ledger is asked for once its month is over.
    TfrmReportParams month(entry(ReportKind::SalesLedger), {}, QDate(2026, 1, 9));
    ASSERT_TRUE(month.monthEdit());
    EXPECT_FALSE(month.dateEdit() || month.fromEdit());
    EXPECT_EQ(month.parameters().month, QDate(2025, 12, 1));
}

TEST_F(ReportWindows, ALongReportShowsProgressAndAFailedOneRaisesItsErrorHere)
{
    QWidget owner;
    bool shown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget *widget : QApplication::topLevelWidgets())
            shown = shown || (widget->inherits("QProgressDialog") && widget->isVisible());
    });
    watch.start(50);
    const ReportTable table = runWithProgress(&owner, QStringLiteral("Справка"), [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1600));
        return sample();
    });
    EXPECT_EQ(table.rows.size(), 120u);
    EXPECT_TRUE(shown);

    shown = false;
    runWithProgress(&owner, QStringLiteral("Справка"), [] { return sample(); });
    EXPECT_FALSE(shown);

    EXPECT_THROW(runWithProgress(&owner, QStringLiteral("Справка"),
                                 []() -> ReportTable { throw varnex::Error(QStringLiteral("Грешка")); }),
                 varnex::Error);
}

TEST_F(ReportWindows, ThePrintRunsOverSeveralPagesAndWideReportsTurnTheSheet)
{
    EXPECT_FALSE(reportNeedsLandscape(sample()));
    ReportTable wide = sample();
    for (int i = 0; i < 6; ++i)
        wide.columns.push_back({QStringLiteral("Сума"), CellFormat::Money, 12});
    EXPECT_TRUE(reportNeedsLandscape(wide));

    TfrmReportPreview window(sample(), QString());
    const QString path = dir.path(QStringLiteral("справка.pdf"));
    ASSERT_TRUE(window.savePdf(path));
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    // 120 rows and the totals do not fit one A4 page.
    EXPECT_GE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page>>")
                  + bytes.count("/Type /Page "),
              2)
        << bytes.left(200).toStdString();
}

TEST_F(ReportWindows, SettingsKeepTheExportFolder)
{
    const QString file = dir.path(QStringLiteral("reports.ini"));
    EXPECT_TRUE(ReportSettings::load(file).exportFolder.isEmpty());
    TfrmReportSettings window(ReportSettings{QStringLiteral("/tmp")});
    EXPECT_EQ(window.folderEdit()->text(), QStringLiteral("/tmp"));
    window.folderEdit()->setText(QStringLiteral("  /srv/справки  "));
    window.settings().save(file);
    EXPECT_EQ(ReportSettings::load(file).exportFolder, QStringLiteral("/srv/справки"));
}

// A shop of a few goods and counterparties, for the previews of real
// reports; with VARNEX_SCREENSHOT_DIR set they are also saved as pictures.
class ReportPreviews : public GuiDatabaseTest
{
protected:
    ReportPreviews()
    {
        const QStringList goods = {QStringLiteral("Брашно тип 500"), QStringLiteral("Захар кристална"),
                                   QStringLiteral("Олио слънчогледово 1 л"), QStringLiteral("Ориз"),
                                   QStringLiteral("Боб зрял"), QStringLiteral("Леща червена"),
                                   QStringLiteral("Сол йодирана"), QStringLiteral("Макарони"),
                                   QStringLiteral("Кафе мляно"), QStringLiteral("Чай билков")};
        for (int i = 0; i < goods.size(); ++i)
            addGoods(*dm, i + 1, 1001 + i, goods[i], 0, i != 9);
        const QStringList names = {QStringLiteral("Агро Трейд ЕООД"), QStringLiteral("Мелница Добруджа АД"),
                                   QStringLiteral("Верига Белия ООД"), QStringLiteral("Магазин Здраве"),
                                   QStringLiteral("ЕТ Петров")};
        for (int i = 0; i < names.size(); ++i)
            addCounterparty(*dm, i + 2, i + 2, names[i], i < 2 ? 1 : 0);
        int line = 0;
        for (int document = 1; document <= 40; ++document) {
            const bool delivery = document % 3 == 1;
            const int counterparty = delivery ? 2 + document % 2 : 4 + document % 3;
            const QDate day = QDate(2026, 8, 1).addDays(document * 3);
            double sum = 0;
            for (int i = 0; i < 4; ++i) {
                const int item = 1 + (document * 7 + i * 3) % 10;
                const double quantity = delivery ? 40 + (document + i) % 5 * 10 : 3 + (document + i) % 7;
                const double price = (delivery ? 1.2 : 1.9) + item * 0.35 + (document % 4) * 0.05;
                sum += quantity * price;
                addLine(*dm, ++line, document, item, delivery ? 1 : -1, quantity, quantity, price);
            }
            dm->ExecSQL(QStringLiteral("insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_KONT_ID, "
                                       "TRANZ_TIME, TRANZ_PADEJ, TRANZ_SUM, TRANZ_PLATENO) values (:ID, :TYPE, :ID, "
                                       ":KONTR, :TIME, :DUE, :SUM, :PAID)"),
                        {{QStringLiteral("ID"), document},
                         {QStringLiteral("TYPE"), delivery ? 12 : 11},
                         {QStringLiteral("KONTR"), counterparty},
                         {QStringLiteral("TIME"), QDateTime(day, QTime(10, 0))},
                         {QStringLiteral("DUE"), day.addDays(14)},
                         {QStringLiteral("SUM"), sum},
                         {QStringLiteral("PAID"), document % 4 == 0 ? sum : document % 4 == 1 ? sum / 2 : 0.0}});
        }
    }

    void show(TfrmReportPreview &window, const QString &name)
    {
        window.resize(900, 520);
        window.show();
        QApplication::processEvents();
        const QByteArray folder = qgetenv("VARNEX_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            const QString path = QString::fromLocal8Bit(folder) + QLatin1Char('/') + name;
            window.grab().save(path);
            window.savePdf(QString(path).replace(QStringLiteral(".png"), QStringLiteral(".pdf")));
        }
    }
};

TEST_F(ReportPreviews, StockOnHandAndReceivablesOfAShop)
{
    reportdata::ReportParameters day;
    day.date = QDate(2026, 11, 30);
    day.today = day.date;
    TfrmReportPreview stock(runReport(*dm, reportdata::ReportKind::StockOnHand, day), QString());
    // The tenth goods item is not followed in the stock report.
    EXPECT_EQ(stock.view()->model()->rowCount(), 10);
    show(stock, QStringLiteral("report-stock-preview.png"));

    TfrmReportPreview ageing(runReport(*dm, reportdata::ReportKind::Receivables, day), QString());
    EXPECT_EQ(ageing.view()->model()->rowCount(), 3);
    show(ageing, QStringLiteral("report-ageing-preview.png"));
}

} // namespace
