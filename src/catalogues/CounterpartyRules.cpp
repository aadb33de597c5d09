#include "catalogues/CounterpartyRules.h"

#include "catalogues/IdentifierChecks.h"
#include "db/Dataset.h"

namespace {

const QString kTaxNumberField = QStringLiteral("KONTR_DN");
const QString kBulstatField = QStringLiteral("KONTR_BULSTAT");

} // namespace

QString ProposedCounterpartyCode(const QVariant &greatestCode)
{
    const qint64 greatest = greatestCode.isNull() ? 0 : greatestCode.toLongLong();
    return QStringLiteral("%1").arg(greatest > 0 ? greatest + 1 : 1, 6, 10, QLatin1Char('0'));
}

KindFilter CounterpartyKindFilter(int choice)
{
    static const char *const conditions[] = {"", "and (KONTR_IS_CLIENT = 0) ", "and (KONTR_IS_CLIENT = 1) ",
                                             "and (KONTR_IS_CLIENT = 2) "};
    static const char *const descriptions[] = {"", "Клиенти ", "Доставчици ", "Клиенти-Доставчици "};
    if (choice < 1 || choice > 3)
        return {};
    return {QStringLiteral("(1=1) ") + QString::fromLatin1(conditions[choice]),
            QString::fromUtf8(descriptions[choice]).trimmed()};
}

void CheckCounterpartyEntry(const CounterpartyEntry &entry,
                            const std::function<int(Identifier, const QString &)> &othersWith,
                            const std::function<bool()> &wantsToCorrect)
{
    if (entry.kind.isNull() || entry.kind.toInt() < 0 || entry.kind.toInt() > 2)
        throw db::FieldError(QStringLiteral("Моля, изберете стойност за полето \"Клиент/доставчик\""),
                             QStringLiteral("KONTR_IS_CLIENT"));
    if (entry.code.isNull() || entry.code.toString().trimmed().isEmpty())
        throw db::FieldError(QStringLiteral("Полето \"Код\" трябва да бъде попълнено"), QStringLiteral("KONTR_CODE"));
    if (entry.name.trimmed().isEmpty())
        throw db::FieldError(QStringLiteral("Полето \"Название\" трябва да бъде попълнено"),
                             QStringLiteral("KONTR_NAME"));
    if (!entry.taxNumber.trimmed().isEmpty()) {
        if (IsValidEGN(entry.taxNumber) || IsValidTaxNumber(entry.taxNumber)) {
            if (othersWith(Identifier::TaxNumber, entry.taxNumber) > 0)
                throw db::FieldError(QStringLiteral("ВНИМАНИЕ В базата данни вече има такъв Данъчен №/ЕГН !\n\r"
                                                    "Моля, проверете данните които въвеждате !"),
                                     kTaxNumberField);
        } else if (wantsToCorrect()) {
            throw TaxNumberToCorrect();
        }
    }
    if (!entry.bulstat.trimmed().isEmpty()) {
        if (!IsValidBulstat(entry.bulstat))
            throw db::FieldError(QStringLiteral("Невалиден Булстат!"), kBulstatField);
        if (othersWith(Identifier::Bulstat, entry.bulstat) > 0)
            throw db::FieldError(QStringLiteral("ВНИМАНИЕ В базата данни вече има такъв Булстат !\n\r"
                                                "Моля, проверете данните които въвеждате !"),
                                 kBulstatField);
    }
}
