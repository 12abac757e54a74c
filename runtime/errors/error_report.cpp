#include "runtime/errors/error_report.h"

#include <optional>

#include "runtime/convert/integer_text.h"
#include "runtime/errors/error_log.h"
#include "runtime/errors/error_messages.h"
#include "runtime/errors/runtime_error.h"

namespace rt {
namespace {

ReportSink g_sink;
ErrorHint g_hint;
std::string g_program_name = "tessaly";
bool g_in_progress = false;
int g_reported = 0;
std::optional<RuntimeError> g_last;

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

std::string error_report_caption() { return g_program_name + ".EXE"; }

void set_program_name(const std::string& name) { g_program_name = name; }

void set_report_sink(ReportSink sink) { g_sink = std::move(sink); }

void set_error_hint(ErrorHint hint) { g_hint = std::move(hint); }

void report_error(const RuntimeError& error) {
  if (g_in_progress || error.number() == 0) return;
  g_in_progress = true;
  ++g_reported;
  g_last = error;
  try {
    error_log_write(error);
    // The hint is for the one reading the report; the log and the last error (which the
    // batch's summary line names) keep the error as raised.
    RuntimeError shown = error;
    if (shown.detail().empty() && g_hint) shown.set_detail(g_hint(error));
    if (g_sink) g_sink(error_report_caption(), error_report_text(shown));
  } catch (...) {
    // Whatever fails while a report is being made is ignored, as a second error would be.
  }
  g_in_progress = false;
}

int reported_error_count() { return g_reported; }
void reset_reported_error_count() {
  g_reported = 0;
  g_last.reset();
}

const RuntimeError* last_reported_error() { return g_last ? &*g_last : nullptr; }

}  // namespace rt
