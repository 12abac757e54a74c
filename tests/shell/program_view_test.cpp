// The program's view is what the batch and other callers outside app/ read instead of the
// workspace: it must say exactly what the fields, the fit and its report hold.
#include "app/shell/program_view.h"

#include <gtest/gtest.h>

#include <string>

#include "app/files/spectrum_load.h"
#include "app/fit/kai2.h"
#include "app/model/fit_report.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/menu_checks.h"
#include "runtime/forms/objects.h"
#include "tests/support/program_fixture.h"

namespace {

using app::Param;

class ProgramView : public testing_support::ProgramTest {
 protected:
  void press(const char* control) {
    rt::post_event(rt::find_control(app::controls().form2, control), rt::EventKind::On);
    rt::run_pending_events();
  }
};

TEST_F(ProgramView, BeforeAnyLoadNothingIsLoadedOrFitted) {
  const app::ProgramView view = app::view_program();
  EXPECT_EQ(view.file, "");
  EXPECT_FALSE(view.points);
  for (const app::PeakRowView& row : view.rows) EXPECT_FALSE(row.present());
  EXPECT_TRUE(view.report_lines.empty());
}

TEST_F(ProgramView, AfterAFitItShowsTheFieldsTheKeptValuesTheFigureAndTheReport) {
  const std::string path = TESSALY_SOURCE_DIR "/examples/two_peaks.bgd";
  app::load_spectrum(path);
  rt::set_text(app::field_of(1, Param::Centre), "285.5");
  rt::set_text(app::field_of(2, Param::Centre), "289");
  press("BUTTON5");  // "Make" of rows 1 and 2
  press("BUTTON6");
  press("BUTTON1");  // FITTING
  rt::post_menu_event("refine");
  rt::run_pending_events();

  const app::ProgramView view = app::view_program();
  EXPECT_EQ(view.file, path);
  ASSERT_TRUE(view.points);
  EXPECT_EQ(*view.points, app::workspace().LASTPOINT + 1);
  for (int k = 1; k <= app::kSlots; ++k) {
    SCOPED_TRACE(k);
    const app::PeakRowView& row = view.rows[static_cast<std::size_t>(k - 1)];
    EXPECT_EQ(row.present(), k <= 2);
    EXPECT_EQ(row.centre, rt::get_text(app::field_of(k, Param::Centre)));
    EXPECT_EQ(row.width, rt::get_text(app::field_of(k, Param::Width)));
    EXPECT_EQ(row.height, rt::get_text(app::field_of(k, Param::Height)));
    EXPECT_EQ(row.share, rt::get_text(app::ratio_field_of(k)));
    for (Param p : {Param::Centre, Param::Width, Param::Height}) {
      const app::KeptValue* kept = app::kept_value(k, p);
      ASSERT_EQ(row.kept[static_cast<std::size_t>(p)].has_value(), kept != nullptr);
      if (kept) {
        EXPECT_EQ(*row.kept[static_cast<std::size_t>(p)], kept->value);
      }
    }
  }
  EXPECT_TRUE(view.rows[0].kept[0]);  // Refine keeps what it found behind the texts
  EXPECT_EQ(view.total, rt::get_text(app::EDIT(42)));
  ASSERT_TRUE(view.figure);
  EXPECT_EQ(*view.figure, app::figure_of_curves(app::read_skip()));
  ASSERT_NE(app::last_fit(), nullptr);
  EXPECT_EQ(view.report_lines, app::fit_report_lines(app::make_fit_report(*app::last_fit())));
  EXPECT_TRUE(app::view_program(app::ViewExtent::WithFigure).report_lines.empty());
  EXPECT_FALSE(app::view_program(app::ViewExtent::Fields).figure);

  // A Skip no sweep would take gives no figure.
  rt::set_text(app::EDIT(43), "0");
  EXPECT_FALSE(app::view_program().figure);
}

// The script driver's print finds what the view holds by the control's own name.
TEST_F(ProgramView, FindsTheTextsItHoldsByTheirControlsNames) {
  const app::ProgramView view = app::view_program(app::ViewExtent::Fields);
  const auto shown = [&](rt::ObjRef ref) {
    const rt::Control& c = rt::control_of(ref);
    return app::text_shown_by(view, c.form().name(), c.name());
  };
  for (int k = 1; k <= app::kComponents; ++k) {
    SCOPED_TRACE(k);
    const app::PeakRowView& row = view.rows[static_cast<std::size_t>(k - 1)];
    EXPECT_EQ(shown(app::field_of(k, Param::Centre)), &row.centre);
    EXPECT_EQ(shown(app::field_of(k, Param::Width)), &row.width);
    EXPECT_EQ(shown(app::field_of(k, Param::Height)), &row.height);
    EXPECT_EQ(shown(app::ratio_field_of(k)), &row.share);
    EXPECT_EQ(shown(app::field_of(k, Param::Alpha)), nullptr);
  }
  EXPECT_EQ(shown(app::EDIT(42)), &view.total);
  EXPECT_EQ(shown(app::EDIT(43)), nullptr);  // the Skip: a field the view does not hold
  EXPECT_EQ(app::text_shown_by(view, "FORM2", "EDIT99"), nullptr);
  EXPECT_EQ(app::text_shown_by(view, "FORM99", "EDIT12"), nullptr);
}

}  // namespace
