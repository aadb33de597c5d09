#pragma once

#include "core/Tdm.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace testing_support {

// A document with its money: sum, paid amount and due date.
inline void addOwedDocument(Tdm &dm, int id, int type, int counterparty, const QDateTime &time, double sum,
                            double paid, const QDate &due)
{
    dm.ExecSQL(QStringLiteral("insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_KONT_ID, TRANZ_TIME, "
                              "TRANZ_PADEJ, TRANZ_SUM, TRANZ_PLATENO) "
                              "values (:ID, :TYPE, :ID, :KONTR, :TIME, :DUE, :SUM, :PAID)"),
               {{QStringLiteral("ID"), id},
                {QStringLiteral("TYPE"), type},
                {QStringLiteral("KONTR"), counterparty},
                {QStringLiteral("TIME"), time},
                {QStringLiteral("DUE"), due},
                {QStringLiteral("SUM"), sum},
                {QStringLiteral("PAID"), paid}});
}

inline void addCounterparty(Tdm &dm, int id, const QString &name)
{
    dm.ExecSQL(QStringLiteral("insert into KONTR (KONTR_ID, KONTR_CODE, KONTR_NAME, KONTR_IS_CLIENT) "
                              "values (:ID, :ID, :NAME, 0)"),
               {{QStringLiteral("ID"), id}, {QStringLiteral("NAME"), name}});
}

inline double paidOn(Tdm &dm, int document)
{
    return dm.QueryValue(QStringLiteral("select TRANZ_PLATENO from TRANZ where TRANZ_ID = :ID"), QString(),
                         {{QStringLiteral("ID"), document}})
        .toDouble();
}

inline double takenOn(Tdm &dm, int line)
{
    return dm.QueryValue(QStringLiteral("select TRANZ_RED_IZNESENO from TRANZ_RED where TRANZ_RED_ID = :ID"), QString(),
                         {{QStringLiteral("ID"), line}})
        .toDouble();
}

} // namespace testing_support
