#pragma once
// The event queue's contents, kept in the program's run-time state (runtime/state).

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>

#include "runtime/forms/events.h"

namespace rt {

struct QueuedEvent {
  ObjRef element;
  EventKind kind;
  MouseData mouse;
  const EventProcedure* procedure;
  std::uint64_t serial;
  std::string name;
};

struct EventQueueState {
  // By window name (upper case; empty: every window) and event name.
  std::map<std::pair<std::string, std::string>, EventProcedure> procedures;
  std::deque<QueuedEvent> queue;
  bool running = false;
  bool quit = false;
  QueuedEvent current{};
  std::uint64_t last_queued = 0;
  std::uint64_t last_finished = 0;
};

}  // namespace rt
