#include "documents/ProductionDocument.h"

namespace documents {

namespace {

FieldCheck goodsChosen()
{
    return {QStringLiteral("TRANZ_RED_NOM_ID"), QStringLiteral("Моля, изберете артикул!")};
}

// What both areas share: their own goods list, a line starting on goods 1,
// its id drawn as it is stored and the whole quantity moving stock.
LineAreaKind productionArea(const QString &name, int sign)
{
    LineAreaKind area;
    area.name = name;
    area.sign = sign;
    area.ids = LineIds::BeforeStoring;
    area.goods = GoodsList::Private;
    area.newGoods = 1;
    area.takenIsQuantity = true;
    return area;
}

} // namespace

DocumentKind productionKind()
{
    LineAreaKind materials = productionArea(QStringLiteral("Materials"), kOutOfStock);
    materials.selectSql = QStringLiteral("select * from TRANZ_RED where (TRANZ_RED_TRANZ_ID = :TRANZ_ID)  and "
                                         "(TRANZ_RED_TYPE_ID= -1)");
    materials.carriesValue = true;
    materials.askOnShortage = true;
    materials.shortageWording = QStringLiteral("вложеното количество");
    materials.checks = {goodsChosen(),
                        {QStringLiteral("TRANZ_RED_CENA"), QStringLiteral("Моля, попълнете Цена/ед.мярка!")},
                        {QStringLiteral("TRANZ_RED_KOL1"), QStringLiteral("Моля, попълнете Количество!")}};
    materials.emptyMessage = QStringLiteral("Документът е празен! Въведете вложени материали!");

    LineAreaKind products = productionArea(QStringLiteral("Products"), kIntoStock);
    products.selectSql = QStringLiteral("select * from TRANZ_RED where (TRANZ_RED_TRANZ_ID = :TRANZ_ID) and "
                                        "(TRANZ_RED_TYPE_ID= 1)");
    products.carriesValue = false;
    products.checks = {goodsChosen(), {QStringLiteral("TRANZ_RED_KOL1"), QStringLiteral("Моля, въведете Количество!")}};
    products.emptyMessage = QStringLiteral("Документът е празен! Въведете произведена продукция!");

    DocumentKind kind;
    kind.type = Production;
    kind.headerSelect = QStringLiteral("select * from TRANZ where TRANZ_ID=:TRANZ_ID");
    kind.areas = {materials, products};
    kind.headerChecks = {documentNumberCheck(), entryDateCheck()};
    kind.newCounterparty = 1;
    kind.storedCounterparty = -1;
    kind.destroyNew = true;
    return kind;
}

} // namespace documents
