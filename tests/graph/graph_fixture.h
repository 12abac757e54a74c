#pragma once
// A started program with a spectrum in the workspace, and ways to look at the graph picture.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "../support/program_fixture.h"
#include "app/graph/drawgraph.h"
#include "app/graph/plot_mapping.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/objects.h"
#include "runtime/picture/picture_ops.h"

namespace graph_testing {

class GraphTest : public testing_support::ProgramTest {
 protected:
  // n points from x0 to x1 with y = f(x), stored as loading stores them (its extents start at
  // XMAX 0, XMIN 10000, YMIN 10000, YMAX 0).
  void load(float x0, float x1, int n, const std::function<double(double)>& f) {
    app::Workspace& w = app::workspace();
    float xmin = 10000, xmax = 0, ymin = 10000;
    double ymax = 0;
    for (int i = 0; i < n; ++i) {
      const float x =
          n == 1 ? x0 : static_cast<float>(x0 + (static_cast<double>(x1) - x0) * i / (n - 1));
      const float y = static_cast<float>(f(x));
      w.XDATA.at(i) = x;
      w.YDATA.at(i) = y;
      if (x > xmax) xmax = x;
      if (x < xmin) xmin = x;
      if (y > ymax) ymax = y;
      if (y < ymin) ymin = y;
    }
    w.LASTPOINT = static_cast<std::int16_t>(n - 1);
    w.XMIN = w.DATAXMIN = xmin;
    w.XMAX = w.DATAXMAX = xmax;
    w.YMIN = w.DATAYMIN = ymin;
    w.YMAX = w.DATAYMAX = ymax;
  }

  static void set(int edit, const std::string& text) { rt::set_text(app::EDIT(edit), text); }
  static std::string text(int edit) { return rt::get_text(app::EDIT(edit)); }
  static void tick(int check, int state = 1) { rt::set_check(app::CHECK(check), state); }
  // Slot k's centre, height and width.
  static void peak(int k, const std::string& centre, const std::string& height,
                   const std::string& width) {
    set(11 + k, centre);
    set(23 + k, height);
    set(17 + k, width);
  }
  static void user_x(const std::string& left, const std::string& right) {
    tick(1);
    set(3, left);
    set(4, right);
  }
  static void user_y(const std::string& bottom, const std::string& top) {
    tick(2);
    set(6, bottom);
    set(7, top);
  }

  // The pixel row of a y value in the last draw's range.
  static int row_of_value(double y) {
    return static_cast<int>(std::lround(app::py(app::workspace(), y)));
  }
  // Slots 1 and 2 at 288 and 292, width 2, height 500, drawn: at 290 (point 100 of a spectrum
  // in tenths from 280) both are equal and their sum is twice that. Returns the sum's row there.
  static int draw_two_overlapping_peaks() {
    peak(1, "288", "500", "2");
    peak(2, "292", "500", "2");
    app::DRAWGRAPH();
    return row_of_value(app::workspace().SUMCURVE.at(100));
  }

  static rt::Colour pixel(double x, double y) { return rt::picture_pixel(app::PICTURE(1), x, y); }
  // How many pixels of the picture have colour c.
  static int count(rt::Colour c) {
    int n = 0;
    for (int y = 0; y < 648; ++y)
      for (int x = 0; x < 664; ++x) n += pixel(x, y) == c;
    return n;
  }
  // The rows of column x that have colour c, top first.
  static std::vector<int> rows_of(int x, rt::Colour c) {
    std::vector<int> rows;
    for (int y = 0; y < 648; ++y)
      if (pixel(x, y) == c) rows.push_back(y);
    return rows;
  }

  // A user's action, through the event queue as the platform delivers it.
  static void press_button(const std::string& form, const std::string& button) {
    rt::Control* c = rt::find_live_form(form)->control(button);
    rt::post_event(c->ref(), rt::EventKind::On);
    rt::run_pending_events();
  }
  static void mouse(rt::EventKind kind, float x, float y) {
    rt::post_event(app::PICTURE(1), kind, rt::MouseData{x, y, 1, 0});
    rt::run_pending_events();
  }
  static void drag(float x0, float y0, float x1, float y1) {
    mouse(rt::EventKind::MouseDown, x0, y0);
    mouse(rt::EventKind::MouseMove, x1, y1);
    mouse(rt::EventKind::MouseUp, x1, y1);
  }
};

}  // namespace graph_testing
