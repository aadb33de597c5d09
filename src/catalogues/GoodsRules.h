#pragma once

#include <QString>
#include <QVariant>

// The code offered for a new goods item: one more than the largest code in
// the catalogue, or 1 when there is none or it is not positive. Codes are
// a convenience for the user, not a key, so they are not kept unique.
int proposedGoodsCode(const QVariant &largestCode);

// What a goods item needs before it is stored: a name that is more than
// blanks, then a base unit. Throws db::FieldError with the message for the
// user and the field to correct.
void checkGoodsFilled(const QVariant &name, const QVariant &baseUnitId);

// The goods list narrowed to one category: the condition for the list's
// where-clause and the description for the window title. Both are empty
// when no category is chosen.
struct GoodsFilter
{
    QString condition;
    QString description;
};
GoodsFilter categoryFilter(const QVariant &categoryId, const QString &categoryName);
