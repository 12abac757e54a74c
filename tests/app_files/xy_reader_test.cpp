// The ".xy" export: its header's energy axis, regions by number with their names, kinetic
// energies made binding with the region's or the typed excitation energy, only a region's
// first curve, and what it refuses.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/commands/file_commands.h"
#include "app/files/raw_spectrum.h"
#include "app/files/xy_reader.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "files_fixture.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/objects.h"

namespace files_test {
namespace {

const std::string kTwoRegions =
    "# Created by:        spectrometer software\r\n"
    "# Energy Axis:       Kinetic Energy\r\n"
    "#\r\n"
    "# Region:            C 1s\r\n"
    "# Excitation Energy: 1486.6\r\n"
    "# Cycle: 0, Curve: 0\r\n"
    "1196.5  100\r\n"
    "1196.6  300\r\n"
    "1196.7  900\r\n"
    "\r\n"
    "# Cycle: 1, Curve: 0\r\n"
    "1196.5  110\r\n"
    "1196.6  310\r\n"
    "1196.7  910\r\n"
    "# Region:            O 1s\r\n"
    "# Cycle: 0, Curve: 0\r\n"
    "955.0  3000\r\n"
    "955.5  3900\r\n"
    "956.0  3400\r\n";

TEST(XyReader, RegionsByNumberInBindingEnergy) {
  EXPECT_TRUE(app::is_xy_export(kTwoRegions));
  EXPECT_FALSE(app::is_xy_export("# a comment\n1 2\n"));
  EXPECT_FALSE(app::is_xy_export("Energy,Counts\n# Region: C 1s\n"));

  const app::XyFile file = app::read_xy_file(kTwoRegions, "s.xy");
  EXPECT_TRUE(file.kinetic);
  ASSERT_EQ(file.regions.size(), 2u);
  EXPECT_EQ(app::xy_region_list(file), "1 C 1s (1196.5 to 1196.7 eV), 2 O 1s (955 to 956 eV)");

  // Region 1 with its own excitation energy; only its first cycle.
  const app::RawPoints c = app::read_xy(kTwoRegions, 1, std::nullopt, "s.xy");
  ASSERT_EQ(c.x.size(), 3u);
  EXPECT_DOUBLE_EQ(c.x[0], 1486.6 - 1196.5);
  EXPECT_EQ(c.y[2], 900);
  EXPECT_EQ(c.line[0], 7);
  EXPECT_EQ(c.name, "C 1s");
  // Region 2 names none: the typed one serves, and without it the region is refused.
  const app::RawPoints o = app::read_xy(kTwoRegions, 2, 1253.6, "s.xy");
  EXPECT_DOUBLE_EQ(o.x[1], 1253.6 - 955.5);
  try {
    app::read_xy(kTwoRegions, 2, std::nullopt, "s.xy");
    ADD_FAILURE() << "read";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), 5);
    EXPECT_NE(e.detail().find("type it in the Excitation energy field"), std::string::npos);
  }
}

TEST(XyReader, RefusesWhatIsNoSpectrum) {
  const struct {
    const char* name;
    std::string bytes;
    int region, error;
    const char* detail;
  } cases[] = {
      {"no such region", kTwoRegions, 3, 5,
       "s.xy has 2 regions, so there is no region 3 (VAMAS block field): 1 C 1s"},
      {"an unknown axis", "# Energy Axis: Photon Energy\n1 2\n", 1, 58,
       "s.xy line 1: the energy axis \"Photon Energy\" is neither"},
      {"a bad row", "# Energy Axis: Binding Energy\n1 2\n1,5 3\n", 1, 58,
       "s.xy line 3: \"1,5 3\" is neither a comment nor two numbers"},
      {"a bad excitation", "# Region: C 1s\n# Excitation Energy: Al\n1 2\n", 1, 58,
       "s.xy line 2: the excitation energy \"Al\""},
      {"no points", "# Energy Axis: Binding Energy\n# Region: C 1s\n", 1, 58,
       "s.xy holds no region with points"},
      {"beyond single", "# Energy Axis: Binding Energy\n1 1e39\n", 1, 6, "s.xy line 2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      app::read_xy(c.bytes, c.region, std::nullopt, "s.xy");
      ADD_FAILURE() << "read";
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), c.error);
      EXPECT_NE(e.detail().find(c.detail), std::string::npos) << e.detail();
    }
  }
}

