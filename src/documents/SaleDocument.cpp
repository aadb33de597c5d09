#include "documents/SaleDocument.h"

#include "documents/DeliveryDocument.h"

namespace documents {

DocumentKind saleKind()
{
    LineAreaKind goods;
    goods.name = QStringLiteral("Lines");
    goods.selectSql = QStringLiteral(
        "Select * from TRANZ_RED where (TRANZ_RED_TRANZ_ID = :TRANZ_ID) and (TRANZ_RED_TYPE_ID = -1)");
    goods.sign = kOutOfStock;
    goods.ids = LineIds::OnEditing;
    goods.takenWithinQuantity = true;
    goods.checks = tradeLineChecks();
    goods.emptyMessage = QStringLiteral("Документът е празен! Въведете стоки!");
    goods.askOnShortage = true;

    // What comes back may be more than the sale's quantity (packaging of an
    // earlier sale), so taken is not held within it.
    LineAreaKind packaging;
    packaging.name = QStringLiteral("Packaging");
    packaging.selectSql = QStringLiteral(
        "select * from TRANZ_RED where (TRANZ_RED_TRANZ_ID = :TRANZ_ID) and (TRANZ_RED_TYPE_ID = 1)");
    packaging.sign = kIntoStock;
    packaging.carriesValue = false;
    packaging.ids = LineIds::OnCreation;
    packaging.goods = GoodsList::Packaging;
    packaging.checks = {{QStringLiteral("TRANZ_RED_NOM_ID"), QStringLiteral("Моля, изберете Артикул!")},
                        {QStringLiteral("TRANZ_RED_KOL1"), QStringLiteral("Моля, въведете количество!")},
                        {QStringLiteral("TRANZ_RED_IZNESENO"), QStringLiteral("Моля, въведете каква част е Взето!")}};

    DocumentKind kind;
    kind.type = Sale;
    kind.areas = {goods, packaging};
    kind.headerChecks = tradeHeaderChecks(QStringLiteral("Моля, попълнете Доставчик (код/наим)!"));
    kind.paidWithinTotal = true;
    return kind;
}

} // namespace documents
