#include "catalogues/LookupLists.h"

#include "core/Tdm.h"
#include "ui/TfrmList.h"

void showCategoriesIn(TfrmList &window)
{
    window.setDataset(dm().qCategory(), {{QStringLiteral("CODE"), QStringLiteral("Код"), 80, true},
                                         {QStringLiteral("NAME"), QStringLiteral("Наименование"), 280, true}});
}

void showSettlementsIn(TfrmList &window)
{
    window.setDataset(dm().qCities(), {{QStringLiteral("NAME"), QStringLiteral("Населено място"), 280, true}});
}
