#include "platform/batch/progress.h"

#include <charconv>
#include <cmath>
#include <ostream>

#include "runtime/convert/integer_text.h"

namespace batch {
namespace {

std::string one_decimal(double v) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1);
  return std::string(buf, r.ptr);
}

std::string clock_text(double seconds) {
  const auto s = static_cast<std::int64_t>(std::llround(seconds));
  return rt::decimal_text(s / 3600) + ":" + rt::zero_padded(s / 60 % 60, 2) + ":" +
         rt::zero_padded(s % 60, 2);
}

}  // namespace

std::string progress_text(std::size_t done, std::size_t total, std::size_t failed, double seconds) {
  std::string text = rt::decimal_text(static_cast<std::int64_t>(done)) + "/" +
                     rt::decimal_text(static_cast<std::int64_t>(total)) + " spectra";
  if (failed > 0) text += ", " + rt::decimal_text(static_cast<std::int64_t>(failed)) + " failed";
  if (done > 0 && seconds > 0) {
    const double rate = static_cast<double>(done) / seconds;
    text += ", " + one_decimal(rate) + " spectra/s, " +
            clock_text(static_cast<double>(total - done) / rate) + " left";
  }
  return text;
}

Progress::Progress(std::ostream& terminal, bool enabled, std::size_t total)
    : terminal_(terminal), enabled_(enabled), total_(total), start_(Clock::now()) {}

void Progress::spectrum_done(bool ok) {
  ++done_;
  if (!ok) ++failed_;
  if (!enabled_) return;
  const auto now = Clock::now();
  if (drawn_ && done_ < total_ && now - last_draw_ < std::chrono::milliseconds(100)) return;
  last_draw_ = now;
  draw();
}

void Progress::draw() {
  const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  std::string text = progress_text(done_, total_, failed_, seconds);
  const std::size_t width = text.size();
  // A shorter line than the last one must blank the rest.
  if (width < last_width_) text.append(last_width_ - width, ' ');
  last_width_ = width;
  terminal_ << '\r' << text << std::flush;
  drawn_ = true;
}

void Progress::finish() {
  if (enabled_ && drawn_) terminal_ << '\n' << std::flush;
}

}  // namespace batch
