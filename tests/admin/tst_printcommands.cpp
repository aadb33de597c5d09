#include "core/TXMLSettings.h"
#include "invoicing/InvoiceRows.h"
#include "invoicing/PdfText.h"
#include "support/AdminTool.h"
#include "support/FreshDatabase.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

void addCounterparty(Tdm &dm, int id, const QString &name, const QString &city, const QString &address,
                     const QString &mol)
{
    dm.ExecSQL(QStringLiteral("update or insert into KONTR (KONTR_ID, KONTR_CODE, KONTR_NAME, KONTR_DN, KONTR_BULSTAT, "
                              "KONTR_ADDRESS, KONTR_CITY, KONTR_MOL, KONTR_IS_CLIENT) values (:ID, :ID, :NAME, :DN, "
                              ":BULSTAT, :ADDRESS, :CITY, :MOL, 2) matching (KONTR_ID)"),
               {{QStringLiteral("ID"), id},
                {QStringLiteral("NAME"), name},
                {QStringLiteral("DN"), QStringLiteral("DN%1").arg(id)},
                {QStringLiteral("BULSTAT"), QStringLiteral("BS%1").arg(id)},
                {QStringLiteral("ADDRESS"), address},
                {QStringLiteral("CITY"), city},
                {QStringLiteral("MOL"), mol}});
}

// A database with one invoice, a delivery, a sale with packaging and a
// production document, and a settings file with the company's details.
class PrintCommands : public ::testing::Test
{
protected:
    PrintCommands()
    {
        {
            auto dm = database.connect();
            dm->SetConfigByName(QStringLiteral("BG_VAT"), QStringLiteral("20"));
            dm->SetConfigByName(QStringLiteral("DOCSIZE"), QStringLiteral("0"));
            dm->SetConfigByName(QStringLiteral("INVOICECOPIES"), QStringLiteral("0"));
            addInvoice(*dm, invoiceColumns(1, 42, QDate(2025, 12, 31)));
            addInvoiceLine(*dm, 1, 1, 1, QStringLiteral("Консултация"), QStringLiteral("ч"), 3, 40);
            addCounterparty(*dm, 1, QStringLiteral("Родопа ЕООД"), QStringLiteral("Смолян"), QStringLiteral("бул. България 12"),
                            QStringLiteral("Георги Георгиев"));
            addCounterparty(*dm, 12, QStringLiteral("Тракия ООД"), QStringLiteral("Асеновград"), QStringLiteral("ул. Шипка 5"),
                            QStringLiteral("Иван Петров"));
            addGoods(*dm, 1, 1, QStringLiteral("Брашно"));
            addGoods(*dm, 2, 2, QStringLiteral("Каса"));
            addDocument(*dm, 7, 12, 12, QDateTime(QDate(2026, 4, 2), QTime(9, 0)));
            addLine(*dm, 1, 7, 1, 1, 100, 100, 1.1);
            addDocument(*dm, 8, 11, 12, QDateTime(QDate(2026, 4, 3), QTime(9, 0)));
            addLine(*dm, 2, 8, 1, -1, 2.5, 2.5, 2, 0.1);
            addLine(*dm, 3, 8, 2, 1, 4, 4); // packaging back from the buyer
            addDocument(*dm, 9, 10, -1, QDateTime(QDate(2026, 4, 4), QTime(9, 0)));
        }
        TXMLSettings settings(settingsPath);
        settings.Open();
        settings.WriteString(QStringLiteral("clientinfo\\company"), QStringLiteral("Родопа ЕООД"));
        settings.WriteString(QStringLiteral("clientinfo\\site"), QStringLiteral("Склад Смолян"));
        settings.WriteString(QStringLiteral("clientinfo\\bulstat"), QStringLiteral("120000999"));
        settings.Save();
    }

    ToolResult print(const char *command, int id, const QString &pdf)
    {
        return runAdminTool({QStringLiteral("--settings"), settingsPath, QString::fromLatin1(command), database.path(),
                             QString::number(id), QStringLiteral("--pdf"), pdf});
    }

    FreshDatabase database;
    TempDir dir;
    QString settingsPath = dir.path(QStringLiteral("Varnex.xdb"));
};

