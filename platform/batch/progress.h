#pragma once
// The progress line on a terminal: done/total, spectra per second and the time left, redrawn
// in place. Nothing at all when standard error is not a terminal (logs stay clean).

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string>

namespace batch {

// "  37/200 spectra, 1 failed, 412.3 spectra/s, 0:00:01 left" (no line end).
std::string progress_text(std::size_t done, std::size_t total, std::size_t failed, double seconds);

class Progress {
 public:
  // Shows nothing unless `enabled`.
  Progress(std::ostream& terminal, bool enabled, std::size_t total);
  // After each spectrum; redraws at most ten times a second, and always for the last one.
  void spectrum_done(bool ok);
  // Ends the line so that the shell's prompt starts below it.
  void finish();

 private:
  using Clock = std::chrono::steady_clock;
  void draw();

  std::ostream& terminal_;
  bool enabled_;
  std::size_t total_, done_ = 0, failed_ = 0, last_width_ = 0;
  Clock::time_point start_, last_draw_;
  bool drawn_ = false;
};

}  // namespace batch
