#pragma once

#include "core/Tdm.h"

#include <QDate>
#include <QStringList>
#include <QVariantHash>

namespace testing_support {

// An INVOICES row put straight into a test database; the columns not given
// stay empty.
inline void addInvoice(Tdm &dm, const QVariantHash &columns)
{
    QStringList names;
    QStringList parameters;
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        names << it.key();
        parameters << QLatin1Char(':') + it.key();
    }
    dm.ExecSQL(QStringLiteral("insert into INVOICES (%1) values (%2)").arg(names.join(QLatin1Char(',')), parameters.join(QLatin1Char(','))),
               columns);
}

// A plain invoice: number, date of issue, place and client.
inline QVariantHash invoiceColumns(int id, int number, const QDate &issued)
{
    return {{QStringLiteral("ID"), id},
            {QStringLiteral("NUMBER"), number},
            {QStringLiteral("IDATE"), issued},
            {QStringLiteral("PLACE"), QStringLiteral("Пловдив")},
            {QStringLiteral("COMPANY"), QStringLiteral("Тракия ООД")},
            {QStringLiteral("CITY"), QStringLiteral("Асеновград")},
            {QStringLiteral("ADDRESS"), QStringLiteral("ул. Шипка 5")},
            {QStringLiteral("DANNUM"), QStringLiteral("115000111")},
            {QStringLiteral("BULSTAT"), QStringLiteral("115000111")},
            {QStringLiteral("MOL"), QStringLiteral("Иван Петров")},
            {QStringLiteral("INVOICE_CREATOR"), QStringLiteral("Мария Иванова")},
            {QStringLiteral("RECIEVER"), QStringLiteral("Петър Иванов")},
            {QStringLiteral("IS_WAITING"), 0},
            {QStringLiteral("WITH_BANKS"), 0},
            {QStringLiteral("NOTIFICATION"), 0}};
}

inline void addInvoiceLine(Tdm &dm, int detailId, int invoiceId, int rowNum, const QString &text, const QString &unit,
                           double quantity, double price)
{
    dm.ExecSQL(QStringLiteral("insert into INVOICE_DETAILS (DETAIL_ID, INVOICE_ID, ROWNUM, DETAIL_TEXT, DETAIL_MEAS, "
                              "DETAIL_QTY, DETAIL_PRICE) values (:DETAIL_ID, :INVOICE_ID, :ROWNUM, :DETAIL_TEXT, "
                              ":DETAIL_MEAS, :DETAIL_QTY, :DETAIL_PRICE)"),
               {{QStringLiteral("DETAIL_ID"), detailId},
                {QStringLiteral("INVOICE_ID"), invoiceId},
                {QStringLiteral("ROWNUM"), rowNum},
                {QStringLiteral("DETAIL_TEXT"), text},
                {QStringLiteral("DETAIL_MEAS"), unit},
                {QStringLiteral("DETAIL_QTY"), quantity},
                {QStringLiteral("DETAIL_PRICE"), price}});
}

} // namespace testing_support
