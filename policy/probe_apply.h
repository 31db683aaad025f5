// The two steps between the window's check boxes and the disallow list.
#pragma once

#include <array>

#include "policy/catalogue.h"
#include "policy/store.h"

namespace p2pb {

// One flag per catalogue row: selection[position - 1] is true when ticked.
using Selection = std::array<bool, kCatalogueSize>;

// Tells the user that apply has finished.
class Confirmation {
public:
    virtual void show() = 0;

protected:
    ~Confirmation() = default;  // never deleted through this interface
};

// The rows whose probe value is on the list. Reads only.
Selection probe(PolicyStore& store);

// Makes the list agree with the selection, row by row in catalogue order, then
// confirms. A name that several rows govern is kept while any of them is ticked.
// Store failures are not reported: the confirmation follows in every case.
void applySelection(PolicyStore& store, const Selection& selection, Confirmation& confirmation);

}  // namespace p2pb
