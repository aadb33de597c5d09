#pragma once

#include <initializer_list>

class QComboBox;

// A place typed into a box that the settlements catalogue does not hold yet
// is added to the catalogue only when the user agrees, with the same question
// wherever a place is typed. A name that differs from a known one only in
// letter case or surrounding spaces is the known place, so the catalogue
// never gains a second "София".
//
// Returns true when the place was added (the shared list is refreshed); the
// caller then fills its boxes again and stores the trimmed name. `asking`
// guards against the question being asked again while its own dialog takes
// the focus from the box.
bool OfferToAddCity(const QComboBox &box, bool &asking);


// Fills settlement drop-downs from the shared list, sorted, each keeping
// what it shows.
void FillCityBoxes(std::initializer_list<QComboBox *> boxes);
