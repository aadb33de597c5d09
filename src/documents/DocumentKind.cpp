#include "documents/DocumentKind.h"

namespace documents {

FieldCheck documentNumberCheck()
{
    return {QStringLiteral("TRANZ_DOCNO"), QStringLiteral("Моля, попълнете № на документа!")};
}

FieldCheck entryDateCheck()
{
    return {QStringLiteral("TRANZ_TIME"), QStringLiteral("Моля, попълнете Дата на въвеждане!")};
}

QString shortageQuestionKey()
{
    return QStringLiteral("STOCK_SHORTAGE_QUESTION");
}

} // namespace documents
