#include "ui/CityQuestion.h"

#include "core/Tdm.h"
#include "db/Dataset.h"
#include "ui/Dialogs.h"

#include <QComboBox>

bool OfferToAddCity(const QComboBox &box, bool &asking)
{
    const QString typed = box.currentText().trimmed();
    if (asking || typed.isEmpty() || box.findText(typed, Qt::MatchFixedString) >= 0)
        return false;
    asking = true;
    const int answer = MessageDlg(QStringLiteral("Нас. място не е описано в базата данни.\r\nЖелаете ли да го добавите?"),
                                  TMsgDlgType::mtConfirmation, mbYes | mbNo);
    asking = false;
    if (answer != mrYes)
        return false;
    dm().AddCity(1, typed);
    dm().RefreshDataSet(dm().qCities(), QStringLiteral("ID"));
    return true;
}

void FillCityBoxes(std::initializer_list<QComboBox *> boxes)
{
    QStringList names;
    db::Dataset &cities = dm().qCities();
    const int name = cities.fieldIndex(QStringLiteral("NAME"));
    for (int row = 0; row < cities.recordCount(); ++row)
        names << cities.value(row, name).toString();
    names.sort(Qt::CaseInsensitive);
    for (QComboBox *box : boxes) {
        const QString typed = box->currentText();
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(names);
        box->setEditText(typed);
    }
}
