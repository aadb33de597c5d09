#include "documents/DeliveryDocument.h"

namespace documents {

std::vector<FieldCheck> tradeHeaderChecks(const QString &counterpartyMessage)
{
    return {documentNumberCheck(),
            entryDateCheck(),
            {QStringLiteral("TRANZ_KONT_ID"), counterpartyMessage},
            {QStringLiteral("TRANZ_PADEJ"), QStringLiteral("Моля, попълнете Дата на плащане!")},
            {QStringLiteral("TRANZ_PLATENO"), QStringLiteral("Моля, попълнете Изплатена сума!")}};
}

std::vector<FieldCheck> tradeLineChecks()
{
    return {{QStringLiteral("TRANZ_RED_NOM_ID"), QStringLiteral("Моля, изберете артикул!")},
            {QStringLiteral("TRANZ_RED_CENA"), QStringLiteral("Моля, попълнете цена/ед.мярка!")},
            {QStringLiteral("TRANZ_RED_KOL1"), QStringLiteral("Моля, попълнете количество!")}};
}

DocumentKind deliveryKind()
{
    LineAreaKind lines;
    lines.name = QStringLiteral("Lines");
    lines.selectSql = QStringLiteral("select * from TRANZ_RED where TRANZ_RED_TRANZ_ID = :TRANZ_ID");
    lines.sign = kIntoStock;
    lines.ids = LineIds::OnEditing;
    lines.newGoods = 1;
    lines.takenWithinQuantity = true;
    lines.checks = tradeLineChecks();
    lines.emptyMessage = QStringLiteral("Документът е празен! Въведете стоки!");

    DocumentKind kind;
    kind.type = Delivery;
    kind.areas = {lines};
    kind.headerChecks = tradeHeaderChecks(QStringLiteral("Моля, попълнете Доставчик (код/име)!"));
    kind.paidWithinTotal = true;
    return kind;
}

} // namespace documents
