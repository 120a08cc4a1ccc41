#include "window/FieldPlaces.h"

#include <algorithm>
#include <tuple>

namespace window {

namespace {

using calculator::Role;

constexpr int kComputeRow = 0;
constexpr int kFirstFieldRow = 1;
constexpr int kParameterColumn = 0;
constexpr int kQuestionColumn = 1;

// A question use outweighs a parameter use: the x-value and the bound stay
// in the right column for every function that asks with them.
SlotUse Combined(SlotUse known, Role role) {
  if (role == Role::XValue || role == Role::Bound) return SlotUse::Question;
  return known == SlotUse::Question ? known : SlotUse::Parameter;
}

}  // namespace

std::vector<SlotUse> SlotUses(std::span<const calculator::FunctionAbout> functions,
                              int slotCount) {
  std::vector<SlotUse> uses(static_cast<std::size_t>(slotCount), SlotUse::Unused);
  for (const calculator::FunctionAbout& about : functions)
    for (const calculator::FieldAbout& field : calculator::FieldsIn(about, calculator::Mode::Interval))
      if (field.slot >= 0 && field.slot < slotCount) {
        SlotUse& use = uses[static_cast<std::size_t>(field.slot)];
        use = Combined(use, field.role);
      }
  return uses;
}

TFieldPlaces PlaceFields(std::span<const SlotUse> uses) {
  TFieldPlaces places;
  places.compute = {kComputeRow, kParameterColumn};
  int nextParameterRow = kFirstFieldRow;
  int nextQuestionRow = kFirstFieldRow;
  for (const SlotUse use : uses) {
    TPlace place;
    if (use == SlotUse::Parameter) place = {nextParameterRow++, kParameterColumn};
    if (use == SlotUse::Question) place = {nextQuestionRow++, kQuestionColumn};
    places.fields.push_back(place);
  }
  // Level with the last parameter, or below the last question field.
  const int inverseRow = std::max(nextParameterRow - 1, nextQuestionRow);
  places.inverse = {inverseRow, kQuestionColumn};
  places.between = {inverseRow + 1, kQuestionColumn};
  places.sd = {inverseRow + 1, kParameterColumn};
  places.endRow = inverseRow + 2;
  return places;
}

bool TabsBefore(const TPlace& a, const TPlace& b) {
  return std::tie(a.column, a.row) < std::tie(b.column, b.row);
}

}  // namespace window
