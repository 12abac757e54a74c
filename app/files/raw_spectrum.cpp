#include "app/files/raw_spectrum.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "app/files/background.h"
#include "app/files/delimited_text_reader.h"
#include "app/files/raw_errors.h"
#include "app/files/spectrum_load.h"
#include "app/files/vamas_reader.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_text.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/whole_file.h"

namespace app {
namespace {

constexpr double kSingleMax = 3.4028234663852886e38;

}  // namespace

void check_raw_settings(const RawSettings& s) {
  if (s.from && s.to && !(*s.from < *s.to))
    throw raw_error(
        rt::kInvalidArgument, RawCheck::Setting,
        "X from (" + value_text(*s.from) + ") must be less than X to (" + value_text(*s.to) + ")");
  if (s.end_points < 1)
    throw raw_error(
        rt::kInvalidArgument, RawCheck::Setting,
        "at least 1 point must be averaged at each end, not " + rt::decimal_text(s.end_points));
  if (s.block < 1)
    throw raw_error(rt::kInvalidArgument, RawCheck::Setting,
                    "VAMAS blocks are numbered from 1, not " + rt::decimal_text(s.block));
}

namespace {

std::string window_text(const RawSettings& s) {
  return "between " + (s.from ? value_text(*s.from) : std::string("the lowest x")) + " and " +
         (s.to ? value_text(*s.to) : std::string("the highest x"));
}

RawPoints in_window(const RawPoints& all, const RawSettings& s, const std::string& name) {
  if (all.x.empty())
    throw raw_error(rt::kInvalidArgument, RawCheck::EmptyWindow,
                    name + " holds no points in the block read");
  RawPoints kept;
  for (std::size_t i = 0; i < all.x.size(); ++i) {
    const double x = all.x[i];
    if ((s.from && x < *s.from) || (s.to && x > *s.to)) continue;
    kept.x.push_back(x);
    kept.y.push_back(all.y[i]);
    kept.line.push_back(all.line[i]);
  }
  if (kept.x.empty()) {
    const auto [lo, hi] = std::minmax_element(all.x.begin(), all.x.end());
    throw raw_error(rt::kInvalidArgument, RawCheck::EmptyWindow,
                    name + ": no point lies " + window_text(s) + "; the file's x runs from " +
                        value_text(*lo) + " to " + value_text(*hi));
  }
  if (kept.x.size() > static_cast<std::size_t>(kMaxPoints))
    throw raw_error(rt::kSubscriptOutOfRange, RawCheck::TooManyPoints,
                    name + ": " + rt::decimal_text(static_cast<std::int64_t>(kept.x.size())) +
                        " points lie " + window_text(s) + ", but a spectrum holds at most " +
                        rt::decimal_text(kMaxPoints) + ": choose a narrower window (x from, x to)");
  return kept;
}

// The points as the record load would store them, with its extents: XMIN and YMIN start at
// 10000, XMAX and YMAX at 0, and YMAX compares the unrounded net value.
LoadedSpectrum as_loaded(const RawPoints& p, const std::vector<double>& background,
                         const std::string& name) {
  LoadedSpectrum s;
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    const double y = p.y[i] - background[i];
    if (!(std::fabs(y) <= kSingleMax))
      throw raw_error(
          rt::kOverflow, RawCheck::OutOfRange,
          line_place(name, p.line[i]) +
              ": the value less its background lies beyond the range of the program's numbers");
    s.add(rt::to_single(p.x[i]), y, p.y[i]);
  }
  return s;
}

// The graph maps x and y through the ranges of the extents a load stores: a spectrum whose
// extents span nothing would replace the old one only to fail at its first redraw.
void check_drawable(const LoadedSpectrum& s, const RawSettings& settings, const std::string& name) {
  if (!(static_cast<double>(s.xmax) - s.xmin > 0)) {
    throw raw_error(
        rt::kInvalidArgument, RawCheck::Undrawable,
        name + ": " +
            (s.x.size() == 1 ? std::string("only one point lies ") + window_text(settings)
                             : "every point lies at x = " + value_text(s.x.front())) +
            "; the graph needs points at two x values at least");
  }
  if (!(s.ymax - s.ymin > 0))
    throw raw_error(rt::kInvalidArgument, RawCheck::Undrawable,
                    name + ": every value less its background is " + value_text(s.y.front()) +
                        "; the graph needs two different values at least");
}

}  // namespace

LoadedSpectrum read_raw_spectrum(const std::string& path, const RawSettings& settings) {
  check_raw_settings(settings);
  const std::string name = display_name(path);
  const auto bytes = rt::read_whole_file(path, kMaxRawFileBytes);
  if (!bytes)
    throw raw_error(rt::kBufferOverflow, RawCheck::FileTooLarge,
                    name + " is larger than " +
                        rt::decimal_text(static_cast<std::int64_t>(kMaxRawFileBytes >> 20)) +
                        " MB: not a spectrum file");
  const RawPoints all = is_vamas(*bytes) ? read_vamas(*bytes, settings.block, name)
                                         : read_delimited_text(*bytes, name);
  const RawPoints kept = in_window(all, settings, name);
  if (!settings.shirley) {
    LoadedSpectrum loaded =
        as_loaded(kept, linear_background(kept.x, kept.y, settings.end_points), name);
    check_drawable(loaded, settings, name);
    return loaded;
  }
  const ShirleyBackground shirley = shirley_iterated(kept.x, kept.y, settings.end_points);
  // An iterate that has not settled is no background: fitting the net it leaves would give
  // areas of nothing measured.
  if (!shirley.converged)
    throw raw_error(rt::kInvalidArgument, RawCheck::BackgroundNotConverged,
                    name + ": the Shirley background does not converge " + window_text(settings) +
                        " (no steady background after " + rt::decimal_text(shirley.iterations) +
                        " iterations): choose a narrower window (x from, x to) around the peaks, "
                        "or the linear background");
  LoadedSpectrum loaded = as_loaded(kept, shirley.values, name);
  check_drawable(loaded, settings, name);
  return loaded;
}

void load_raw_spectrum(const std::string& path, const RawSettings& settings) {
  store_spectrum(read_raw_spectrum(path, settings), path);
  // An instrument's raw intensities are counts.
  set_weight_counts(true);
}

}  // namespace app
