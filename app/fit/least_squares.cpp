#include "app/fit/least_squares.h"

#include <cmath>

#include "app/fit/solver_module.h"

namespace app {
namespace {

// The peak model's residuals and slopes, as the solver module asks for them.
class ModelProblem final : public SolveProblem {
 public:
  ModelProblem(const PeakModel& model, const std::function<bool()>& go_on)
      : model_(model), go_on_(go_on) {}

  std::size_t residual_count() const override { return model_.point_count(); }
  int value_count() const override { return model_.free_count(); }
  bool evaluate(const double* values, double* residuals, double* jacobian) const override {
    model_.evaluate(values, residuals, jacobian);
    const std::size_t n = model_.point_count();
    for (std::size_t i = 0; i < n; ++i)
      if (!std::isfinite(residuals[i])) return false;  // the solver then shrinks its step
    return true;
  }
  bool go_on() override { return !go_on_ || go_on_(); }

 private:
  const PeakModel& model_;
  const std::function<bool()>& go_on_;
};

}  // namespace

SolveOutcome solve_least_squares(const PeakModel& model, const std::vector<double>& start,
                                 const std::vector<double>& lower, const std::vector<double>& upper,
                                 const SolveLimits& limits,
                                 const std::function<bool()>& between_iterations) {
  SolveOutcome outcome;
  outcome.values = start;
  const LoadedSolver& solver = solver_module();
  if (solver.solve == nullptr) {
    outcome.status = SolveOutcome::Status::Unavailable;
    outcome.message = solver.error;
    return outcome;
  }
  ModelProblem problem(model, between_iterations);
  solver.solve(problem, lower, upper, limits, outcome);
  return outcome;
}

}  // namespace app
