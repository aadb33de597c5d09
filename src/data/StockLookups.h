#pragma once

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace data {

class SqlSession;

// Column name and value pairs for the update builder.
using ColumnValues = QList<QPair<QString, QVariant>>;

// The price the counterparty got for the goods on its newest document, or
// the goods' selling price when it is not on that document.
double lastPrice(SqlSession &session, int goodsId, int counterpartyId);
double sellPrice(SqlSession &session, int goodsId);
// The discount (a fraction) on the counterparty's newest document, or 0.
double lastDiscount(SqlSession &session, int goodsId, int counterpartyId);
// Quantity handed over, in minus out, on documents up to the newest one
// dated before the day after `today`; never below 0.
double stockOnHand(SqlSession &session, int goodsId, const QDate &today = QDate::currentDate());
// The statement behind it: its columns NALICHNOST (null or unbounded below)
// and MAX_ID (the cut-off), its parameters :NOM_ID and :TOMORROW.
QString stockOnHandStatement();
// The same less what document :OWN_ID adds there, for an editor or a count
// that weighs its own lines apart: column REST, never null.
QString stockOutsideDocumentStatement();
// The newest document dated up to `today` (null when there is none); the
// stock of many goods up to it is `stockUpTo`.
QVariant stockCutOff(SqlSession &session, const QDate &today);

// "Update T set S=... Where (K=...) and ..." with every value bound; true
// when at least one row changed. A null key value matches a null column.
bool updateRows(SqlSession &session, const QString &table, const ColumnValues &sets, const ColumnValues &keys);

// Settling: the taken quantity of one line and the paid amount of one
// document. Both raise when no row matched.
void UpdateTranz_Izneseno(SqlSession &session, const ColumnValues &lineKeys, double taken);
void UpdateTranz_Plateno(SqlSession &session, int documentId, double paid);

} // namespace data
