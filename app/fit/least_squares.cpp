#include "app/fit/least_squares.h"

#include <ceres/ceres.h>

#include <cmath>

namespace app {
namespace {

// All free values in one parameter block; analytic slopes from the model.
class SpectrumCost final : public ceres::CostFunction {
 public:
  explicit SpectrumCost(const PeakModel& model) : model_(model) {
    set_num_residuals(static_cast<int>(model.point_count()));
    mutable_parameter_block_sizes()->push_back(model.free_count());
  }

  bool Evaluate(double const* const* parameters, double* residuals,
                double** jacobians) const override {
    model_.evaluate(parameters[0], residuals, jacobians ? jacobians[0] : nullptr);
    const std::size_t n = model_.point_count();
    for (std::size_t i = 0; i < n; ++i)
      if (!std::isfinite(residuals[i])) return false;  // the solver then shrinks its step
    return true;
  }

 private:
  const PeakModel& model_;
};

class BetweenIterations final : public ceres::IterationCallback {
 public:
  explicit BetweenIterations(const std::function<bool()>& go_on) : go_on_(go_on) {}
  ceres::CallbackReturnType operator()(const ceres::IterationSummary&) override {
    if (!go_on_ || go_on_()) return ceres::SOLVER_CONTINUE;
    aborted_ = true;
    return ceres::SOLVER_ABORT;
  }
  bool aborted() const { return aborted_; }

 private:
  const std::function<bool()>& go_on_;
  bool aborted_ = false;
};

}  // namespace

SolveOutcome solve_least_squares(const PeakModel& model, const std::vector<double>& start,
                                 const std::vector<double>& lower, const std::vector<double>& upper,
                                 const SolveLimits& limits,
                                 const std::function<bool()>& between_iterations) {
  SolveOutcome outcome;
  outcome.values = start;
  double* values = outcome.values.data();

  ceres::Problem::Options problem_options;
  problem_options.cost_function_ownership = ceres::TAKE_OWNERSHIP;
  ceres::Problem problem(problem_options);
  problem.AddResidualBlock(new SpectrumCost(model), nullptr, values);
  for (int j = 0; j < model.free_count(); ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    if (std::isfinite(lower[u])) problem.SetParameterLowerBound(values, j, lower[u]);
    if (std::isfinite(upper[u])) problem.SetParameterUpperBound(values, j, upper[u]);
  }

  BetweenIterations callback(between_iterations);
  ceres::Solver::Options options;
  options.minimizer_type = ceres::TRUST_REGION;
  options.trust_region_strategy_type = ceres::LEVENBERG_MARQUARDT;
  options.linear_solver_type = ceres::DENSE_QR;
  options.max_num_iterations = limits.max_iterations;
  options.max_solver_time_in_seconds = limits.max_seconds;
  // Tight enough that the last digits the report prints are settled.
  options.function_tolerance = 1e-12;
  options.gradient_tolerance = 1e-14;
  options.parameter_tolerance = 1e-12;
  options.num_threads = 1;
  options.logging_type = ceres::SILENT;
  options.minimizer_progress_to_stdout = false;
  options.callbacks.push_back(&callback);

  ceres::Solver::Summary summary;
  ceres::Solve(options, &problem, &summary);
  outcome.iterations = static_cast<int>(summary.iterations.size());
  outcome.message = summary.message;
  if (callback.aborted()) {
    outcome.status = SolveOutcome::Status::Aborted;
  } else if (summary.termination_type == ceres::CONVERGENCE) {
    outcome.status = SolveOutcome::Status::Converged;
  } else if (summary.termination_type == ceres::NO_CONVERGENCE) {
    outcome.status = SolveOutcome::Status::IterationLimit;
  } else {
    outcome.status = SolveOutcome::Status::Failed;
  }
  return outcome;
}

}  // namespace app