TEST_F(FilesTest, AnXyRegionLoadsWithItsNameInTarget) {
  write_bytes("scan.xy", kTwoRegions);
  app::RawSettings s;
  s.shirley = false;
  s.end_points = 1;
  ASSERT_EQ(run([&] { app::load_raw_spectrum(path("scan.xy"), s); }), 0);
  EXPECT_EQ(app::workspace().LASTPOINT, 2);
  EXPECT_EQ(rt::get_text(app::EDIT(1)), "scan.xy C 1s");
}

TEST_F(FilesTest, BlocksAndRegionsChosenByName) {
  write_bytes("scan.xy", kTwoRegions);
  app::RawSettings s;
  s.shirley = false;
  s.end_points = 1;
  s.block_name = "o1s";  // as typed: case and blanks do not matter
  s.excitation_energy = 1253.6;
  ASSERT_EQ(run([&] { app::load_raw_spectrum(path("scan.xy"), s); }), 0);
  EXPECT_EQ(rt::get_text(app::EDIT(1)), "scan.xy O 1s");
  EXPECT_EQ(app::workspace().LASTPOINT, 2);

  const std::string vamas =
      std::string(TESSALY_SOURCE_DIR) + "/tests/scenarios/files_raw_vamas/c1s_kinetic.vms";
  s.block_name = "O 1s";
  ASSERT_EQ(run([&] { app::load_raw_spectrum(vamas, s); }), 0);
  EXPECT_EQ(rt::get_text(app::EDIT(1)), "c1s_kinetic.vms O 1s");

  const ProgramState before = program_state();
  s.block_name = "N 1s";
  for (const auto& [file, detail] :
       {std::pair{vamas,
                  "has no block named \"N 1s\" (VAMAS block field); its blocks: 1 C 1s, "
                  "2 O 1s"},
        std::pair{path("scan.xy"),
                  "has no region named \"N 1s\" (VAMAS block field); its "
                  "regions: 1 C 1s"}}) {
    try {
      app::load_raw_spectrum(file, s);
      ADD_FAILURE() << "loaded";
    } catch (const rt::RuntimeError& e) {
      EXPECT_EQ(e.number(), 5);
      EXPECT_NE(e.detail().find(detail), std::string::npos) << e.detail();
    }
    EXPECT_SAME_STATE(before, program_state());
  }
}

TEST_F(FilesTest, TheRawWindowListsTheFilesBlocksAfterALoad) {
  write_bytes("scan.xy", kTwoRegions);
  app::RawSettings s;
  s.shirley = false;
  s.end_points = 1;
  std::vector<std::string> rows;
  // O 1s names no excitation energy: without a typed one its range stays in kinetic energy.
  ASSERT_EQ(run([&] { rows = app::load_raw_spectrum(path("scan.xy"), s); }), 0);
  EXPECT_EQ(rows, (std::vector<std::string>{"1  C 1s  (289.9 – 290.1 eV)",
                                            "2  O 1s  (955 – 956 eV KE)"}));
  s.excitation_energy = 1486.6;
  ASSERT_EQ(run([&] { rows = app::load_raw_spectrum(path("scan.xy"), s); }), 0);
  EXPECT_EQ(rows[1], "2  O 1s  (530.6 – 531.6 eV)");

  const std::string vamas =
      std::string(TESSALY_SOURCE_DIR) + "/tests/scenarios/files_raw_vamas/c1s_kinetic.vms";
  ASSERT_EQ(run([&] { rows = app::load_raw_spectrum(vamas, s); }), 0);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].rfind("1  C 1s  (", 0), 0u) << rows[0];
  EXPECT_EQ(rows[1].rfind("2  O 1s  (", 0), 0u) << rows[1];

  // A plain text file has no blocks.
  write_bytes("plain.csv", "1,1\n2,5\n3,2\n");
  ASSERT_EQ(run([&] { rows = app::load_raw_spectrum(path("plain.csv"), s); }), 0);
  EXPECT_TRUE(rows.empty());

  // "Open..." on the window puts them into its list, one a line.
  app::OPENRAW_ON();
  const rt::ObjRef form = rt::find_live_form("FORM5")->ref();
  const auto control = [&](const char* name) { return rt::find_control(form, name); };
  rt::set_text(control("EDIT3"), "1");
  rt::set_check(control("CHECK1"), 0);
  answer_file(path("scan.xy"));
  ASSERT_TRUE(rt::post_event(control("BUTTON1"), rt::EventKind::On));
  rt::run_pending_events();
  EXPECT_EQ(rt::get_text(control("LIST1")),
            "1  C 1s  (289.9 – 290.1 eV)\n2  O 1s  (955 – 956 eV KE)");
}

}  // namespace
}  // namespace files_test
