#pragma once

#include "data/SqlSession.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <array>
#include <vector>

namespace payments {

constexpr int kSaleType = 11;
constexpr int kDeliveryType = 12;

// The due-date limit of "Всички": later than any due date ever entered.
QDate allDueDates();

// The lines that carry goods on a document of the type: received on a
// delivery, handed out on a sale. Packaging returned on a sale is counted
// the other way and is never goods owed.
int goodsLineSign(int documentType);

// Per counterparty: the outstanding money (pages of money) or goods (pages
// of goods) on documents of one type due up to a date.
QString moneyListSql();
QString goodsListSql(int documentType);
data::SqlParams listParams(int documentType, const QDate &toDate);

// Per counterparty, the open part of the money list split by how long it is
// overdue on `asOf`, in the columns of `AgeingBuckets`.
QString ageingSql();
data::SqlParams ageingParams(int documentType, const QDate &toDate, const QDate &asOf);

enum AgeingBucket { NotDue, Overdue1To30, Overdue31To60, Overdue61To90, OverdueOver90, AgeingBucketCount };
AgeingBucket ageingBucket(const QDate &due, const QDate &asOf);
QString ageingCaption(AgeingBucket bucket);

// One counterparty's outstanding documents or lines, oldest first.
QString settleMoneySql();
QString settleGoodsSql();
data::SqlParams settleMoneyParams(int documentType, int counterpartyId, const QDate &toDate);
data::SqlParams settleGoodsParams(int documentType, int counterpartyId, int goodsId, const QDate &toDate);

} // namespace payments
