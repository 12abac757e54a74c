#pragma once
// A spectrum longer than the workspace's arrays hold (a survey, up to 100 000 points), kept in
// storage of its own, and the points of whichever spectrum is loaded. The arrays keep their
// 1001 points for "FITTING" and the record load; a raw load of more points lands here, with
// LASTPOINT -1, and the graph, the fit view, the ratios, the exports and Refine read it.

#include <cstdint>
#include <memory>
#include <vector>

namespace app {

// Its points in file order: x and the net value, as the arrays would hold them.
struct LongSpectrum {
  std::vector<float> x, y;
  bool operator==(const LongSpectrum&) const = default;
};

// Held by the workspace and shared by the copies undo keeps, so that a step costs no copy of
// a survey's points; a command that changes the points stores a new spectrum.
class SharedLongSpectrum {
 public:
  const LongSpectrum* get() const { return points_.get(); }
  void set(LongSpectrum s) { points_ = std::make_shared<const LongSpectrum>(std::move(s)); }
  void reset() { points_.reset(); }
  bool operator==(const SharedLongSpectrum& other) const {
    return points_ == other.points_ || (points_ && other.points_ && *points_ == *other.points_);
  }

 private:
  std::shared_ptr<const LongSpectrum> points_;
};

// The most points a raw load takes.
inline constexpr std::int32_t kMaxLongPoints = 100'000;

}  // namespace app
