#pragma once
// The covariance of the free values at a least-squares optimum: s^2 (J^T J)^-1 with
// s^2 = RSS / (n - p), unweighted.

#include <vector>

#include "app/model/peak_model.h"

namespace app {

// p x p, row-major. A value the data do not determine (its column of J is 0, as for the centre
// of a peak of height 0, or J^T J is singular) has an infinite variance and no covariances
// (NaN) with the others.
std::vector<double> free_value_covariance(const PeakModel& model, const std::vector<double>& values,
                                          double s2);

}  // namespace app
