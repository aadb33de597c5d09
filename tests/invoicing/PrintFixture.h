#pragma once

#include "core/TXMLSettings.h"
#include "invoicing/InvoiceRows.h"
#include "invoicing/TdmInvoice.h"
#include "support/DatabaseTest.h"
#include "ui/TDictionary.h"

namespace testing_support {

// The printing module on a fresh database, with the company's details in a
// settings file of its own.
class PrintFixture : public DatabaseTest
{
protected:
    PrintFixture()
        : settings(dir.path(QStringLiteral("Varnex.xdb")))
    {
        settings.setSaveWhenFreed(false);
        settings.Open();
        settings.WriteString(QStringLiteral("clientinfo\\company"), QStringLiteral("Родопа ЕООД"));
        settings.WriteString(QStringLiteral("clientinfo\\city"), QStringLiteral("Смолян"));
        settings.WriteString(QStringLiteral("clientinfo\\address"), QStringLiteral("бул. България 12"));
        settings.WriteString(QStringLiteral("clientinfo\\site"), QStringLiteral("Склад Смолян"));
        settings.WriteString(QStringLiteral("clientinfo\\vat_num"), QStringLiteral("1234567890"));
        settings.WriteString(QStringLiteral("clientinfo\\bulstat"), QStringLiteral("120000999"));
        dm->SetConfigByName(QStringLiteral("BG_VAT"), QStringLiteral("20"));
        dm->SetConfigByName(QStringLiteral("COMPANY_MOL"), QStringLiteral("Георги Георгиев"));
        options(QStringLiteral("0"), QStringLiteral("0"));
        ParamBoard().clear();
    }
    ~PrintFixture() override { ParamBoard().clear(); }

    void options(const QString &docSize, const QString &copies)
    {
        dm->SetConfigByName(QStringLiteral("DOCSIZE"), docSize);
        dm->SetConfigByName(QStringLiteral("INVOICECOPIES"), copies);
    }

    // What the editor would put for the stored invoice.
    void putBoardValues(int id, bool onlyCopy = false)
    {
        for (const auto &[name, value] :
             invoicing::invoiceBoardValues(invoicing::storedInvoice(*dm, id), invoicing::invoiceLines(*dm, id), QStringLiteral("20"), onlyCopy))
            PutParam(name, value);
    }

    void addThreeLineInvoice(int id, const QDate &issued, QVariantHash extra = {})
    {
        QVariantHash columns = invoiceColumns(id, 42, issued);
        for (auto it = extra.begin(); it != extra.end(); ++it)
            columns.insert(it.key(), it.value());
        addInvoice(*dm, columns);
        addInvoiceLine(*dm, 10 * id + 1, id, 1, QStringLiteral("Услуга"), QStringLiteral("бр."), 2, 10);
        addInvoiceLine(*dm, 10 * id + 2, id, 2,
                       QStringLiteral("Доставка и монтаж на климатична система с въздуховоди"), QStringLiteral("к-т"), 1, 5.5);
        addInvoiceLine(*dm, 10 * id + 3, id, 3, QStringLiteral("Транспорт"), QStringLiteral("км"), 0.5, 0);
    }

    void putReceipt(const QString &kind)
    {
        PutParam(QStringLiteral("INVOICE:DOCUMENT"), kind);
        PutParam(QStringLiteral("INVOICE:FNAME"), QStringLiteral("Родопа ЕООД"));
        PutParam(QStringLiteral("INVOICE:FADDRESS"), QStringLiteral("Смолян, бул. България 12"));
        PutParam(QStringLiteral("INVOICE:FDNEGN"), QStringLiteral("1234567890"));
        PutParam(QStringLiteral("INVOICE:FBULSTAT"), QStringLiteral("120000999"));
        PutParam(QStringLiteral("INVOICE:FMOL"), QStringLiteral("Георги Георгиев"));
        PutParam(QStringLiteral("INVOICE:KNAME"), QStringLiteral("Тракия ООД"));
        PutParam(QStringLiteral("INVOICE:KADDRESS"), QStringLiteral("Асеновград, ул. Шипка 5"));
        PutParam(QStringLiteral("INVOICE:KDNEGN"), QStringLiteral("2000000001"));
        PutParam(QStringLiteral("INVOICE:KBULSTAT"), QStringLiteral("115000111"));
        PutParam(QStringLiteral("INVOICE:KMOL"), QStringLiteral("Иван Петров"));
        PutParam(QStringLiteral("INVOICE:DATA_ROWS"),
                 QVariantList{QVariantList{QStringLiteral("Брашно"), QStringLiteral("кг"), 2.5, 1.2},
                              QVariantList{QStringLiteral("Олио"), QStringLiteral("л"), 2.4, 3.5}});
        PutParam(QStringLiteral("INVOICE:SUM_TOTAL"), QStringLiteral("11.40"));
        PutParam(QStringLiteral("INVOICE:DOCNO"), 17);
    }

    TempDir dir;
    TXMLSettings settings;
    TdmInvoice module{*dm, settings};
};

} // namespace testing_support
