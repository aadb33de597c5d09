#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace data {

class SqlSession;

// The goods item carrying `code` among its barcodes; none for a code no
// goods item carries. The code is taken as the scanner typed it, without
// the spaces around it.
std::optional<int> goodsByBarcode(SqlSession &session, const QString &code);

// What a line of free text takes of the goods item a scanned code finds.
struct ScannedGoods
{
    int id = 0;
    QString name;
    QString unit;
};
std::optional<ScannedGoods> scannedGoods(SqlSession &session, const QString &code);

// The barcodes of a goods item, in the order they were given.
QStringList barcodesOf(SqlSession &session, int goodsId);

// The name of the goods item other than `goodsId` that already carries
// `code`; none when no other item does.
std::optional<QString> otherHolderOf(SqlSession &session, const QString &code, int goodsId);

// Makes `codes` the barcodes of the goods item: those it no longer has are
// taken off, new ones added. A code another item carries is refused with
// varnex::Error naming that item, before anything is changed.
void storeBarcodes(SqlSession &session, int goodsId, const QStringList &codes);

// The refusal of a code another goods item carries.
QString duplicateBarcodeMessage(const QString &code, const QString &holder);

} // namespace data
