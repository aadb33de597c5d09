#include "payments/Outstanding.h"

namespace payments {

QDate allDueDates()
{
    return QDate::fromString(QStringLiteral("30.12.2099"), QStringLiteral("dd.MM.yyyy"));
}

int goodsLineSign(int documentType)
{
    return documentType == kDeliveryType ? 1 : -1;
}

QString moneyListSql()
{
    return QStringLiteral("select K.Kontr_Name, t.Tranz_Kont_Id,\r\n"
                          "Sum(t.Tranz_Sum) as Suma,\r\n"
                          "Sum(t.Tranz_Plateno) as Plateno,\r\n"
                          "Sum(t.Tranz_Sum - t.Tranz_Plateno) as Razlika\r\n"
                          "from Tranz t\r\n"
                          "left outer join KONTR K on t.TRANZ_KONT_ID = K.KONTR_ID\r\n"
                          "where\r\n"
                          "(t.Tranz_type_Id=:Tranz_Type_Id) and\r\n"
                          "(t.Tranz_Sum - t.Tranz_Plateno > 0.0001) and\r\n"
                          "(t.Tranz_Padej<=:ToDate)\r\n"
                          "group by K.Kontr_Name, t.Tranz_Kont_Id\r\n"
                          "order by K.Kontr_Name");
}

QString goodsListSql(int documentType)
{
    QString sql = QStringLiteral(
        "select k.KONTR_NAME, n.NOM_NAME, M.MERKI_ZNAK, t.Tranz_Kont_Id, tr.Tranz_red_Nom_Id,\r\n"
        "Sum(tr.TRANZ_RED_KOL1) as SumKol1,\r\n"
        "Sum(tr.TRANZ_RED_IZNESENO) as SumIzneseno,\r\n"
        "Sum(tr.TRANZ_RED_KOL1-TR.TRANZ_RED_IZNESENO) as RAZLIKA\r\n"
        "from TRANZ_RED tr\r\n"
        "left outer join TRANZ T on tr.TRANZ_RED_TRANZ_ID = t.TRANZ_ID\r\n"
        "left outer join Kontr K on t.Tranz_Kont_Id = k.Kontr_id\r\n"
        "left outer join NOM N on N.NOM_ID = tr.TRANZ_RED_NOM_ID\r\n"
        "left outer join MERKI M on M.MERKI_ID = N.NOM_MERKI_ID1\r\n"
        "where\r\n"
        "(tr.TRANZ_RED_IZNESENO <> tr.TRANZ_RED_KOL1) and\r\n"
        "(t.Tranz_Type_Id=:Tranz_Type_Id) and (tr.TRANZ_RED_TYPE_ID=:Line_Sign) and\r\n"
        "(t.Tranz_Padej <=:ToDate)\r\n"
        "group by k.KONTR_NAME, t.Tranz_Kont_Id, n.NOM_NAME, tr.Tranz_Red_Nom_Id, M.MERKI_ZNAK");
    if (documentType == kDeliveryType)
        sql += QStringLiteral("\r\norder by k.KONTR_NAME");
    return sql;
}

data::SqlParams listParams(int documentType, const QDate &toDate)
{
    return {{QStringLiteral("Tranz_Type_Id"), documentType},
            {QStringLiteral("Line_Sign"), goodsLineSign(documentType)},
            {QStringLiteral("ToDate"), toDate}};
}

QString ageingSql()
{
    // Days overdue as whole days between the due date and the day of
    // reckoning; a document due on that day is not yet overdue.
    return QStringLiteral(
        "select t.Tranz_Kont_Id,\r\n"
        "Sum(case when cast(:AsOf as date) - t.Tranz_Padej <= 0 then t.Tranz_Sum - t.Tranz_Plateno else 0 end) as NotDue,\r\n"
        "Sum(case when cast(:AsOf as date) - t.Tranz_Padej between 1 and 30 then t.Tranz_Sum - t.Tranz_Plateno else 0 end) as Overdue30,\r\n"
        "Sum(case when cast(:AsOf as date) - t.Tranz_Padej between 31 and 60 then t.Tranz_Sum - t.Tranz_Plateno else 0 end) as Overdue60,\r\n"
        "Sum(case when cast(:AsOf as date) - t.Tranz_Padej between 61 and 90 then t.Tranz_Sum - t.Tranz_Plateno else 0 end) as Overdue90,\r\n"
        "Sum(case when cast(:AsOf as date) - t.Tranz_Padej > 90 then t.Tranz_Sum - t.Tranz_Plateno else 0 end) as OverdueMore\r\n"
        "from Tranz t\r\n"
        "where\r\n"
        "(t.Tranz_type_Id=:Tranz_Type_Id) and\r\n"
        "(t.Tranz_Sum - t.Tranz_Plateno > 0.0001) and\r\n"
        "(t.Tranz_Padej<=:ToDate)\r\n"
        "group by t.Tranz_Kont_Id");
}

data::SqlParams ageingParams(int documentType, const QDate &toDate, const QDate &asOf)
{
    return {{QStringLiteral("Tranz_Type_Id"), documentType},
            {QStringLiteral("ToDate"), toDate},
            {QStringLiteral("AsOf"), asOf}};
}

AgeingBucket ageingBucket(const QDate &due, const QDate &asOf)
{
    const qint64 days = due.daysTo(asOf);
    if (days <= 0)
        return NotDue;
    if (days <= 30)
        return Overdue1To30;
    if (days <= 60)
        return Overdue31To60;
    if (days <= 90)
        return Overdue61To90;
    return OverdueOver90;
}

QString ageingCaption(AgeingBucket bucket)
{
    switch (bucket) {
    case NotDue:
        return QStringLiteral("Непадежирало");
    case Overdue1To30:
        return QStringLiteral("1-30 дни");
    case Overdue31To60:
        return QStringLiteral("31-60 дни");
    case Overdue61To90:
        return QStringLiteral("61-90 дни");
    default:
        return QStringLiteral("над 90 дни");
    }
}

QString settleMoneySql()
{
    return QStringLiteral("select t.TRANZ_ID, t.TRANZ_SUM as Suma, t.TRANZ_PLATENO,\r\n"
                          "t.Tranz_Sum - t.Tranz_Plateno  AS Razlika\r\n"
                          "from Tranz t\r\n"
                          "left outer join Kontr k on t.Tranz_Kont_Id = k.Kontr_id\r\n"
                          "left outer join Tranz_Types tt on t.Tranz_Type_Id = tt.Tranz_Types_Id\r\n"
                          "where\r\n"
                          "(t.Tranz_Sum-t.Tranz_Plateno >=0.0001) and\r\n"
                          "(t.Tranz_Type_Id=:Tranz_Type_Id) and\r\n"
                          "(t.Tranz_Padej<=:ToDate) and\r\n"
                          "(t.Tranz_Kont_Id=:Kont_Id)\r\n"
                          "order by t.Tranz_Time");
}

QString settleGoodsSql()
{
    return QStringLiteral(
        "select t.TRANZ_ID, t.TRANZ_TIME, t.TRANZ_PADEJ, tt.TRANZ_TYPES_NAME, k.KONTR_NAME, t.TRANZ_NOTE,\r\n"
        "n.NOM_NAME, tr.TRANZ_RED_KOL1, tr.TRANZ_RED_IZNESENO, M.MERKI_ZNAK,\r\n"
        "(TR.TRANZ_RED_KOL1-TR.TRANZ_RED_IZNESENO) as RAZLIKA,\r\n"
        "tr.TRANZ_RED_TYPE_ID, tr.TRANZ_RED_NOM_ID, tr.TRANZ_RED_CENA, tr.TRANZ_RED_OTSTUPKA, tr.TRANZ_RED_KOL2,\r\n"
        "tr.TRANZ_RED_IZNESENO as IZNESENO, tr.TRANZ_RED_ID\r\n"
        "from TRANZ_RED tr\r\n"
        "left outer join TRANZ T on tr.TRANZ_RED_TRANZ_ID = t.TRANZ_ID\r\n"
        "left outer join Kontr K on t.TRANZ_KONT_ID = k.KONTR_ID\r\n"
        "left outer join NOM N on N.NOM_ID = tr.TRANZ_RED_NOM_ID\r\n"
        "left outer join MERKI M on M.MERKI_ID = N.NOM_MERKI_ID1\r\n"
        "left outer join Tranz_Types tt on t.TRANZ_TYPE_ID = tt.TRANZ_TYPES_ID\r\n"
        "where\r\n"
        "(tr.TRANZ_RED_IZNESENO <> tr.TRANZ_RED_KOL1) and\r\n"
        "(t.Tranz_Type_Id=:Tranz_Type_Id) and (tr.TRANZ_RED_TYPE_ID=:Line_Sign) and\r\n"
        "(t.TRANZ_PADEJ<=:ToDate) and\r\n"
        "(t.TRANZ_KONT_ID=:KONT_ID) and\r\n"
        "(tr.TRANZ_RED_NOM_ID=:NOM_ID)\r\n"
        "order by t.TRANZ_TIME");
}

data::SqlParams settleMoneyParams(int documentType, int counterpartyId, const QDate &toDate)
{
    return {{QStringLiteral("Tranz_Type_Id"), documentType},
            {QStringLiteral("Kont_Id"), counterpartyId},
            {QStringLiteral("ToDate"), toDate}};
}

data::SqlParams settleGoodsParams(int documentType, int counterpartyId, int goodsId, const QDate &toDate)
{
    return {{QStringLiteral("Tranz_Type_Id"), documentType},
            {QStringLiteral("Line_Sign"), goodsLineSign(documentType)},
            {QStringLiteral("ToDate"), toDate},
            {QStringLiteral("KONT_ID"), counterpartyId},
            {QStringLiteral("NOM_ID"), goodsId}};
}

} // namespace payments
