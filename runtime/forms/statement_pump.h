#pragma once
// The statement count behind the windows' liveliness: while an event procedure runs, every
// eleventh counted statement lets pending window messages through (a counter reloaded with 10
// and counted down to 0), so the windows repaint during a long load or draw and closing the
// main window ends the program there. The long loops (the counted loop, the readers' per-record
// loops) count one statement per pass; counting costs a decrement.

#include "runtime/state/runtime_state.h"

namespace rt {

// Reloads the counter and pumps (rt::pump) when an event procedure runs and nothing holds the
// pumps. Called on every eleventh statement only.
void pump_at_eleventh_statement();

// One statement of a long loop.
inline void count_statement() {
  if (state().statements.countdown-- == 0) pump_at_eleventh_statement();
}

// Starts the count afresh (start of a run, between tests).
void reset_statement_count();

// While one lives, counted statements do not pump. The fitting sweep pumps between two trials
// itself: what it kept of the fields must not change under a figure half computed.
class StatementPumpHold {
 public:
  StatementPumpHold() { ++state().statements.holds; }
  ~StatementPumpHold() { --state().statements.holds; }
  StatementPumpHold(const StatementPumpHold&) = delete;
  StatementPumpHold& operator=(const StatementPumpHold&) = delete;
};

}  // namespace rt
