#pragma once
// Writes a desktop session as an action script that `--run` replays: every user action as one
// line, written and flushed as soon as its place in the script is known, so that a crash
// leaves the record.
//
// A line whose action queued an event waits until that event's procedure has run: the answers
// of the dialogs the procedure opens must come before it in the script, where the driver
// queues them. Lines that follow a waiting line wait behind it, so the order stays the order
// of the user's actions. Typed text becomes one `set` line when the field is left or before
// the next action.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/actions/user_action.h"

namespace actions {

class SessionRecorder {
 public:
  // Writes to the open file descriptor (which it does not close). A chosen file under `base`
  // (the folder the recording starts in, by default the current directory) is recorded
  // relative to it; any other path as chosen.
  explicit SessionRecorder(int fd, std::string base = current_folder());
  static std::string current_folder();
  ~SessionRecorder();
  SessionRecorder(const SessionRecorder&) = delete;
  SessionRecorder& operator=(const SessionRecorder&) = delete;

  // What the desktop records of each action its user performs, in two halves around the
  // performing: before it, the typed text that no field has left yet comes first (unless the
  // action is more typing); after it, typing waits for its field to be left, a mouse action
  // is recorded only on the graph and a move only while a button (`buttons`) is held, and
  // anything else as performed (`queued` when it queued an event).
  void before_action(const UserAction& action);
  void after_action(const UserAction& action, int buttons, bool queued);

  // The user typed into a field (a set action with the field's new text).
  void typed(const UserAction& set);
  // The field lost the focus: its typed text is written.
  void field_left(const std::string& field);
  // Writes the typed text that no field has left yet.
  void flush_typed();
  // A performed action; `queued` when it queued an event.
  void record(const UserAction& action, bool queued);
  // The answer a dialog or question box got (answer file, cancel, yes or no).
  void answered(const UserAction& answer);
  // Writes the lines whose events' procedures have run.
  void release_finished();
  // Writes everything still held: the session ends.
  void finish();

  // Installs handlers for fatal signals and for the signals that end a session from outside
  // (SIGTERM, SIGHUP, SIGINT: kill, logout, a closed terminal, a job's time limit) that write
  // what is still held, typed text included, before the process dies (for the one recorder of
  // a desktop session).
  void write_held_lines_on_crash();

  // Each action is one line: a text with a line end is written up to it (what an edit box
  // keeps), and an action that still cannot be one line (a file name holding a line end) is
  // not written: the record says so in a comment, which a replay skips.
  static std::string line_of(const UserAction& action);

 private:
  struct Held {
    std::uint64_t serial = 0;  // the event whose procedure must run first; 0 for none
    std::vector<std::string> answers;
    std::string line;
  };

  std::string recorded_path(const std::string& path) const;
  void write(const std::string& line);
  void write_ready(bool everything);
  void mirror_held();

  int fd_;
  bool broken_ = false;  // a write failed: the record ends with its last whole line
  std::filesystem::path base_;
  std::deque<Held> held_;
  std::string typed_field_;
  std::string typed_text_;
  bool typing_ = false;
};

}  // namespace actions
