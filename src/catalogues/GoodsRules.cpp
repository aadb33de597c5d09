#include "catalogues/GoodsRules.h"

#include "db/Dataset.h"

namespace {
const QString kPlaceholder = QStringLiteral("#filter#");
const QString kNoFilter = QStringLiteral("(1=1) #filter#");
}

int proposedGoodsCode(const QVariant &largestCode)
{
    bool isNumber = false;
    const qlonglong largest = largestCode.toLongLong(&isNumber);
    return isNumber && largest > 0 ? int(largest + 1) : 1;
}

void checkGoodsFilled(const QVariant &name, const QVariant &baseUnitId)
{
    if (name.toString().trimmed().isEmpty())
        throw db::FieldError(QStringLiteral("Полето \"Название\" трябва да бъде попълнено"), QStringLiteral("NOM_NAME"));
    if (baseUnitId.isNull())
        throw db::FieldError(QStringLiteral("Моля, изберете основна мярка за артикула !"), QStringLiteral("NOM_MERKI_ID1"));
}

GoodsFilter categoryFilter(const QVariant &categoryId, const QString &categoryName)
{
    QString condition = kNoFilter;
    QString description;
    bool isKey = false;
    // The key comes from the category list, never from typed text, and is
    // written as a number so nothing else can reach the statement.
    const int id = categoryId.isNull() ? 0 : categoryId.toInt(&isKey);
    if (isKey) {
        condition.replace(kPlaceholder, QStringLiteral("and (NOM_CATEGORY_ID = %1) #filter#").arg(id));
        description = QStringLiteral("от категория ") + categoryName;
    }
    if (condition == kNoFilter)
        return {};
    return {condition.remove(kPlaceholder).trimmed(), description};
}
