#include "platform/actions/session_recorder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"

namespace actions {
namespace {

// What a fatal signal's handler writes: a copy of the held lines kept in static storage, since
// a handler may not allocate.
constexpr std::size_t kCrashCopySize = 1 << 16;
char g_crash_copy[kCrashCopySize];
volatile std::size_t g_crash_copy_length = 0;
volatile int g_crash_fd = -1;

extern "C" void write_held_and_die(int signal_number) {
  if (g_crash_fd >= 0 && g_crash_copy_length > 0) {
    const ssize_t ignored = ::write(g_crash_fd, g_crash_copy, g_crash_copy_length);
    (void)ignored;
  }
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

}  // namespace

SessionRecorder::SessionRecorder(int fd, std::string base)
    : fd_(fd), base_(std::filesystem::path(base).lexically_normal()) {}

std::string SessionRecorder::current_folder() {
  std::error_code ec;
  std::filesystem::path here = std::filesystem::current_path(ec);
  return ec ? std::string() : here.string();
}

SessionRecorder::~SessionRecorder() {
  if (g_crash_fd == fd_) g_crash_fd = -1;
}

namespace {

constexpr int kAnyMouseButton = 1 | 2 | 16;

// A script speaks of the mouse on the graph only, and of moves only while a button is held
// (the program ignores the others).
bool recordable(const UserAction& action, int buttons) {
  const bool mouse = action.kind == ActionKind::MouseDown || action.kind == ActionKind::MouseMove ||
                     action.kind == ActionKind::MouseUp;
  if (!mouse) return true;
  if (action.target != kGraphPicture) return false;
  return action.kind != ActionKind::MouseMove || (buttons & kAnyMouseButton) != 0;
}

}  // namespace

void SessionRecorder::before_action(const UserAction& action) {
  if (action.kind != ActionKind::Set) flush_typed();
}

void SessionRecorder::after_action(const UserAction& action, int buttons, bool queued) {
  if (action.kind == ActionKind::Set)
    typed(action);
  else if (recordable(action, buttons))
    record(action, queued);
}

void SessionRecorder::typed(const UserAction& set) {
  if (typing_ && typed_field_ != set.target) flush_typed();
  typing_ = true;
  typed_field_ = set.target;
  typed_text_ = set.text;
  mirror_held();
}

std::string SessionRecorder::line_of(const UserAction& action) {
  UserAction one = action;
  if (one.kind == ActionKind::Set) one.text = rt::one_line_text(one.text);
  std::string line = format_action(one);
  if (line.find_first_of("\r\n") != std::string::npos)
    return "# not recorded, its text holds a line end: " +
           line.substr(0, line.find_first_of("\r\n")) + "...";
  return line;
}

void SessionRecorder::field_left(const std::string& field) {
  if (typing_ && typed_field_ == field) flush_typed();
}

void SessionRecorder::flush_typed() {
  if (!typing_) return;
  typing_ = false;
  const UserAction set = make_action(ActionKind::Set, typed_field_, typed_text_);
  held_.push_back(Held{0, {}, line_of(set)});
  write_ready(false);
}

void SessionRecorder::record(const UserAction& action, bool queued) {
  flush_typed();
  held_.push_back(Held{queued ? rt::last_queued_event_serial() : 0, {}, line_of(action)});
  write_ready(false);
}

std::string SessionRecorder::recorded_path(const std::string& path) const {
  // A file under the folder the recording started in is written relative to it, so that the
  // record replayed in another folder reads and writes that folder's files, not these.
  if (base_.empty()) return path;
  const std::filesystem::path full = std::filesystem::path(path).lexically_normal();
  const std::filesystem::path relative = full.lexically_relative(base_);
  if (relative.empty() || *relative.begin() == "..") return path;
  return relative.string();
}

void SessionRecorder::answered(const UserAction& answer) {
  const std::uint64_t running = rt::running_event_serial();
  UserAction written = answer;
  if (written.kind == ActionKind::AnswerFile) written.text = recorded_path(written.text);
  const std::string line = line_of(written);
  auto owner = std::find_if(held_.begin(), held_.end(),
                            [running](const Held& h) { return h.serial == running; });
  if (running != 0 && owner != held_.end()) {
    owner->answers.push_back(line);
  } else {
    // A dialog of an event no recorded line queued: its answer goes before the lines that
    // wait for later events.
    auto later = std::find_if(held_.begin(), held_.end(),
                              [running](const Held& h) { return h.serial > running; });
    held_.insert(later, Held{0, {}, line});
  }
  mirror_held();
  write_ready(false);
}

void SessionRecorder::release_finished() { write_ready(false); }

void SessionRecorder::finish() {
  flush_typed();
  write_ready(true);
}

void SessionRecorder::write_ready(bool everything) {
  const std::uint64_t finished = rt::last_finished_event_serial();
  while (!held_.empty() && (everything || held_.front().serial <= finished)) {
    const Held h = std::move(held_.front());
    held_.pop_front();
    for (const std::string& answer : h.answers) write(answer);
    write(h.line);
  }
  mirror_held();
}

// A full disk must not end the session it records; it ends the record instead, at its last
// whole line (a record with a gap would replay actions in a changed order), and says so once.
void SessionRecorder::write(const std::string& line) {
  if (broken_) return;
  const std::string text = line + '\n';
  const off_t start = ::lseek(fd_, 0, SEEK_CUR);
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : ENOSPC;
      struct stat st {};
      if (done > 0 && start >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) {
        const int cut = ::ftruncate(fd_, start);
        static_cast<void>(cut);
      }
      broken_ = true;
      if (g_crash_fd == fd_) g_crash_fd = -1;
      std::cerr << "tessaly: the session record can no longer be written (" << std::strerror(error)
                << "); it ends before the line \"" << line << "\"\n";
      return;
    }
    done += static_cast<std::size_t>(n);
  }
}

void SessionRecorder::mirror_held() {
  if (g_crash_fd != fd_) return;
  std::string all;
  for (const Held& h : held_) {
    for (const std::string& answer : h.answers) all += answer + '\n';
    all += h.line + '\n';
  }
  if (typing_) all += line_of(make_action(ActionKind::Set, typed_field_, typed_text_)) + '\n';
  g_crash_copy_length = 0;
  std::size_t n = all.size();
  if (n > kCrashCopySize) n = all.rfind('\n', kCrashCopySize - 1) + 1;  // whole lines only
  std::memcpy(g_crash_copy, all.data(), n);
  g_crash_copy_length = n;
}

void SessionRecorder::write_held_lines_on_crash() {
  g_crash_fd = fd_;
  for (int signal_number : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTERM, SIGHUP, SIGINT})
    std::signal(signal_number, write_held_and_die);
  mirror_held();
}

}  // namespace actions
