#include "runtime/forms/statement_pump.h"

#include "runtime/forms/events.h"

namespace rt {

void pump_at_eleventh_statement() {
  statement_count_detail::countdown = 10;
  if (statement_count_detail::holds == 0 && procedure_running()) pump();
}

void reset_statement_count() { statement_count_detail::countdown = 10; }

}  // namespace rt
