#include "ui/GridLayout.h"

#include "core/TSettings.h"
#include "ui/DataGrid.h"
#include "util/Base64Variant.h"

namespace {
QString layoutKey(const DataGrid &grid)
{
    return QStringLiteral("grid_layout(%1)").arg(grid.objectName());
}
} // namespace

int GridLayoutVersion(const DataGrid &grid)
{
    return qMax(0, grid.tag);
}

void LoadGridLayout(DataGrid &grid, TSettings &settings)
{
    if (settings.ReadInteger(QStringLiteral("grid_layout_version"), 0) != GridLayoutVersion(grid))
        return;
    const QString stored = settings.ReadString(layoutKey(grid), QString());
    if (stored.isEmpty())
        return;
    grid.setUpdatesEnabled(false);
    grid.readColumnSet(varnex::decodeBase64Variant(stored));
    grid.setUpdatesEnabled(true);
}

void SaveGridLayoutTo(DataGrid &grid, TSettings &settings)
{
    settings.WriteString(layoutKey(grid), varnex::encodeBase64Variant(grid.writeColumnSet()));
    if (GridLayoutVersion(grid) > 0)
        settings.WriteInteger(QStringLiteral("grid_layout_version"), GridLayoutVersion(grid));
}
