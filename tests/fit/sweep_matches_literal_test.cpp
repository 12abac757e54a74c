// The shipped sweep against the literal one on random spectra and peak tables: the same texts
// in every field and the same curves, bit for bit, and the same run-time errors.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "app/commands/fit_commands.h"
#include "app/fit/fitting.h"
#include "app/model/calc_fitline.h"
#include "app/workspace/peak_curves.h"
#include "runtime/convert/number_text.h"
#include "runtime/errors/runtime_error.h"
#include "tests/fit/fit_fixture.h"
#include "tests/fit/literal_fit.h"

namespace {

using app::Param;
using fit_testing::PeakRow;

struct Outcome {
  int error = 0;
  std::vector<std::string> texts;
  std::vector<std::uint32_t> curve_bits;  // every curve and the sum at every point, as bits
};

std::uint32_t bits(float v) {
  std::uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

template <class Run>
Outcome outcome_of(Run&& run) {
  Outcome o;
  try {
    run();
    app::CALC_FITLINE();
  } catch (const rt::RuntimeError& e) {
    o.error = e.number();
  }
  o.texts = fit_testing::peak_texts();
  const app::Workspace& w = app::workspace();
  if (o.error == 0) {
    for (int i = 0; i <= w.LASTPOINT; ++i) {
      for (int k = 1; k <= 6; ++k) o.curve_bits.push_back(bits(app::peak_curve(w, k, i)));
      o.curve_bits.push_back(bits(w.SUMCURVE.at(i)));
    }
  }
  return o;
}

class SweepMatchesLiteral : public testing_support::ProgramTest {
 protected:
  // A random spectrum of a few overlapping peaks with noise, and a random peak table near them.
  void random_case(std::mt19937& rng) {
    std::uniform_real_distribution<float> unit(0, 1);
    const int points = 8 + static_cast<int>(rng() % 90);
    const bool falling = rng() % 2;
    std::vector<float> x(points), y(points);
    const float x0 = 280 + 10 * unit(rng), span = 5 + 20 * unit(rng);
    for (int i = 0; i < points; ++i) {
      const float t = static_cast<float>(i) / static_cast<float>(points - 1);
      x[i] = x0 + span * (falling ? 1 - t : t);
      y[i] = 40 * (unit(rng) - 0.3f);
    }
    const int peaks = 1 + static_cast<int>(rng() % 3);
    for (int p = 0; p < peaks; ++p) {
      const float c = x0 + span * unit(rng), wd = 0.5f + 3 * unit(rng), h = 200 + 3000 * unit(rng);
      for (int i = 0; i < points; ++i) y[i] += h / (1 + (x[i] - c) * (x[i] - c) / (wd * wd));
    }
    fit_testing::load_points(x, y);

    const int slots = 1 + static_cast<int>(rng() % 6);
    for (int k = 1; k <= 6; ++k) {
      if (k > slots) {
        fit_testing::set_row(k, PeakRow{});
        continue;
      }
      PeakRow row;
      auto decimal = [&](float v, int places) {
        const float scale = places == 1 ? 10.0f : 1000.0f;
        return rt::trimmed_single_text(std::floor(v * scale) / scale);
      };
      row.centre = decimal(x0 + span * unit(rng), rng() % 2 ? 1 : 3);
      // Now and then a narrow peak, whose tails vanish within the spectrum.
      row.width =
          rng() % 4 ? decimal(0.3f + 3 * unit(rng), 1) : decimal(0.01f + 0.4f * unit(rng), 3);
      row.height = decimal(3000 * unit(rng) - 200, rng() % 2 ? 1 : 3);
      row.asymmetric = rng() % 3 == 0;
      // Skews up to 3 fold the profile over where 1 + a d / w turns negative.
      row.alpha = rng() % 2 ? decimal(unit(rng) - 0.5f, 1) : decimal(6 * (unit(rng) - 0.5f), 3);
      row.centre_lock = rng() % 4 == 0 ? 1 : 0;
      row.width_lock = rng() % 4 == 0 ? 2 : 0;
      row.height_lock = rng() % 4 == 0 ? 1 : 0;
      fit_testing::set_row(k, row);
    }
    static const char* const kSkips[] = {"1", "3", "1.5", "2.5", "7"};
    rt::set_text(app::EDIT(43), kSkips[rng() % 5]);
  }

  void compare(const char* what) {
    const std::vector<std::string> start = fit_testing::peak_texts();
    const Outcome literal_run = outcome_of([] { literal::sweep(); });
    for (int k = 1; k <= 6; ++k)
      for (int p = 0; p < 3; ++p)
        rt::set_text(app::field_of(k, static_cast<Param>(p)), start[(k - 1) * 3 + p]);
    const Outcome shipped = outcome_of([] { app::fitting_sweep(); });
    SCOPED_TRACE(what);
    EXPECT_EQ(shipped.error, literal_run.error);
    EXPECT_EQ(shipped.texts, literal_run.texts);
    EXPECT_TRUE(shipped.curve_bits == literal_run.curve_bits);
  }
};

TEST_F(SweepMatchesLiteral, RandomSpectraAndTables) {
  std::mt19937 rng(20261208);
#ifdef TESSALY_SLOW_TESTS
  constexpr int kCases = 1500;
#else
  constexpr int kCases = 24;
#endif
  for (int n = 0; n < kCases; ++n) {
    random_case(rng);
    compare(("case " + std::to_string(n)).c_str());
  }
}

// Tables that fail part-way: both must stop at the same error with the same fields.
TEST_F(SweepMatchesLiteral, FailingTables) {
  fit_testing::load_points({290, 289, 288, 287, 286, 285, 284}, {10, 50, 300, 900, 300, 50, 10});
  struct Case {
    const char* what;
    PeakRow second;
  } cases[] = {
      {"width 0", {"287", "0", "100", ""}},
      {"empty width", {"287", "", "100", ""}},
      {"skew divisor 0 at a point the figure skips", {"287", "1", "100", "1", true, 0, 0, 0}},
      {"centre beyond the scan's step", {"1E+30", "1", "100", ""}},
      {"text that is no number", {"abc", "x", "y", ""}},
  };
  rt::set_text(app::EDIT(43), "3");
  for (const Case& c : cases) {
    fit_testing::set_row(1, PeakRow{"287.2", "1.5", "800", ""});
    fit_testing::set_row(2, c.second);
    compare(c.what);
  }
}

}  // namespace

#include "app/files/spectrum_reader.h"
#include "runtime/files/file_channels.h"
#include "tests/fit/recording_platform.h"

namespace {

// The bundled example, its two peaks placed as the example script places them, pressed twice
// by both: the same fields, ratios and clipboard after each press.
TEST_F(SweepMatchesLiteral, ExampleSpectrumPressedTwice) {
  fit_testing::RecordingPlatform platform;
  start_session(&platform);
  rt::open_file(TESSALY_SOURCE_DIR "/examples/two_peaks.bgd", rt::OpenMode::Input, 1);
  const app::LoadedSpectrum s = app::read_spectrum_records(1);
  rt::close_file(1);
  fit_testing::load_points(s.x, s.y);
  app::Workspace& w = app::workspace();
  w.XMIN = w.DATAXMIN = s.xmin;
  w.XMAX = w.DATAXMAX = s.xmax;
  w.YMIN = w.DATAYMIN = s.ymin;
  w.YMAX = w.DATAYMAX = s.ymax;

  auto press_twice = [&](void (*press)()) {
    fit_testing::set_row(1, PeakRow{"285.5", "1.5", "1500", ""});
    fit_testing::set_row(2, PeakRow{"289", "1.5", "900", ""});
    std::vector<std::string> seen;
    for (int n = 0; n < 2; ++n) {
      press();
      for (const std::string& t : fit_testing::peak_texts()) seen.push_back(t);
      for (int k = 1; k <= 6; ++k) seen.push_back(rt::get_text(app::ratio_field_of(k)));
      seen.push_back(rt::get_text(app::EDIT(42)));
      seen.push_back(platform.clipboard);
    }
    return seen;
  };
  const std::vector<std::string> literal_run = press_twice(&literal::fitting_press);
  const std::vector<std::string> shipped = press_twice(&app::BUTTON1_ON);
  EXPECT_EQ(shipped, literal_run);
  EXPECT_NE(literal_run[0], "285.5");  // the press did move the centre
  start_session(nullptr);              // the windows go while their platform is there
}

}  // namespace
