#include "data/GoodsBarcodes.h"

#include "data/SqlSession.h"
#include "util/Error.h"

namespace data {

namespace {

const char *const kGoodsByBarcode = "select NOM_ID from NOM_BARCODES where BARCODE = :BARCODE";
// RDB$DB_KEY keeps the order the codes were added in.
const char *const kBarcodesOf = "select BARCODE from NOM_BARCODES where NOM_ID = :NOM_ID order by RDB$DB_KEY";
const char *const kOtherHolder = "select n.NOM_NAME from NOM_BARCODES b join NOM n on n.NOM_ID = b.NOM_ID "
                                 "where b.BARCODE = :BARCODE and b.NOM_ID <> :NOM_ID";
const char *const kScannedGoods = "select n.NOM_ID, n.NOM_NAME, m.MERKI_NAME from NOM_BARCODES b "
                                  "join NOM n on n.NOM_ID = b.NOM_ID left join MERKI m on m.MERKI_ID = n.NOM_MERKI_ID1 "
                                  "where b.BARCODE = :BARCODE";
const char *const kDeleteBarcode = "delete from NOM_BARCODES where NOM_ID = :NOM_ID and BARCODE = :BARCODE";
const char *const kInsertBarcode = "insert into NOM_BARCODES (BARCODE, NOM_ID) values (:BARCODE, :NOM_ID)";

QString sql(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

std::optional<int> goodsByBarcode(SqlSession &session, const QString &code)
{
    const QString barcode = code.trimmed();
    if (barcode.isEmpty())
        return std::nullopt;
    const QVariant goods = session.QueryValue(sql(kGoodsByBarcode), QString(), {{QStringLiteral("BARCODE"), barcode}});
    if (goods.isNull())
        return std::nullopt;
    return goods.toInt();
}

std::optional<ScannedGoods> scannedGoods(SqlSession &session, const QString &code)
{
    const auto rows = session.QueryRows(sql(kScannedGoods), {{QStringLiteral("BARCODE"), code.trimmed()}});
    if (rows.empty())
        return std::nullopt;
    return ScannedGoods{rows.front().value(0).toInt(), rows.front().value(1).toString(), rows.front().value(2).toString()};
}

QStringList barcodesOf(SqlSession &session, int goodsId)
{
    QStringList codes;
    for (const QVariantList &row : session.QueryRows(sql(kBarcodesOf), {{QStringLiteral("NOM_ID"), goodsId}}))
        codes << row.value(0).toString();
    return codes;
}

std::optional<QString> otherHolderOf(SqlSession &session, const QString &code, int goodsId)
{
    const QVariant name = session.QueryValue(sql(kOtherHolder), QString(),
                                             {{QStringLiteral("BARCODE"), code}, {QStringLiteral("NOM_ID"), goodsId}});
    if (name.isNull())
        return std::nullopt;
    return name.toString();
}

QString duplicateBarcodeMessage(const QString &code, const QString &holder)
{
    return QStringLiteral("Баркодът \"%1\" вече е на артикул \"%2\".").arg(code, holder);
}

void storeBarcodes(SqlSession &session, int goodsId, const QStringList &codes)
{
    for (const QString &code : codes) {
        if (const auto holder = otherHolderOf(session, code, goodsId))
            throw varnex::Error(duplicateBarcodeMessage(code, *holder));
    }
    const QStringList stored = barcodesOf(session, goodsId);
    for (const QString &code : stored) {
        if (!codes.contains(code))
            session.ExecSQL(sql(kDeleteBarcode), {{QStringLiteral("NOM_ID"), goodsId}, {QStringLiteral("BARCODE"), code}});
    }
    for (const QString &code : codes) {
        if (!stored.contains(code))
            session.ExecSQL(sql(kInsertBarcode), {{QStringLiteral("NOM_ID"), goodsId}, {QStringLiteral("BARCODE"), code}});
    }
}

} // namespace data
