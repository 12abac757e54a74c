#pragma once
// Everything the run-time keeps while a program runs, in one value: the object table, the
// events, the file channels, the report's state, the platform and the text renderer. A program
// (app::Session) owns one and makes it current on its thread; the run-time's functions reach
// it through state(), so that two programs on two threads share nothing.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "runtime/errors/error_report.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/errors/statement_place.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/event_queue_state.h"
#include "runtime/forms/object_table_state.h"
#include "runtime/picture/lazy_raster.h"

namespace rt {

class Platform;
struct TextRenderer;
struct Channel;

// The program's own part of the state, beside the run-time's; the program derives its part
// from this and reaches it through RuntimeState::program.
class ProgramPart {
 protected:
  ProgramPart() = default;
  ~ProgramPart() = default;
};

// The statement count behind the windows' liveliness (runtime/forms/statement_pump.h).
struct StatementCount {
  int countdown = 10;
  int holds = 0;
};

// Where the last statement of the program was, and which side a few source files are on
// (runtime/errors/statement_place.h).
struct StatementPlaces {
  struct Known {
    const char* file = nullptr;
    SourceSide side = SourceSide::Library;
  };
  StatementPlace last;
  std::vector<std::string> program_folders;
  std::array<Known, 64> known;
};

// What reporting an error keeps (runtime/errors/error_report.h).
struct ReportState {
  ReportSink sink;
  ErrorHint hint;
  std::string program_name = "tessaly";
  bool in_progress = false;
  int reported = 0;
  std::optional<RuntimeError> last;
};

// The numbered channels and the files held in memory (runtime/files/file_channels.h).
struct FileChannelTable {
  FileChannelTable();
  ~FileChannelTable();
  FileChannelTable(const FileChannelTable&) = delete;
  FileChannelTable& operator=(const FileChannelTable&) = delete;

  // Index 0 stays empty so that the index is the file number.
  std::array<std::unique_ptr<Channel>, kMaxFileNumber + 1> channels;
  std::vector<std::pair<std::string, std::string>> memory_files;
};

struct RuntimeState {
  // The platform shows the program for the state's whole life (null: nothing is shown, no
  // dialogs); the caller keeps it and the renderer alive until the state is gone.
  explicit RuntimeState(Platform* shown_on = nullptr, TextRenderer* renderer = nullptr);
  ~RuntimeState();
  RuntimeState(const RuntimeState&) = delete;
  RuntimeState& operator=(const RuntimeState&) = delete;

  Platform* const platform;
  TextRenderer* text_renderer;
  // Before the objects, so that their pictures are gone before it draws what is left.
  QueuedTextRasters queued_text;
  std::vector<const FormDef*> form_definitions;
  std::vector<const MenuDef*> menu_definitions;
  ObjectTable objects;
  EventQueueState events;
  std::set<std::string> menu_checks;
  StatementCount statements;
  StatementPlaces places;
  ReportState reports;
  FileChannelTable files;
  std::unique_ptr<std::mt19937_64> temporary_names;  // made on first use
  ProgramPart* program = nullptr;
};

namespace state_detail {
constinit extern thread_local RuntimeState* current;
}

// The state of the program running on this thread. Only a thread with a current state may call
// the run-time: a Session makes its state current.
inline RuntimeState& state() { return *state_detail::current; }
inline RuntimeState* current_state() { return state_detail::current; }

// Makes a state current on this thread for its own lifetime, and then puts back the one that
// was current before.
class CurrentState {
 public:
  explicit CurrentState(RuntimeState& made_current) : before_(state_detail::current) {
    state_detail::current = &made_current;
  }
  ~CurrentState() { state_detail::current = before_; }
  CurrentState(const CurrentState&) = delete;
  CurrentState& operator=(const CurrentState&) = delete;

 private:
  RuntimeState* before_;
};

}  // namespace rt
