#pragma once
// The fit as spectroscopists look at it: the measured values as points, the background under
// them, each component standing on the background, the envelope (background + sum of the
// components) over the data, and the residual in a strip of its own below. Binding energy
// falls to the right, as on the main graph. The view is one list of drawing steps, drawn
// into the "Fit view" window's picture and written as SVG or PNG figures.

#include <string>
#include <vector>

#include "runtime/picture/drawing.h"

namespace app {

struct FitViewComponent {
  int slot = 1;           // 1 to 6: its colour
  std::vector<double> y;  // the component alone, per point (without the background)
};

// What the view shows, per point in the spectrum's order.
struct FitViewData {
  std::vector<double> x, measured, background;
  std::vector<double> sum;  // the sum of the components; empty when none is present
  std::vector<FitViewComponent> components;
  bool counting_weights = false;  // the residual in counting sigmas, sqrt(max(measured, 1))
};

// Where the parts of the view lie, in the picture's pixels.
struct FitViewLayout {
  rt::ClipRect plot, strip;
  double x_left = 0, x_right = 0;  // x at the left and right edge (left > right)
  double y_low = 0, y_high = 0;    // intensity at the bottom and top edge of the plot
  double r_half = 1;               // the strip runs from -r_half (bottom) to +r_half (top)
  double px(double x) const;
  double py(double y) const;
  double pr(double r) const;
};

struct FitView {
  rt::Drawing drawing;
  FitViewLayout layout;
  // One line: what the view shows, for a reader and for scripts.
  std::string state;
  std::vector<double> residual;  // per point, as drawn in the strip
};

inline constexpr int kFitViewWidth = 720;
inline constexpr int kFitViewHeight = 480;

// The view of `data` on a picture of width x height pixels. Points that are not numbers are
// left out; any input gives a view, none raises.
FitView build_fit_view(const FitViewData& data, int width = kFitViewWidth,
                       int height = kFitViewHeight);

// The view's data from the workspace: the current spectrum's points, measured values and
// background, and the model curves of the last redraw. Empty x when no spectrum is loaded.
FitViewData current_fit_view_data();

// The drawing steps of the view in the "no spectrum" state.
FitView empty_fit_view(int width = kFitViewWidth, int height = kFitViewHeight);

// The view of the workspace as it stands.
FitView current_fit_view();

}  // namespace app
