#include "app/files/raw_spectrum.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include "app/files/background.h"
#include "app/files/delimited_text_reader.h"
#include "app/files/raw_errors.h"
#include "app/files/spectrum_load.h"
#include "app/files/vamas_reader.h"
#include "app/files/xy_reader.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/long_spectrum.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_text.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/whole_file.h"
#include "runtime/forms/control_values.h"

namespace app {
namespace {}  // namespace

void check_raw_settings(const RawSettings& s) {
  const auto finite = [](std::optional<double> v, const char* what) {
    if (v && !std::isfinite(*v))
      throw raw_error(rt::kInvalidArgument, RawCheck::Setting,
                      std::string(what) + " must be a finite number");
  };
  finite(s.from, "X from");
  finite(s.to, "X to");
  if (s.from && s.to && *s.from == *s.to)
    throw raw_error(rt::kInvalidArgument, RawCheck::Setting,
                    "X from and X to are both " + value_text(*s.from) + ": the window is empty");
  if (s.end_points < 1)
    throw raw_error(
        rt::kInvalidArgument, RawCheck::Setting,
        "at least 1 point must be averaged at each end, not " + rt::decimal_text(s.end_points));
  if (s.low_offset < 0 || s.high_offset < 0)
    throw raw_error(rt::kInvalidArgument, RawCheck::Setting,
                    "an end's offset counts points skipped, 0 or more, not " +
                        rt::decimal_text(std::min(s.low_offset, s.high_offset)));
  if (s.block < 1)
    throw raw_error(rt::kInvalidArgument, RawCheck::Setting,
                    "VAMAS blocks are numbered from 1, not " + rt::decimal_text(s.block));
  finite(s.tougaard_b, "Tougaard B");
  if (s.tougaard_b && *s.tougaard_b < 0)
    throw raw_error(
        rt::kInvalidArgument, RawCheck::Setting,
        "Tougaard B must be 0 or more (empty: fitted), not " + value_text(*s.tougaard_b));
  for (const auto& [v, what] :
       {std::pair{s.kernel.c, "Tougaard C"}, std::pair{s.kernel.c_prime, "Tougaard C'"},
        std::pair{s.kernel.d, "Tougaard D"}})
    finite(v, what);
  finite(s.excitation_energy, "Excitation energy");
  if (s.excitation_energy && !(*s.excitation_energy > 0))
    throw raw_error(
        rt::kInvalidArgument, RawCheck::Setting,
        "the excitation energy must be above 0 eV, not " + value_text(*s.excitation_energy));
}

namespace {

// The window's ends, lower first: they may be typed in either order, as the axis runs high to
// low on the graph.
std::pair<std::optional<double>, std::optional<double>> window_ends(const RawSettings& s) {
  if (s.from && s.to && *s.from > *s.to) return {s.to, s.from};
  return {s.from, s.to};
}

std::string window_text(const RawSettings& s) {
  const auto [from, to] = window_ends(s);
  return "between " + (from ? value_text(*from) : std::string("the lowest x")) + " and " +
         (to ? value_text(*to) : std::string("the highest x"));
}

RawPoints in_window(const RawPoints& all, const RawSettings& s, const std::string& name) {
  const auto [from, to] = window_ends(s);
  if (all.x.empty())
    throw raw_error(rt::kInvalidArgument, RawCheck::EmptyWindow,
                    name + " holds no points in the block read");
  RawPoints kept;
  for (std::size_t i = 0; i < all.x.size(); ++i) {
    const double x = all.x[i];
    if ((from && x < *from) || (to && x > *to)) continue;
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
  if (kept.x.size() > static_cast<std::size_t>(kMaxLongPoints))
    throw raw_error(rt::kSubscriptOutOfRange, RawCheck::TooManyPoints,
                    name + ": " + rt::decimal_text(static_cast<std::int64_t>(kept.x.size())) +
                        " points lie " + window_text(s) + ", but a raw spectrum holds at most " +
                        rt::decimal_text(kMaxLongPoints) +
                        ": choose a narrower window (x from, x to)");
  return kept;
}

// The points as the record load would store them, with its extents: XMIN and YMIN start at
// 10000, XMAX and YMAX at 0, and YMAX compares the unrounded net value.
LoadedSpectrum as_loaded(const RawPoints& p, const std::vector<double>& background,
                         const std::string& name) {
  LoadedSpectrum s;
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    const double y = p.y[i] - background[i];
    if (!(std::fabs(y) < rt::kSingleOverflow))
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

namespace {

// A text file's kinetic energies as binding energies: the excitation energy less each.
void to_binding_energy(RawPoints& p, double excitation, const std::string& name) {
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    const double be = excitation - p.x[i];
    if (be < 0)
      throw raw_error(rt::kInvalidArgument, RawCheck::KineticEnergy,
                      line_place(name, p.line[i]) + ": the kinetic energy " + value_text(p.x[i]) +
                          " eV is above the excitation energy " + value_text(excitation) +
                          " eV: is the file in binding energy (empty the excitation energy), "
                          "or was another source used?");
    p.x[i] = be;
  }
}

double lowest_x(const std::vector<double>& x, const std::vector<std::size_t>& points) {
  double v = HUGE_VAL;
  for (std::size_t i : points) v = std::min(v, x[i]);
  return v;
}
double highest_x(const std::vector<double>& x, const std::vector<std::size_t>& points) {
  double v = -HUGE_VAL;
  for (std::size_t i : points) v = std::max(v, x[i]);
  return v;
}

std::vector<double> tougaard_values(const RawPoints& kept, const RawSettings& settings,
                                    const EndAverages& ends, BackgroundRecord& record,
                                    const std::string& name) {
  const auto [lo, hi] = std::minmax_element(kept.x.begin(), kept.x.end());
  // The denominator over the losses the window can have, 0 to its span: a custom kernel may
  // cross a pole (C' < 0 with D = 0 at T^2 = -C / C'), which is no cross-section.
  const double span = *hi - *lo;
  const TougaardKernel& k = settings.kernel;
  double worst = HUGE_VAL, worst_t = 0;
  const auto note = [&](double t) {
    const double a = k.c + k.c_prime * t * t;
    const double den = a * a + k.d * t * t;
    if (!(den >= worst)) {
      worst = den;
      worst_t = t;
    }
  };
  for (int i = 1; i <= 1000; ++i) note(span * i / 1000);
  if (k.c_prime < 0 && k.c / -k.c_prime >= 0) {
    const double pole = std::sqrt(k.c / -k.c_prime);
    if (pole > 0 && pole <= span) note(pole);
  }
  if (span > 0 && !(worst > 0))
    throw raw_error(rt::kInvalidArgument, RawCheck::TougaardKernel,
                    name + ": the Tougaard kernel with C = " + value_text(k.c) +
                        ", C' = " + value_text(k.c_prime) + ", D = " + value_text(k.d) +
                        " has no finite value at the loss " + value_text(worst_t) +
                        " eV ((C + C' T^2)^2 + D T^2 reaches 0): give D above 0, or another C");
  const auto result = tougaard_background(kept.x, kept.y, settings.kernel, ends.levels.low,
                                          ends.levels.high, ends.high_points, settings.tougaard_b);
  if (!result || !(result->b >= 0))
    throw raw_error(rt::kInvalidArgument, RawCheck::TougaardNotFitted,
                    name + ": no Tougaard background meets the data at the high end " +
                        window_text(settings) + " (the high end's level " +
                        value_text(ends.levels.high) + " is not above what the losses of the " +
                        "intensity before it can reach from the low end's " +
                        value_text(ends.levels.low) +
                        "): choose a window with the peaks' whole loss tail, type B, or use "
                        "the Shirley or linear background");
  record.tougaard_b = result->b;
  record.tougaard_b_fitted = !settings.tougaard_b;
  record.tougaard_sums = result->sums;
  record.tougaard_unit_sums = result->unit_sums;
  record.tougaard_c = k.c;
  record.tougaard_c_prime = k.c_prime;
  record.tougaard_d = k.d;
  return result->values;
}

// Names compared as a user types them: case and blanks do not matter ("c1s" is "C 1s").
std::string name_key(std::string_view name) {
  std::string key;
  for (char c : name)
    if (c != ' ' && c != '\t') key += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return key;
}

// The block or region of the wanted name, read in turn from the first until one matches.
RawPoints named_block(std::string_view bytes, bool vamas, const RawSettings& settings,
                      const std::string& name) {
  const std::string wanted = name_key(settings.block_name);
  if (!vamas) {
    const XyFile file = read_xy_file(bytes, name);
    for (std::size_t i = 0; i < file.regions.size(); ++i)
      if (name_key(file.regions[i].name) == wanted)
        return read_xy(bytes, static_cast<int>(i + 1), settings.excitation_energy, name);
    throw raw_error(rt::kInvalidArgument, RawCheck::NoSuchBlock,
                    name + " has no region named " + quoted(settings.block_name) +
                        " (VAMAS block field); its regions: " + xy_region_list(file));
  }
  std::string names;
  for (int b = 1;; ++b) {
    RawPoints points;
    try {
      points = read_vamas(bytes, b, name);
    } catch (const rt::RuntimeError& e) {
      // Past the last block: none had the name.
      if (b == 1 || e.number() != rt::kInvalidArgument) throw;
      break;
    }
    if (name_key(points.name) == wanted) return points;
    names += (names.empty() ? "" : ", ") + rt::decimal_text(b) + ' ' +
             (points.name.empty() ? std::string("(no name)") : points.name);
  }
  throw raw_error(rt::kInvalidArgument, RawCheck::NoSuchBlock,
                  name + " has no block named " + quoted(settings.block_name) +
                      " (VAMAS block field); its blocks: " + names);
}

std::string block_row(int number, const std::string& block_name, const std::vector<double>& x,
                      const char* axis) {
  std::string row = rt::decimal_text(number) + "  " + (block_name.empty() ? "-" : block_name);
  if (!x.empty()) {
    const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
    row += "  (" + value_text(*lo) + " – " + value_text(*hi) + " eV" + axis + ")";
  }
  return row;
}

// The rows of the file's blocks or regions, in binding energy where it can be had. A block
// that cannot be read ends the list: the load itself says what is wrong with the one asked for.
std::vector<std::string> block_rows(std::string_view bytes, bool vamas, const RawSettings& settings,
                                    const std::string& name) {
  std::vector<std::string> rows;
  try {
    if (vamas) {
      for (int b = 1; b <= 1000; ++b) {  // each block is read from the start of the file
        const RawPoints points = read_vamas(bytes, b, name);
        rows.push_back(block_row(b, points.name, points.x, ""));
      }
    } else {
      const XyFile file = read_xy_file(bytes, name);
      for (std::size_t i = 0; i < file.regions.size(); ++i) {
        const XyRegion& r = file.regions[i];
        const int number = static_cast<int>(i + 1);
        // A kinetic-energy region without its excitation energy shows its range as written.
        const bool converts = !file.kinetic || r.excitation || settings.excitation_energy;
        std::vector<double> x = r.points.x;
        if (converts && !x.empty()) x = read_xy(bytes, number, settings.excitation_energy, name).x;
        rows.push_back(block_row(number, r.name, x, converts ? "" : " KE"));
      }
    }
  } catch (const rt::RuntimeError&) {
    // Past the last block, or one the reader refuses.
  }
  return rows;
}

}  // namespace

RawLoadSettings raw_load_settings(const RawSettings& s) {
  return {.from = s.from,
          .to = s.to,
          .end_points = s.end_points,
          .shirley = s.shirley,
          .block = s.block,
          .block_name = s.block_name,
          .tougaard = s.tougaard,
          .tougaard_b = s.tougaard_b,
          .tougaard_c = s.kernel.c,
          .tougaard_c_prime = s.kernel.c_prime,
          .tougaard_d = s.kernel.d,
          .low_offset = s.low_offset,
          .high_offset = s.high_offset,
          .excitation_energy = s.excitation_energy};
}

RawSettings raw_settings_of(const RawLoadSettings& load) {
  RawSettings s;
  s.from = load.from;
  s.to = load.to;
  s.end_points = load.end_points;
  s.shirley = load.shirley;
  s.block = load.block;
  s.block_name = load.block_name;
  s.tougaard = load.tougaard;
  s.tougaard_b = load.tougaard_b;
  s.kernel = {load.tougaard_c, load.tougaard_c_prime, load.tougaard_d};
  s.low_offset = load.low_offset;
  s.high_offset = load.high_offset;
  s.excitation_energy = load.excitation_energy;
  return s;
}

RawSpectrum read_raw(const std::string& path, const RawSettings& settings) {
  check_raw_settings(settings);
  const std::string name = display_name(path);
  const auto bytes = rt::read_whole_file(path, kMaxRawFileBytes);
  if (!bytes)
    throw raw_error(rt::kBufferOverflow, RawCheck::FileTooLarge,
                    name + " is larger than " +
                        rt::decimal_text(static_cast<std::int64_t>(kMaxRawFileBytes >> 20)) +
                        " MB: not a spectrum file");
  const bool vamas = is_vamas(*bytes), xy = !vamas && is_xy_export(*bytes);
  RawPoints all = !settings.block_name.empty() && (vamas || xy)
                      ? named_block(*bytes, vamas, settings, name)
                  : vamas ? read_vamas(*bytes, settings.block, name)
                  : xy    ? read_xy(*bytes, settings.block, settings.excitation_energy, name)
                          : read_delimited_text(*bytes, name);
  BackgroundRecord record;
  // VAMAS and .xy files say their own energy axis; a plain text file is converted on request.
  if (!vamas && !xy && settings.excitation_energy) {
    to_binding_energy(all, *settings.excitation_energy, name);
    record.excitation_energy = *settings.excitation_energy;
  }
  const RawPoints kept = in_window(all, settings, name);

  const auto ends = end_averages(kept.x, kept.y,
                                 {settings.end_points, settings.low_offset, settings.high_offset});
  if (!ends)
    throw raw_error(rt::kInvalidArgument, RawCheck::EndsTooShort,
                    name + ": " + rt::decimal_text(static_cast<std::int64_t>(kept.x.size())) +
                        " points lie " + window_text(settings) + ", too few to skip " +
                        rt::decimal_text(std::max(settings.low_offset, settings.high_offset)) +
                        " and average " + rt::decimal_text(settings.end_points) +
                        " at an end: lower the offsets or the points at each end");
  record.end_points = static_cast<int>(ends->low_points.size());
  record.low_offset = settings.low_offset;
  record.high_offset = settings.high_offset;
  record.low_from = lowest_x(kept.x, ends->low_points);
  record.low_to = highest_x(kept.x, ends->low_points);
  record.high_from = lowest_x(kept.x, ends->high_points);
  record.high_to = highest_x(kept.x, ends->high_points);
  record.low_level = ends->levels.low;
  record.high_level = ends->levels.high;

  RawSpectrum raw;
  if (settings.tougaard) {
    record.method = "tougaard";
    const auto values = tougaard_values(kept, settings, *ends, record, name);
    raw.spectrum = as_loaded(kept, values, name);
  } else if (!settings.shirley) {
    record.method = "linear";
    raw.spectrum = as_loaded(kept, linear_background(kept.x, ends->levels), name);
  } else {
    record.method = "shirley";
    const ShirleyBackground shirley = shirley_iterated(kept.x, kept.y, ends->levels);
    // An iterate that has not settled is no background: fitting the net it leaves would give
    // areas of nothing measured.
    if (!shirley.converged)
      throw raw_error(rt::kInvalidArgument, RawCheck::BackgroundNotConverged,
                      name + ": the Shirley background does not converge " + window_text(settings) +
                          " (no steady background after " + rt::decimal_text(shirley.iterations) +
                          " iterations): choose a narrower window (x from, x to) around the "
                          "peaks, or the linear background");
    raw.spectrum = as_loaded(kept, shirley.values, name);
  }
  check_drawable(raw.spectrum, settings, name);
  record.load = raw_load_settings(settings);
  raw.background = record;
  raw.block_name = all.name;
  if (vamas || xy) raw.blocks = block_rows(*bytes, vamas, settings, name);
  return raw;
}

LoadedSpectrum read_raw_spectrum(const std::string& path, const RawSettings& settings) {
  return read_raw(path, settings).spectrum;
}

std::vector<std::string> load_raw_spectrum(const std::string& path, const RawSettings& settings) {
  RawSpectrum raw = read_raw(path, settings);
  store_spectrum(raw.spectrum, path);
  workspace().fit.background = std::move(raw.background);
  // The block's or region's name beside the file's, so the user sees which part is open.
  if (!raw.block_name.empty()) rt::set_text(EDIT(1), display_name(path) + " " + raw.block_name);
  // An instrument's raw intensities are counts.
  set_weight_counts(true);
  return std::move(raw.blocks);
}

}  // namespace app
