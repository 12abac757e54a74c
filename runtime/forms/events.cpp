#include "runtime/forms/events.h"

#include <cctype>
#include <map>
#include <new>

#include "runtime/errors/error_report.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/errors/statement_place.h"
#include "runtime/files/file_channels.h"
#include "runtime/forms/object_table.h"
#include "runtime/forms/platform.h"
#include "runtime/forms/statement_pump.h"
#include "runtime/state/runtime_state.h"

namespace rt {
namespace {

EventQueueState& queue_state() { return rt::state().events; }

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The window's own procedure for the event, else one published for every window.
const EventProcedure* find_procedure(const std::string& window, const std::string& name) {
  const auto& procedures = queue_state().procedures;
  auto it = procedures.find({window, name});
  if (it == procedures.end()) it = procedures.find({std::string(), name});
  return it == procedures.end() ? nullptr : &it->second;
}

bool enqueue(ObjRef element, EventKind kind, MouseData mouse, const std::string& window,
             const std::string& name) {
  auto& s = queue_state();
  const EventProcedure* procedure = find_procedure(window, name);
  if (!procedure) return false;  // no procedure: the event has no effect
  if (s.queue.size() >= kEventQueueLimit) return false;
  s.queue.push_back(QueuedEvent{element, kind, mouse, procedure, ++s.last_queued, name});
  return true;
}

// After a failure the channels are released whatever closing them says: a second error while
// the first is handled is ignored.
void close_files_quietly() {
  try {
    close_all_files();
  } catch (const RuntimeError&) {
  }
}

// Marks a procedure as running for its whole extent, also when it unwinds.
struct RunningScope {
  explicit RunningScope(const QueuedEvent& e) {
    queue_state().running = true;
    queue_state().current = e;
  }
  ~RunningScope() {
    queue_state().running = false;
    queue_state().current = QueuedEvent{};
  }
};

// Runs one procedure with the isolation every event procedure has: a run-time error is reported
// and logged, and nothing stays open afterwards, also after a failure.
void run_isolated(const QueuedEvent& e) {
  {
    RunningScope scope(e);
    forget_statement();
    try {
      (*e.procedure)();
      close_all_files();  // a close that loses written data is the procedure's error
    } catch (const RuntimeError& error) {
      // Whatever the failed procedure opened is closed.
      close_files_quietly();
      report_error(error);
    } catch (const std::bad_alloc&) {
      // The failed allocation has been unwound, so there is memory again to report it with.
      close_files_quietly();
      report_error(out_of_memory_error());
    } catch (...) {
      close_files_quietly();
      throw;
    }
  }
  collect_destroyed_objects();
}

}  // namespace

std::string event_name(const std::string& element_name, EventKind kind) {
  return upper(element_name) + event_suffix(kind);
}

void publish_procedure(const std::string& name, EventProcedure procedure) {
  auto& procedures = queue_state().procedures;
  std::erase_if(procedures, [&name](const auto& entry) { return entry.first.second == name; });
  procedures[{std::string(), name}] = std::move(procedure);
}

void publish_procedure(const std::string& window, const std::string& name,
                       EventProcedure procedure) {
  queue_state().procedures[{upper(window), name}] = std::move(procedure);
}

bool procedure_exists(const std::string& name) {
  for (const auto& [key, procedure] : queue_state().procedures)
    if (key.second == name) return true;
  return false;
}

bool procedure_exists(const std::string& window, const std::string& name) {
  return find_procedure(upper(window), name) != nullptr;
}

void clear_procedures() {
  queue_state().queue.clear();
  queue_state().procedures.clear();
}

bool post_event(ObjRef element, EventKind kind, MouseData mouse) {
  std::string window, name;
  if (Control* c = live_control(element)) {
    window = upper(c->form().name());
    name = event_name(c->name(), kind);
  } else if (form_exists(element)) {
    window = upper(form_of(element).name());
    name = event_name(window, kind);
  } else {
    return false;
  }
  return enqueue(element, kind, mouse, window, name);
}

bool post_menu_event(const std::string& item_name) {
  // The menu is the main window's.
  const std::string window = form_exists(main_form()) ? upper(form_of(main_form()).name()) : "";
  return enqueue(main_form(), EventKind::On, MouseData{}, window, upper(item_name) + "_ON");
}

std::size_t queued_event_count() { return queue_state().queue.size(); }
void clear_event_queue() { queue_state().queue.clear(); }

bool run_procedure(const EventProcedure& procedure) {
  if (queue_state().running) return false;
  QueuedEvent e{};
  e.procedure = &procedure;
  run_isolated(e);
  return true;
}

bool run_one_event() {
  auto& s = queue_state();
  if (s.running || s.queue.empty() || s.quit) return false;
  QueuedEvent e = s.queue.front();
  s.queue.pop_front();
  run_isolated(e);
  s.last_finished = e.serial;
  return true;
}

void run_pending_events() {
  while (run_one_event()) {
  }
}

bool procedure_running() { return queue_state().running; }
std::uint64_t last_queued_event_serial() { return queue_state().last_queued; }
std::uint64_t running_event_serial() {
  return queue_state().running ? queue_state().current.serial : 0;
}
std::uint64_t last_finished_event_serial() { return queue_state().last_finished; }
ObjRef event_element() { return queue_state().current.element; }
MouseData event_mouse() { return queue_state().current.mouse; }
const std::string& running_event_name() { return queue_state().current.name; }

void request_quit() { queue_state().quit = true; }
bool quit_requested() { return queue_state().quit; }

void close_form_by_user(ObjRef form) {
  if (!form_exists(form)) return;
  if (form == main_form() || form.id == 0) {
    request_quit();
    return;
  }
  if (form_of(form).def().window.frame.tool_window) {
    show_form(form, 0);
    return;
  }
  destroy_form(form);
}

void pump() {
  if (Platform* p = platform()) p->process_pending();
  if (queue_state().quit) throw QuitRequested{};
}

void reset_events() {
  auto& s = queue_state();
  s.procedures.clear();
  s.queue.clear();
  s.quit = false;
  s.running = false;
  reset_statement_count();
}

}  // namespace rt
