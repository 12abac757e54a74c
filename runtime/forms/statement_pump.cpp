#include "runtime/forms/statement_pump.h"

#include "runtime/forms/events.h"

namespace rt {

void pump_at_eleventh_statement() {
  state().statements.countdown = 10;
  if (state().statements.holds == 0 && procedure_running()) pump();
}

void reset_statement_count() { state().statements.countdown = 10; }

}  // namespace rt
