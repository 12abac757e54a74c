#pragma once
// The counted loop that every per-point, grid and tick loop of the program uses. Its counter
// is a single: it takes the start value and the body runs once before any test; after each
// pass the step is added by single-precision addition (not start + n * step), and the loop
// goes on while the counter is not beyond the limit (not greater for a step of 0 or more, not
// less for a negative step). So a loop from 0 to -1 still runs once, for 0. Each pass counts
// as a statement, so a long loop lets the windows repaint (and the user quit) as it runs.

#include <cstdint>
#include <source_location>

#include "runtime/convert/integer_rules.h"
#include "runtime/forms/statement_pump.h"

namespace app {

// A counter that adding the step no longer moves (a step of 0, or a value so large that the
// step is lost in rounding) would repeat the same pass for ever; the loop ends after that pass
// instead. Moves the counter on and says whether another pass runs.
inline bool next_pass(float& counter, float limit, float step) {
  const float next = counter + step;
  if (next == counter) return false;
  counter = next;
  return !(step >= 0 ? counter > limit : counter < limit);
}

template <class Body>
void counted_loop(float start, float limit, float step, Body&& body) {
  float counter = start;
  do {
    rt::count_statement();
    body(counter);
  } while (next_pass(counter, limit, step));
}

// How many passes the counted loop from start to limit by step makes, counted up to `cap`
// (a larger count gives cap + 1). Runs no statements: it only foretells the loop.
inline long counted_passes(float start, float limit, float step, long cap) {
  long passes = 1;
  for (float counter = start; passes <= cap && next_pass(counter, limit, step);) ++passes;
  return passes;
}

// The array index a loop counter stands for: rounded to the nearest integer, halves away from
// zero.
inline std::int32_t loop_index(float counter,
                               std::source_location where = std::source_location::current()) {
  return rt::nearest_int(counter, where);
}

}  // namespace app
