// The engine's shortcuts where they border on run-time errors and on memory: skew divisors at
// or next to 0, a figure too large for a single, and a Skip that compares very many points.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

#include "app/fit/fitting.h"
#include "app/fit/kai2.h"
#include "app/fit/sweep_engine.h"
#include "tests/fit/fit_fixture.h"

namespace {

using app::Param;
using fit_testing::PeakRow;

// The text that VAL reads back as exactly this double ("D" keeps it double).
std::string exact_text(double v) {
  char buffer[64];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 16).ptr;
  std::string text(buffer, end);
  text[text.find('e')] = 'D';
  return text;
}

struct Result {
  int error = 0;
  std::uint32_t location = 0;
  std::string module;
  unsigned line = 0;
  std::uint32_t bits = 0;
  bool operator==(const Result&) const = default;
};

template <class Figure>
Result result_of(Figure&& figure) {
  Result r;
  try {
    const float f = figure();
    std::memcpy(&r.bits, &f, sizeof f);
  } catch (const rt::RuntimeError& e) {
    r.error = e.number();
    r.location = e.location();
    r.module = e.module();
    r.line = e.line();
  }
  return r;
}

class SweepEngineEdges : public testing_support::ProgramTest {};

// Where 1 + a*d/w is 0 at a compared point both raise error 11; a few ulps beside 0 both give
// the same figure. The last case puts the zero among the subnormal singles, where rounding
// x - c to single moves d by a whole subnormal step.
TEST_F(SweepEngineEdges, SkewDivisorsAtAndNextToZero) {
  struct Case {
    const char* what;
    float x;
    double centre, width;
    int error;
  } cases[] = {
      {"divisor exactly 0", 1.0f, 0.0, 1.0, 11},
      {"divisor 3 ulps of 1 above 0", 1.0f, 0.0, 1 + 0x3p-52, 0},
      {"divisor 1 ulp of 1 below 0", 1.0f, 0.0, 1 - 0x1p-53, 0},
      {"d rounded to the subnormal single -w/a", 0x1p-110f, 0x1p-110 - 0x3p-149 - 0x1p-151,
       0x3p-149, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fit_testing::load_points({c.x, 2.0f, 3.0f}, {5, 1, 0.5f});
    rt::set_text(app::EDIT(43), "1");
    fit_testing::set_row(1, PeakRow{exact_text(c.centre), exact_text(c.width), "100", "-1", true});
    const Result kai2 = result_of([] { return app::KAI2(); });
    EXPECT_EQ(kai2.error, c.error);
    app::SweepEngine engine;
    EXPECT_EQ(result_of([&] { return engine.figure(1, Param::Height, 100); }), kai2);
  }
}

// A figure beyond the single range is KAI2's error 6, raised at KAI2's own place: the report
// and the log then read the same whichever path met it.
TEST_F(SweepEngineEdges, AnOverflowingFigureIsKai2sError) {
  fit_testing::load_points({290, 289, 288}, {3e38f, 1, 1});
  rt::set_text(app::EDIT(43), "1");
  fit_testing::set_row(1, PeakRow{"289", "1", "100", ""});
  const Result kai2 = result_of([] { return app::KAI2(); });
  ASSERT_EQ(kai2.error, 6);
  app::SweepEngine engine;
  EXPECT_EQ(result_of([&] { return engine.figure(1, Param::Height, 100); }), kai2);
  EXPECT_EQ(result_of([] {
              app::fitting_sweep();
              return 0.0f;
            }),
            kai2);
}

// A Skip of 0.05 compares 20001 points: a centre scan's 101 trials side by side would hold
// 16 MB of terms; in tiles they stay within a few MB, with the same figures. A Skip of 0.02
// (50001 points) sums one trial at a time.
TEST_F(SweepEngineEdges, ManyComparedPointsKeepTheScanSmall) {
  std::vector<float> x, y;
  for (int i = 0; i <= 1000; ++i) {
    x.push_back(300 - 0.02f * static_cast<float>(i));
    y.push_back(500 * std::exp(-(x.back() - 290) * (x.back() - 290)));
  }
  fit_testing::load_points(x, y);
  fit_testing::set_row(1, PeakRow{"290.2", "1.5", "400", ""});
  std::vector<double> centres;
  for (int i = 0; i <= 100; ++i) centres.push_back(289.7 + 0.01 * i);

  for (const char* skip : {"0.05", "0.02"}) {
    SCOPED_TRACE(skip);
    rt::set_text(app::EDIT(43), skip);
    app::SweepEngine engine;
    const std::vector<std::optional<float>> side_by_side =
        engine.figures(1, Param::Centre, centres);
    EXPECT_LE(engine.side_by_side_bytes(), std::size_t{4} << 20);
    for (std::size_t i : {std::size_t{0}, std::size_t{37}, std::size_t{100}}) {
      ASSERT_TRUE(side_by_side[i]);
      EXPECT_EQ(*side_by_side[i], engine.figure(1, Param::Centre, centres[i]));
    }
  }
}

}  // namespace
