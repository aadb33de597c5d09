#pragma once

#include <QDateTime>

class Tdm;

namespace testing_support {

// Goods, documents and lines put straight into a test database.
void addGoods(Tdm &dm, int id, int code, const QString &name, double sellPrice = 0, bool inReport = true);
void addDocument(Tdm &dm, int id, int type, int counterparty, const QDateTime &time);
// `count` documents with keys from `firstId`, one a minute from `start`, the
// four types in turn (deliveries and sales from counterparty 2, which must
// exist), every third with a note and every fifth with a due date.
void addDocuments(Tdm &dm, int firstId, int count, const QDateTime &start);
// A line of `quantity`, `taken` of it handed over; direction 1 in, −1 out.
void addLine(Tdm &dm, int id, int document, int goods, int direction, double quantity, double taken,
             double price = 0, double discount = 0);

// A counterparty: kind 0 client, 1 supplier, 2 both; its details derived
// from the id so tests can name them.
void addCounterparty(Tdm &dm, int id, int code, const QString &name, int kind, const QString &city = QString(),
                     const QString &address = QString());
// Returnable packaging (NOM_AMBALAJ 1), counted in pieces.
void addPackaging(Tdm &dm, int id, int code, const QString &name);
// A barcode on a goods item.
void addBarcode(Tdm &dm, int goods, const QString &code);

} // namespace testing_support
