#pragma once

class DataGrid;
class TSettings;

// The layout version of a grid (0 for every grid of this program).
int GridLayoutVersion(const DataGrid &grid);
// Restores the user's column set from the window's section when it was
// stored for this layout version; anything unreadable keeps the design.
void LoadGridLayout(DataGrid &grid, TSettings &settings);
void SaveGridLayoutTo(DataGrid &grid, TSettings &settings);
