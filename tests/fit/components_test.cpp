// The components beyond the six and the "Components" window: G to T join the curves, the
// shares, the clipboard and the export; rows A to F are the peak table's, typed into from either
// window; constraint cells refuse what cannot hold and "FITTING" follows the links; the doublet
// helper fills the partner.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "app/commands/component_commands.h"
#include "app/files/axis_correction.h"
#include "app/files/result_export.h"
#include "app/fit/calc_ratio.h"
#include "app/fit/fitting.h"
#include "app/graph/drawgraph.h"
#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/peak_colours.h"
#include "app/workspace/peak_curves.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "forms/peak_rows.h"
#include "runtime/errors/error_report.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/objects.h"
#include "tests/fit/fit_fixture.h"
#include "tests/fit/recording_platform.h"
#include "tests/refine/refine_fixture.h"
#include "tests/support/run_time_errors.h"

namespace {

using app::Param;
using fit_testing::PeakRow;

// What a user typing into the field does: the text, then the program's reaction to typing.
void type(rt::ObjRef field, const std::string& text) { rt::control_of(field).user_set_text(text); }

std::size_t fields_of(const std::string& line) {
  std::size_t n = 1;
  for (char c : line) n += c == ',';
  return n;
}

class Components : public refine_testing::RefineTest {
 protected:
  void SetUp() override {
    RefineTest::SetUp();
    rt::set_report_sink(
        [this](const std::string&, const std::string& text) { reports_.push_back(text); });
    std::mt19937_64 unused;
    refine_testing::load_spectrum({{285.0, 1.4, 1000}, {287.4, 1.6, 450}, {291.0, 1.5, 300}}, 0,
                                  unused);
  }
  std::vector<std::string> reports_;
};

TEST_F(Components, BeyondSixTheyJoinCurvesSharesClipboardAndExport) {
  fit_testing::set_row(1, PeakRow{"285", "1.4", "1000", ""});
  rt::set_text(app::field_of(7, Param::Centre), "291");
  rt::set_text(app::field_of(7, Param::Width), "1.5");
  rt::set_text(app::field_of(7, Param::Height), "300");
  EXPECT_TRUE(app::Present(7));
  EXPECT_EQ(app::component_count(), 7);
  app::DRAWGRAPH();
  app::CALC_RATIO();
  const app::Workspace& w = app::workspace();
  // The point at 291 eV (index 80 of 301 from 295 down) carries G alone, at its height.
  EXPECT_NEAR(app::peak_curve(w, 7, 80), 300, 1e-3);
  for (int i : {0, 80, 200})
    EXPECT_FLOAT_EQ(w.SUMCURVE.at(i), app::peak_curve(w, 1, i) + app::peak_curve(w, 7, i));
  // G has a colour of its own on the graph: nothing of the six.
  EXPECT_NE(app::component_colour(7), app::peak_colour(1));
  const std::string share = rt::get_text(app::ratio_field_of(7));
  EXPECT_FALSE(share.empty());
  // Six shares, G's, the total.
  EXPECT_EQ(fields_of(platform_.clipboard), 8u) << platform_.clipboard;
  EXPECT_NE(platform_.clipboard.find("," + share + ","), std::string::npos);
  // x, y, the six curves, G's, the sum.
  EXPECT_EQ(fields_of(app::result_lines().front()), 10u);
  // "Collect" moves G with the spectrum, as it moves the six.
  app::shift_peak_centres(0.5f);
  EXPECT_EQ(rt::get_text(app::field_of(7, Param::Centre)), "291.5");
  EXPECT_EQ(rt::get_text(app::field_of(1, Param::Centre)), "285.5");
  // G gone: the clipboard and the export have their six again, and G's share is empty.
  rt::set_text(app::field_of(7, Param::Centre), "");
  app::DRAWGRAPH();
  app::CALC_RATIO();
  EXPECT_EQ(fields_of(platform_.clipboard), 7u);
  EXPECT_EQ(fields_of(app::result_lines().front()), 9u);
  EXPECT_EQ(rt::get_text(app::ratio_field_of(7)), "");
}

TEST_F(Components, RowsOneToSixAreThePeakTablesFromEitherWindow) {
  const forms::ComponentRowNumbers a = forms::component_row(1), b = forms::component_row(2);
  type(app::COMPONENT_EDIT(a.centre), "285.5");
  EXPECT_EQ(rt::get_text(app::EDIT(12)), "285.5");
  type(app::EDIT(19), "1.7");
  EXPECT_EQ(rt::get_text(app::COMPONENT_EDIT(b.width)), "1.7");
  // What the program writes into the peak table reaches the window at the next sync, and a box
  // ticked in the window without an event reaches the table.
  app::SetParameter(2, Param::Height, 450);
  rt::set_check(app::COMPONENT_CHECK(b.asymmetric), 1);
  app::sync_component_rows();
  EXPECT_EQ(rt::get_text(app::COMPONENT_EDIT(b.height)), "450");
  EXPECT_EQ(rt::get_check(app::asymmetric_box_of(2)), 1);
  // Typing in the window replaces a value a fit kept behind the table's field.
  app::KeepParameter(1, Param::Centre, 285.4321, "285.4");
  type(app::COMPONENT_EDIT(a.centre), "285.4");
  EXPECT_EQ(app::kept_value(1, Param::Centre), nullptr);
}

TEST_F(Components, ConstraintCellsRefuseWhatCannotHoldAndKeepTheirText) {
  fit_testing::set_row(1, PeakRow{"285", "1.4", "1000", ""});
  fit_testing::set_row(2, PeakRow{"287.4", "1.6", "450", ""});
  type(app::rule_field_of(2, Param::Centre), "A+2.4");
  EXPECT_EQ(app::constraint_text(2, Param::Centre), "A+2.4");
  EXPECT_TRUE(reports_.empty());
  struct Refused {
    int k;
    Param p;
    const char* text;
    const char* why;
  };
  const Refused cases[] = {
      {2, Param::Centre, "C+1", "component C is absent"},
      {2, Param::Centre, "B+1", "cannot follow itself"},
      {1, Param::Centre, "B-2.4", "cycle"},
      {2, Param::Centre, "width=A*1", "same parameter"},
      {2, Param::Centre, "A+two", "no number"},
  };
  for (const Refused& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string before = app::constraint_text(c.k, c.p);
    reports_.clear();
    type(app::rule_field_of(c.k, c.p), c.text);
    EXPECT_EQ(app::constraint_text(c.k, c.p), before);
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_NE(reports_[0].find(c.why), std::string::npos) << reports_[0];
    EXPECT_EQ(app::set_constraint_text(c.k, c.p, c.text).empty(), false);
  }
  // On the desktop a cell typed key by key is checked when the field is left.
  reports_.clear();
  {
    const app::RuleCheckDeferral one_key;
    type(app::rule_field_of(2, Param::Width), "A");
    type(app::rule_field_of(2, Param::Width), "A*");
  }
  EXPECT_EQ(app::constraint_text(2, Param::Width), "A*");
  EXPECT_TRUE(reports_.empty());
  app::check_deferred_rules();
  EXPECT_EQ(app::constraint_text(2, Param::Width), "");
  EXPECT_EQ(reports_.size(), 1u);
  // Locks: the box of the first six, the "fix" rule beyond.
  app::set_component_locked(2, Param::Height, true);
  EXPECT_EQ(rt::get_check(app::lock_of(2, Param::Height)), 1);
  rt::set_text(app::field_of(8, Param::Centre), "292");
  app::set_component_locked(8, Param::Width, true);
  EXPECT_EQ(app::constraint_text(8, Param::Width), "fix");
  EXPECT_TRUE(app::Locked(8, Param::Width));
  app::set_component_locked(8, Param::Width, false);
  EXPECT_FALSE(app::Locked(8, Param::Width));
  // A chain is no cycle.
  fit_testing::set_row(3, PeakRow{"290", "1.6", "200", ""});
  EXPECT_EQ(app::set_constraint_text(3, Param::Width, "B*1"), "");
  EXPECT_EQ(app::set_constraint_text(2, Param::Width, "A*1"), "");
  EXPECT_NE(app::set_constraint_text(1, Param::Width, "C*1"), "");
}

TEST_F(Components, FittingScansSourcesAndSetsWhatFollowsThem) {
  fit_testing::set_row(1, PeakRow{"285.2", "1.5", "900", ""});
  fit_testing::set_row(2, PeakRow{"287.0", "1.5", "500", ""});
  ASSERT_EQ(app::set_constraint_text(2, Param::Centre, "A+2.4"), "");
  ASSERT_EQ(app::set_constraint_text(2, Param::Width, "A*1"), "");
  app::fit_peaks();
  const double a = std::stod(rt::get_text(app::field_of(1, Param::Centre)));
  const double b = std::stod(rt::get_text(app::field_of(2, Param::Centre)));
  EXPECT_NEAR(b - a, 2.4, 1e-4);
  EXPECT_EQ(rt::get_text(app::field_of(2, Param::Width)),
            rt::get_text(app::field_of(1, Param::Width)));
  // The sweep found the centres it could: A within a step of its truth.
  EXPECT_NEAR(a, 285.0, 0.05);
  // Bounds hold what the sweep may choose.
  ASSERT_EQ(app::set_constraint_text(1, Param::Width, "1.45:1.55"), "");
  app::fit_peaks();
  const double width = std::stod(rt::get_text(app::field_of(1, Param::Width)));
  EXPECT_GE(width, 1.45);
  EXPECT_LE(width, 1.55);
}

TEST_F(Components, AddDoubletFillsThePartnerWithItsLinks) {
  fit_testing::set_row(1, PeakRow{"458.8", "1.2", "1000", ""});
  fit_testing::set_row(2, PeakRow{"457", "1.5", "400", ""});
  rt::set_text(app::COMPONENT_EDIT(forms::kDoubletOf), "a");
  rt::set_text(app::COMPONENT_EDIT(forms::kDoubletLine), "ti 2p");
  app::add_doublet();
  EXPECT_EQ(rt::get_text(app::field_of(3, Param::Centre)), "464.5");
  EXPECT_EQ(rt::get_text(app::field_of(3, Param::Width)), "1.2");
  EXPECT_EQ(rt::get_text(app::field_of(3, Param::Height)), "500.0");
  EXPECT_EQ(app::constraint_text(3, Param::Centre), "A+5.7");
  EXPECT_EQ(app::constraint_text(3, Param::Width), "A*1");
  EXPECT_EQ(app::constraint_text(3, Param::Height), "area=A*0.5");
  EXPECT_EQ(app::component_name(1), "Ti 2p3/2");
  EXPECT_EQ(app::component_name(3), "Ti 2p1/2");
  // A bare orbital with a typed splitting; a named component lends its name.
  app::set_component_name(2, "Ti2O3 3d5/2");
  rt::set_text(app::COMPONENT_EDIT(forms::kDoubletOf), "B");
  rt::set_text(app::COMPONENT_EDIT(forms::kDoubletLine), "3d");
  rt::set_text(app::COMPONENT_EDIT(forms::kDoubletSplitting), "3.1");
  app::add_doublet();
  EXPECT_EQ(app::constraint_text(4, Param::Height), "area=B*0.6666666666666666");
  EXPECT_EQ(app::component_name(4), "Ti2O3 3d3/2");
  // Refused, nothing changed: an unknown line, an absent component, no splitting.
  for (const auto& [of, line, splitting] : {std::tuple{"A", "Xx 9z", ""}, std::tuple{"K", "p", "1"},
                                            std::tuple{"A", "f", ""}, std::tuple{"A", "p", "-1"}}) {
    SCOPED_TRACE(line);
    rt::set_text(app::COMPONENT_EDIT(forms::kDoubletOf), of);
    rt::set_text(app::COMPONENT_EDIT(forms::kDoubletLine), line);
    rt::set_text(app::COMPONENT_EDIT(forms::kDoubletSplitting), splitting);
    expect_error(rt::kInvalidArgument, [] { app::add_doublet(); });
    EXPECT_FALSE(app::Present(5));
  }
}

}  // namespace
