// Exhaustive reading of a variant: std::visit over an Overloaded set of
// handlers, one per alternative, fails to compile when an alternative has
// none, where a chain of std::get_if would pass it by in silence.
//
//   std::visit(Overloaded{[](const TailsAt& t) { ... }, [](const PointsOf& p) { ... }, ...}, v);
#pragma once

namespace calculator {

template <class... Handlers>
struct Overloaded : Handlers... {
  using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace calculator
