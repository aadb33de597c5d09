#include "catalogues/UnitChecks.h"

#include "db/Dataset.h"

void checkUnitFilled(const QString &name, const QString &sign)
{
    if (name.trimmed().isEmpty())
        throw db::FieldError(QStringLiteral("Полето \"Пълно наименование\" трябва да бъде попълнено"),
                             QStringLiteral("MERKI_NAME"));
    if (sign.trimmed().isEmpty())
        throw db::FieldError(QStringLiteral("Полето \"Означение\" трябва да бъде попълнено!"), QStringLiteral("MERKI_ZNAK"));
}