TEST_F(PrintCommands, PrintsAStoredInvoiceAsTheEditorWould)
{
    const QString pdf = dir.path(QStringLiteral("invoice.pdf"));
    const ToolResult result = print("print-invoice", 1, pdf);
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, pdf + QLatin1Char('\n'));
    EXPECT_EQ(result.err, QString()); // nothing from the graphics on stderr
    EXPECT_EQ(pdfPages(pdf), 2); // the original and one copy
    const QString text = pdfText(pdf, 1);
    for (const char *expected : {"ОРИГИНАЛ", "№ 0000000042", "Дата: 31.12.2025", "Тракия ООД", "Родопа ЕООД",
                                 "BG120000999", "Консултация", "120.00 лв.", "24.00 лв.", "144.00 лв.",
                                 "Словом сто четиридесет и четири лева", "Съставил: Мария Иванова"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;

    const QString copy = dir.path(QStringLiteral("copy.pdf"));
    ASSERT_EQ(runAdminTool({QStringLiteral("--settings"), settingsPath, QStringLiteral("print-invoice"), database.path(),
                            QStringLiteral("1"), QStringLiteral("--pdf"), copy, QStringLiteral("--only-copy")})
                  .code,
              0);
    EXPECT_EQ(pdfPages(copy), 1);
    EXPECT_FALSE(pdfText(copy).contains(QStringLiteral("ОРИГИНАЛ")));
}

TEST_F(PrintCommands, ReceiptsOfDeliveriesAndSalesNameWhoHandsOver)
{
    const QString delivery = dir.path(QStringLiteral("delivery.pdf"));
    ASSERT_EQ(print("print-receipt", 7, delivery).code, 0);
    const QString deliveryText = pdfText(delivery);
    EXPECT_TRUE(deliveryText.contains(QStringLiteral("Предал : Тракия ООД")));
    EXPECT_TRUE(deliveryText.contains(QStringLiteral("Получил : Родопа ЕООД")));
    EXPECT_TRUE(deliveryText.contains(QStringLiteral("Адрес гр/с : Асеновград, ул. Шипка 5")));
    EXPECT_TRUE(deliveryText.contains(QStringLiteral("Брашно 1.10 100.00 кг 110.00"))) << deliveryText.toStdString();
    EXPECT_TRUE(deliveryText.contains(QStringLiteral("Обща сума: 110.00 EUR")));

    const QString sale = dir.path(QStringLiteral("sale.pdf"));
    ASSERT_EQ(print("print-receipt", 8, sale).code, 0);
    const QString saleText = pdfText(sale);
    EXPECT_TRUE(saleText.contains(QStringLiteral("Предал : Родопа ЕООД")));
    EXPECT_TRUE(saleText.contains(QStringLiteral("Получил : Тракия ООД")));
    EXPECT_TRUE(saleText.contains(QStringLiteral("Брашно 1.80 2.50 кг 4.50"))) << saleText.toStdString();
    EXPECT_FALSE(saleText.contains(QStringLiteral("Каса"))); // packaging carries no value
    EXPECT_TRUE(saleText.contains(QStringLiteral("Обща сума: 4.50 EUR")));
    EXPECT_TRUE(saleText.contains(QStringLiteral("СТОКОВА РАЗПИСКА № 8")));
}

TEST_F(PrintCommands, RefusesWhatCannotBePrinted)
{
    const QString pdf = dir.path(QStringLiteral("none.pdf"));
    const ToolResult missingInvoice = print("print-invoice", 99, pdf);
    EXPECT_EQ(missingInvoice.code, 1);
    EXPECT_EQ(missingInvoice.err, QStringLiteral("Фактура с ID 99 не съществува.\n"));
    const ToolResult production = print("print-receipt", 9, pdf);
    EXPECT_EQ(production.code, 1);
    EXPECT_TRUE(production.err.contains(QStringLiteral("само за доставка или продажба")));
    const ToolResult noFile = runAdminTool({QStringLiteral("print-invoice"), database.path(), QStringLiteral("1")});
    EXPECT_EQ(noFile.code, 2);
    EXPECT_TRUE(noFile.err.contains(QStringLiteral("--pdf")));
    const ToolResult unwritable = print("print-invoice", 1, dir.path(QStringLiteral("no/such/dir/x.pdf")));
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("не може да бъде записан")));
}

} // namespace
