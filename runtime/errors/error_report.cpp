#include "runtime/errors/error_report.h"

#include <optional>

#include "runtime/convert/integer_text.h"
#include "runtime/errors/error_log.h"
#include "runtime/errors/error_messages.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/state/runtime_state.h"

namespace rt {
namespace {

ReportState& reports() { return state().reports; }

}  // namespace

std::string error_head_line(const std::string& module, unsigned line, int number) {
  return "\r\n" + module + " [" + decimal_text(line) + "行]:エラー[" + decimal_text(number) + "]";
}

std::string error_report_text(const RuntimeError& error) {
  std::string text = error_head_line(error.module(), error.line(), error.number());
  if (const char* message = error_message(error.number())) {
    text += "\r\n";
    text += message;
  }
  if (!error.detail().empty()) {
    text += "\r\n";
    text += error.detail();
  }
  return text;
}

std::string error_report_caption() { return reports().program_name + ".EXE"; }

void set_program_name(const std::string& name) { reports().program_name = name; }

void set_report_sink(ReportSink sink) { reports().sink = std::move(sink); }

void set_error_hint(ErrorHint hint) { reports().hint = std::move(hint); }

void report_error(const RuntimeError& error) {
  ReportState& r = reports();
  if (r.in_progress || error.number() == 0) return;
  r.in_progress = true;
  ++r.reported;
  r.last = error;
  try {
    error_log_write(error);
    // The hint is for the one reading the report; the log and the last error (which the
    // batch's summary line names) keep the error as raised.
    RuntimeError shown = error;
    if (shown.detail().empty() && r.hint) shown.set_detail(r.hint(error));
    if (r.sink) r.sink(error_report_caption(), error_report_text(shown));
  } catch (...) {
    // Whatever fails while a report is being made is ignored, as a second error would be.
  }
  r.in_progress = false;
}

int reported_error_count() { return reports().reported; }
void reset_reported_error_count() {
  reports().reported = 0;
  reports().last.reset();
}

const RuntimeError* last_reported_error() {
  const ReportState& r = reports();
  return r.last ? &*r.last : nullptr;
}

}  // namespace rt
