#pragma once
// Everything the running program knows besides the peak table: the spectrum, the model
// curves, the fit setting and the graph's geometry and ranges. The peak table itself lives
// only in the fields of the peak-setting window (see peak_table.h).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/workspace/bounded_array.h"
#include "app/workspace/fit_state.h"
#include "app/workspace/long_spectrum.h"

namespace app {

struct Workspace {
  // Spectrum. At most 1001 points: YDATA has indices 0 to 1000 although XDATA has 0 to 2000.
  std::int16_t LASTPOINT = 0;  // number of points minus 1; -1 after loading a file without points
  SingleArray<2000> XDATA;
  SingleArray<1000> YDATA;
  // A raw spectrum of more points than these arrays hold; LASTPOINT is then -1.
  SharedLongSpectrum long_spectrum;

  // Model curves, written only by the model computation.
  SingleArray<2000> PEAKCURVE1, PEAKCURVE2, PEAKCURVE3, PEAKCURVE4, PEAKCURVE5;
  SingleArray<1000> PEAKCURVE6;
  SingleArray<2000> SUMCURVE;
  // The curves of the components G to T (slots 7 to 20), 2001 values each once drawn; empty
  // while the component has never been present, so that six slots cost nothing more.
  std::array<std::vector<float>, 14> component_curves;

  // Lorentzian fraction of every peak profile.
  double MIXRATIO = 0;

  // Graph geometry in pixels of the graph picture.
  float PICWIDTH = 0, PICHEIGHT = 0, PLOTLEFT = 0, PLOTWIDTH = 0, PLOTHEIGHT = 0;
  std::int16_t PLOTTOP = 0;

  // Displayed ranges and the extent of the loaded data.
  float XMIN = 0, XMAX = 0, YMIN = 0;
  double YMAX = 0;
  float DATAXMIN = 0, DATAXMAX = 0, DATAYMIN = 0;
  double DATAYMAX = 0;
  std::string FILEPATH;

  // Mouse editing on the graph: what the current press grabbed and where it started.
  float MOUSEMODE = 0, DOWNX = 0, DOWNY = 0;

  // The full-precision values behind the peak fields, the measured spectrum and the weighting
  // choice (fit_state.h).
  FitState fit;

  // Undo keeps whole workspaces and compares them to tell whether an action changed anything:
  // every member must be comparable (and is then covered without more code).
  bool operator==(const Workspace&) const = default;
};

// The current program's workspace (workspace_part.h).
Workspace& workspace();

// The start values: the geometry of the graph and the Lorentzian fraction, the single 0.3
// widened to double (0.30000001192092896, not 0.3).
void set_start_values(Workspace& w);

// The menu item of Fit > "Weight by counting statistics".
inline constexpr char kWeightCountsItem[] = "weightcounts";
inline constexpr char kActiveBackgroundItem[] = "activebackground";
// Sets the weighting choice and the menu's check mark with it.
void set_weight_counts(bool on);

}  // namespace app
