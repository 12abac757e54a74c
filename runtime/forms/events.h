#pragma once
// Events: named after the element and the event kind, bound to the program's procedures by the
// window that holds the element and that name (each window owns its controls: FORM2's BUTTON1
// and FORM5's BUTTON1 have procedures of their own), queued first in first out (at most 64
// waiting) and run one at a time. Menu commands are the main window's.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "runtime/forms/objects.h"

namespace rt {

using EventProcedure = std::function<void()>;

// The name of an element's event: its name in upper case followed by the kind's suffix.
std::string event_name(const std::string& element_name, EventKind kind);

// The program's procedures, published under a window's name and an event name; a window's own
// procedure comes before one published without a window, which serves every window (and
// replaces what any window had for that event).
void publish_procedure(const std::string& window, const std::string& event_name,
                       EventProcedure procedure);
void publish_procedure(const std::string& event_name, EventProcedure procedure);
// Whether some window has a procedure for the event; whether that window has.
bool procedure_exists(const std::string& event_name);
bool procedure_exists(const std::string& window, const std::string& event_name);
void clear_procedures();

inline constexpr std::size_t kEventQueueLimit = 64;

struct MouseData {
  float x = 0, y = 0;  // pointer position relative to the element, in pixels
  int buttons = 0;
  int wheel = 0;
};

// Queues an event of a control or form (element = its reference) when the program has a
// procedure for it and fewer than 64 events wait. Returns whether it was queued.
bool post_event(ObjRef element, EventKind kind, MouseData mouse = {});
// A menu command: the item's name in upper case + "_ON".
bool post_menu_event(const std::string& item_name);
std::size_t queued_event_count();
void clear_event_queue();

// Runs `procedure` as an event procedure runs, for callers outside the event queue (a batch, a
// fuzzer): a run-time error unwinds to here, where it is reported and logged; the file channels
// the procedure left open are closed and the objects it destroyed are released. Returns false,
// without running it, when called from inside a running procedure (procedures never nest).
// A quit request (QuitRequested) passes through.
bool run_procedure(const EventProcedure& procedure);

// Runs the oldest queued event's procedure as run_procedure() does and returns true; false
// when none waits, the program is ending, or when called from inside a running procedure.
bool run_one_event();
// Runs events until the queue is empty.
void run_pending_events();
bool procedure_running();

// Every queued event gets the next serial number (from 1), so that a watcher can tell which
// procedure runs and which have finished (events run in queue order).
std::uint64_t last_queued_event_serial();
std::uint64_t running_event_serial();        // 0 when no procedure runs
std::uint64_t last_finished_event_serial();  // 0 before the first

// The element and pointer data of the event whose procedure is running.
ObjRef event_element();
MouseData event_mouse();
// The event name of the running procedure ("BUTTON1_ON"); empty outside the queue's events.
const std::string& running_event_name();

// Thrown by pump() when the user asked to end the program during a procedure; it ends the
// program without a report.
struct QuitRequested {};
void request_quit();
bool quit_requested();

// The user closed a window with its close button: closing the main window ends the program
// (at once, or at the next pump while a procedure runs); a tool window is hidden; any other
// window is destroyed.
void close_form_by_user(ObjRef form);

// Long procedures call this often: the platform may repaint and queue new events (which run
// only after the current procedure returns). A quit request ends the program here.
void pump();

// Forgets all events, procedures and the quit request (start of a run, between tests).
void reset_events();

}  // namespace rt
