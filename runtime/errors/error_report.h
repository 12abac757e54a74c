#pragma once
// Reporting a run-time error: the head line, the message, the log, and the platform's box.

#include <functional>
#include <string>

namespace rt {

class RuntimeError;

// "\r\n<module> [<line>行]:エラー[<number>]"
std::string error_head_line(const std::string& module, unsigned line, int number);

// The head line, then a line break and the message text when the number has one, then a line
// break and the error's detail when it has one.
std::string error_report_text(const RuntimeError& error);

// Caption of the report box: the program file's name followed by ".EXE".
std::string error_report_caption();
void set_program_name(const std::string& name);

// Where reports are shown: the platform installs its box (or standard error) here.
using ReportSink = std::function<void(const std::string& caption, const std::string& text)>;
void set_report_sink(ReportSink sink);

// What to tell the user about an error that carries no detail of its own: what was missing
// or wrong and what to do. The program installs it; the report shows its text as the detail.
using ErrorHint = std::function<std::string(const RuntimeError& error)>;
void set_error_hint(ErrorHint hint);

// Logs and shows the error. A second error raised while one is being reported is ignored.
void report_error(const RuntimeError& error);

// Number of errors reported since start (the action-script driver's exit status uses it).
int reported_error_count();
void reset_reported_error_count();
// The error reported last, or null when none was since the reset; the batch's summary line
// names it.
const RuntimeError* last_reported_error();

}  // namespace rt
