#pragma once
// Which statement of the program was executing when an error was raised. Reports name a line
// of the program's own code: where the run-time raises with a place inside itself or inside a
// library header (a default argument taken there, or an allocation that failed), the report
// names the last statement of the program that the run-time has seen instead.

#include <source_location>
#include <string>
#include <vector>

namespace rt {

// Where a source file belongs.
enum class SourceSide {
  Program,  // the program's own code and its callers: the folders the program names
  RunTime,  // runtime/
  Library,  // anything else: the standard library's and other libraries' headers
};
// The top folders of the program's source trees ("app", ...), for the current program; until
// it names them, only the run-time's own folder is known.
void set_program_source_folders(std::vector<std::string> folders);
SourceSide source_side(const char* file);

// The file from its tree's folder on ("app/graph/drawgraph.cpp"); the name as given when it
// belongs to no tree of ours.
std::string source_path(const char* file);

// Notes the caller's place when it is a statement of the program; run-time entry points call
// it with the location their caller passed.
void note_statement(const std::source_location& where);
// Each procedure starts without a known statement.
void forget_statement();

struct StatementPlace {
  const char* file = nullptr;  // null: none seen since the procedure started
  unsigned line = 0;
};
StatementPlace last_statement();

}  // namespace rt
