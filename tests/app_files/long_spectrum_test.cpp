// Raw spectra longer than the workspace's arrays (a survey): they open into storage of their
// own, and the graph, the ratios, the exports, "Make", "Collect" and Refine work on every point;
// "FITTING", which the arrays bound, refuses them and changes nothing.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/commands/file_commands.h"
#include "app/commands/fit_commands.h"
#include "app/commands/peak_table_commands.h"
#include "app/files/raw_spectrum.h"
#include "app/files/result_export.h"
#include "app/files/spectrum_load.h"
#include "app/graph/drawgraph.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/spectrum_points.h"
#include "app/workspace/workspace.h"
#include "files_fixture.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/objects.h"
#include "runtime/picture/picture.h"

namespace files_test {
namespace {

// x from points - 1 down to 0 eV, as instruments write a survey: a line from 1000 to 3000
// counts with one peak of 5000 at 285 eV (width parameter 2).
std::string survey(int points) {
  std::string text = "Binding Energy,Counts\n";
  for (int i = 0; i < points; ++i) {
    const double x = points - 1 - i;
    const double d = (x - 285) / 2;
    const double y = 1000 + 2000 * x / (points - 1) + 5000 / (1 + d * d) * std::exp(-d * d);
    text += std::to_string(static_cast<int>(x)) + "," + std::to_string(std::lround(y)) + "\n";
  }
  return text;
}

class LongSpectrum : public FilesTest {
 protected:
  int load_survey(int points) {
    write_bytes("survey.csv", survey(points));
    app::RawSettings s;
    s.shirley = false;
    return run([&] {
      app::load_raw_spectrum(path("survey.csv"), s);
      app::DRAWGRAPH();
    });
  }
  void set_peak(const char* centre, const char* width, const char* height) {
    rt::set_text(app::EDIT(12), centre);
    rt::set_text(app::EDIT(18), width);
    rt::set_text(app::EDIT(24), height);
  }
};

TEST_F(LongSpectrum, OpensBesideTheArraysUpToItsLimit) {
  ASSERT_EQ(load_survey(1400), 0);
  const app::Workspace& w = app::workspace();
  EXPECT_EQ(w.LASTPOINT, -1);  // the arrays hold none of it
  ASSERT_NE(app::long_spectrum(), nullptr);
  EXPECT_EQ(app::point_count(), 1400);
  EXPECT_EQ(app::point_x(0), 1399);
  EXPECT_EQ(app::point_x(1399), 0);
  EXPECT_EQ(w.fit.spectrum.measured.size(), 1400u);
  EXPECT_EQ(w.DATAXMIN, 0);
  EXPECT_EQ(w.DATAXMAX, 1399);
  EXPECT_EQ(rt::get_text(app::EDIT(1)), "survey.csv");
  // The net values are the counts less the line through the ends' averages.
  EXPECT_NEAR(app::point_y(1399 - 285), 5000, 40);
  EXPECT_NEAR(app::point_y(0), 0, 40);

  // 100 000 points load; one more is refused, and the survey stays.
  ASSERT_EQ(load_survey(100000), 0);
  EXPECT_EQ(app::point_count(), 100000);
  ASSERT_EQ(load_survey(1400), 0);
  const ProgramState before = program_state();
  EXPECT_EQ(load_survey(100001), 9);
  EXPECT_SAME_STATE(before, program_state());

  // A record load puts the arrays back in charge.
  write_bytes("r.bgd", "1,2,1\r\n2,5,1\r\n3,2,1\r\n");
  ASSERT_EQ(run([&] { app::load_spectrum(path("r.bgd")); }), 0);
  EXPECT_EQ(app::long_spectrum(), nullptr);
  EXPECT_EQ(w.LASTPOINT, 2);
  EXPECT_EQ(app::point_count(), 3);
}

TEST_F(LongSpectrum, FittingRefusesItAndChangesNothing) {
  ASSERT_EQ(load_survey(1400), 0);
  set_peak("285", "2", "4000");
  ASSERT_EQ(run([] { app::DRAWGRAPH(); }), 0);
  const ProgramState before = program_state();
  const rt::Raster graph = rt::picture_of(app::PICTURE(1)).raster();
  EXPECT_EQ(run([] { app::BUTTON1_ON(); }), 9);
  EXPECT_SAME_STATE(before, program_state());
  EXPECT_TRUE(rt::picture_of(app::PICTURE(1)).raster() == graph);
}

TEST_F(LongSpectrum, RefineRatiosAndExportsUseEveryPoint) {
  ASSERT_EQ(load_survey(1400), 0);
  set_peak("284", "2.5", "3000");
  ASSERT_EQ(run([] { app::REFINE_ON(); }), 0);
  EXPECT_NEAR(rt::val(rt::get_text(app::EDIT(12))), 285, 0.05);
  // The survey's peak is no Gaussian-Lorentzian product: its fitted height is near its top.
  const double height = rt::val(rt::get_text(app::EDIT(24)));
  EXPECT_NEAR(height, 5000, 500);
  EXPECT_EQ(rt::get_text(app::EDIT(36)), "100");

  // The curves' export has a line per point: x, y, then the first peak's curve.
  const std::vector<std::string> lines = app::result_lines();
  ASSERT_EQ(lines.size(), 1400u);
  const std::string& top = lines[1399 - 285];
  EXPECT_EQ(top.rfind(" 285,", 0), 0u) << top;
  const std::size_t third = top.find(',', top.find(',') + 1);
  EXPECT_NEAR(rt::val(top.substr(third + 1)), height, 5) << top;
}

TEST_F(LongSpectrum, MakeTakesTheHeightAndCollectShiftsEveryPoint) {
  ASSERT_EQ(load_survey(1400), 0);
  rt::set_text(app::EDIT(9), "284.5");
  ASSERT_EQ(run([] { app::BUTTON5_ON(); }), 0);
  // The last point in file order above 284.5 is x = 285.
  EXPECT_EQ(rt::val(rt::get_text(app::EDIT(24))), std::floor(app::point_y(1114)));

  rt::set_text(app::EDIT(11), "1.5");
  answer(rt::kNo);
  ASSERT_EQ(run([] { app::BUTTON4_ON(); }), 0);
  EXPECT_EQ(app::point_x(0), 1400.5f);
  EXPECT_EQ(app::point_x(1399), 1.5f);
}

}  // namespace
}  // namespace files_test
