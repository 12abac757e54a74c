// The solver module: Refine's bounded least squares by Ceres Solver. It is loaded only when
// Refine first runs (app/fit/solver_module.cpp), so Ceres and the algebra libraries it needs
// cost nothing to a start that never refines.

#include <ceres/ceres.h>

#include <cmath>
#include <string_view>
#include <vector>

#include "app/fit/solver_interface.h"

namespace {

// All free values in one parameter block; analytic slopes from the problem.
class SpectrumCost final : public ceres::CostFunction {
 public:
  explicit SpectrumCost(const app::SolveProblem& problem) : problem_(problem) {
    set_num_residuals(static_cast<int>(problem.residual_count()));
    mutable_parameter_block_sizes()->push_back(problem.value_count());
  }

  bool Evaluate(double const* const* parameters, double* residuals,
                double** jacobians) const override {
    return problem_.evaluate(parameters[0], residuals, jacobians ? jacobians[0] : nullptr);
  }

 private:
  const app::SolveProblem& problem_;
};

class BetweenIterations final : public ceres::IterationCallback {
 public:
  explicit BetweenIterations(app::SolveProblem& problem) : problem_(problem) {}
  ceres::CallbackReturnType operator()(const ceres::IterationSummary&) override {
    if (problem_.go_on()) return ceres::SOLVER_CONTINUE;
    aborted_ = true;
    return ceres::SOLVER_ABORT;
  }
  bool aborted() const { return aborted_; }

 private:
  app::SolveProblem& problem_;
  bool aborted_ = false;
};

}  // namespace

// The one symbol the module exports (app::kSolveEntryName).
extern "C" [[gnu::visibility("default")]] void tessaly_solve_least_squares_1(
    app::SolveProblem& problem, const std::vector<double>& lower, const std::vector<double>& upper,
    const app::SolveLimits& limits, app::SolveOutcome& outcome) {
  using Status = app::SolveOutcome::Status;
  double* values = outcome.values.data();

  ceres::Problem::Options problem_options;
  problem_options.cost_function_ownership = ceres::TAKE_OWNERSHIP;
  ceres::Problem solved(problem_options);
  solved.AddResidualBlock(new SpectrumCost(problem), nullptr, values);
  for (int j = 0; j < problem.value_count(); ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    if (std::isfinite(lower[u])) solved.SetParameterLowerBound(values, j, lower[u]);
    if (std::isfinite(upper[u])) solved.SetParameterUpperBound(values, j, upper[u]);
  }

  BetweenIterations callback(problem);
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
  ceres::Solve(options, &solved, &summary);
  outcome.iterations = static_cast<int>(summary.iterations.size());
  outcome.message = summary.message;
  if (callback.aborted()) {
    outcome.status = Status::Aborted;
  } else if (summary.termination_type == ceres::CONVERGENCE) {
    outcome.status = Status::Converged;
  } else if (summary.termination_type == ceres::NO_CONVERGENCE) {
    outcome.status = Status::IterationLimit;
  } else {
    outcome.status = Status::Failed;
  }
}

// Keeps the program's name of the entry and the symbol above in step.
static_assert(std::string_view(app::kSolveEntryName) == "tessaly_solve_least_squares_1");
