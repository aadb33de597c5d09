#include "documents/ScrapDocument.h"

namespace documents {

DocumentKind scrapKind()
{
    LineAreaKind lines;
    lines.name = QStringLiteral("Lines");
    lines.selectSql = QStringLiteral("select * from TRANZ_RED where TRANZ_RED_TRANZ_ID = :TRANZ_ID");
    lines.sign = kOutOfStock;
    lines.ids = LineIds::OnEditing;
    lines.takenIsQuantity = true;
    lines.checks = {{QStringLiteral("TRANZ_RED_NOM_ID"), QStringLiteral("Моля, изберете артикул!")},
                    {QStringLiteral("TRANZ_RED_CENA"), QStringLiteral("Моля, попълнете цена/ед.мярка!")},
                    {QStringLiteral("TRANZ_RED_KOL1"), QStringLiteral("Моля, попълнете количество!")}};
    lines.emptyMessage = QStringLiteral("Документът е празен! Въведете стоки!");
    lines.askOnShortage = true;
    lines.shortageWording = QStringLiteral("бракуваното количество");

    DocumentKind kind;
    kind.type = Scrap;
    kind.areas = {lines};
    kind.headerChecks = {documentNumberCheck(), entryDateCheck()};
    kind.newCounterparty = 1;
    kind.storedCounterparty = -1;
    kind.zeroSumOnCreation = true;
    return kind;
}

} // namespace documents
