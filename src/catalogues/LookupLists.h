#pragma once

class TfrmList;

// The settlements and the goods categories are edited in the ready-made
// list window on the data module's own shared lists, so every drop-down
// and look-up over them offers a change at once.
void showCategoriesIn(TfrmList &window);
void showSettlementsIn(TfrmList &window);
