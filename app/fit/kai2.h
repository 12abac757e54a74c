#pragma once

namespace app {

// The "Skip" field (EDIT43) as the fit figure's single-precision point step.
float read_skip();

// Whether a sweep can use this Skip: above 0, and not so small that one figure would compare
// so many times that a sweep would run for minutes (Skip 0.001 on a full spectrum).
bool skip_usable(float skip);

// The fit figure: the model recomputed from the fields (CALC_FITLINE), then the squared
// differences from the spectrum over every Skip-th point, summed in single precision.
float KAI2();

// The second half of the figure alone: the squared differences between the spectrum and the
// sum curve as the last model computation left it (the curves as drawn), over every Skip-th
// point (of a long spectrum, its curves computed afresh).
float figure_of_curves(float skip);

// One term of the figure added to the running sum: sum + (y - model)^2, rounded to single.
float add_squared_difference(float sum, float y, float model);

}  // namespace app
