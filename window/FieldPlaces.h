// Where the field form's controls stand in its grid, worked out from the
// table of functions alone, so that a table with more label/edit pairs
// (calculator::kSlotCount) lays itself out without a change here.
//
// Compute stands alone in row 0.  Below it, two columns: at the left the
// slots that only parameters use, in slot order, one row each, as many
// rows as there are such slots; at the right the slots that some function
// uses for its x-value or for the interval's upper bound, in slot order.
// The inverse option stands in the right column level with the last
// parameter row (or below the right column's last field, where that is
// lower), and the row below everything holds the standard deviation option
// at the left and the interval option at the right.  A slot that no
// function uses has no place.
//
// Every function's slots keep their places whichever function is shown, so
// that nothing moves when the function changes; the Tab order follows the
// places, column by column, top to bottom.
#pragma once

#include <span>
#include <vector>

#include "calculator/Functions.h"

namespace window {

// How the functions of a table use one slot.
enum class SlotUse {
  Unused,
  Parameter,  // a parameter of every function that uses it
  Question,   // some function's x-value or interval bound
};

// A cell of the form's grid; row -1: no place.
struct TPlace {
  int row = -1;
  int column = 0;

  bool Placed() const { return row >= 0; }
  bool operator==(const TPlace&) const = default;
};

struct TFieldPlaces {
  TPlace compute;
  std::vector<TPlace> fields;  // the label/edit pairs, by slot
  TPlace inverse;
  TPlace between;
  TPlace sd;
  // The first row below the controls, which takes the extra height.
  int endRow = 0;
};

// The use of each of `slotCount` slots over all modes of `functions`.
std::vector<SlotUse> SlotUses(std::span<const calculator::FunctionAbout> functions, int slotCount);

TFieldPlaces PlaceFields(std::span<const SlotUse> uses);

// Whether `a` comes before `b` in the Tab order: the left column first,
// each column top to bottom.
bool TabsBefore(const TPlace& a, const TPlace& b);

}  // namespace window
