#pragma once

#include "util/Error.h"

#include <QString>
#include <QVariant>

#include <functional>

// The code proposed for a new counterparty, one above the greatest stored
// (1 for the first), as the code box shows it: six digits, zero-padded.
QString ProposedCounterpartyCode(const QVariant &greatestCode);

// The list's condition for a choice of the kind filter ("<Всички>",
// "Клиенти", "Доставчици", "Клиент-Доставчик" in this order) and the
// title's description of it; an empty condition lists every kind.
struct KindFilter
{
    QString condition;
    QString description;
};
KindFilter CounterpartyKindFilter(int choice);

// What the save of a counterparty checks, as the user entered it.
struct CounterpartyEntry
{
    QVariant kind;
    QVariant code;
    QString name;
    QString taxNumber;
    QString bulstat;
};

enum class Identifier { TaxNumber, Bulstat };

// The user chose to correct the invalid tax number: nothing more is shown,
// the focus goes to its field.
class TaxNumberToCorrect : public varnex::Error
{
public:
    TaxNumberToCorrect()
        : varnex::Error(QString())
    {
    }
};

// Runs the checks of a save in their order. `othersWith` counts the other
// counterparties holding a value; `wantsToCorrect` asks whether an invalid
// tax number is to be corrected. Throws db::FieldError with the message and
// the field of the first failure, or TaxNumberToCorrect.
void CheckCounterpartyEntry(const CounterpartyEntry &entry,
                            const std::function<int(Identifier, const QString &)> &othersWith,
                            const std::function<bool()> &wantsToCorrect);
