#include "data/GoodsBarcodes.h"

#include "data/SqlSession.h"

namespace data {

namespace {

const char *const kGoodsByBarcode = "select NOM_ID from NOM_BARCODES where BARCODE = :BARCODE";

} // namespace

std::optional<int> goodsByBarcode(SqlSession &session, const QString &code)
{
    const QString barcode = code.trimmed();
    if (barcode.isEmpty())
        return std::nullopt;
    const QVariant goods =
        session.QueryValue(QString::fromLatin1(kGoodsByBarcode), QString(), {{QStringLiteral("BARCODE"), barcode}});
    if (goods.isNull())
        return std::nullopt;
    return goods.toInt();
}

} // namespace data
