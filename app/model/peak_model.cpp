#include "app/model/peak_model.h"

#include <algorithm>

#include "app/model/profile_derivatives.h"

namespace app {
namespace {

double& value_of(PeakShape& s, FitParam p) {
  switch (p) {
    case FitParam::Centre:
      return s.centre;
    case FitParam::Width:
      return s.width;
    case FitParam::Height:
      break;
  }
  return s.height;
}

constexpr FitParam kParams[] = {FitParam::Centre, FitParam::Width, FitParam::Height};

}  // namespace

double ActiveBackground::at(std::size_t i) const {
  switch (form) {
    case Form::Linear:
      return values[0] + (values[1] - values[0]) * along[i];
    case Form::Shirley:
    case Form::Tougaard:
      break;
  }
  return values[0] + values[1] * (along[i] - values[0] * span[i]);
}

void ActiveBackground::slopes(std::size_t i, double* out) const {
  switch (form) {
    case Form::Linear:
      out[0] = 1 - along[i];
      out[1] = along[i];
      return;
    case Form::Shirley:
    case Form::Tougaard:
      break;
  }
  // d/dk (or d/dB) is the integral (or kernel sum) of I - c; d/dc is 1 less k times the span.
  out[0] = 1 - values[1] * span[i];
  out[1] = along[i] - values[0] * span[i];
}

std::vector<const char*> ActiveBackground::names() const {
  switch (form) {
    case Form::Linear:
      return {"level_low", "level_high"};
    case Form::Shirley:
      return {"shirley_c", "shirley_k"};
    case Form::Tougaard:
      break;
  }
  return {"tougaard_c", "tougaard_b"};
}

PeakModel::PeakModel(std::vector<double> x, std::vector<double> y, std::vector<ModelSlot> slots,
                     double mix)
    : x_(std::move(x)),
      y_(std::move(y)),
      slots_(std::move(slots)),
      constants_(ProfileConstants::for_mix(mix)) {
  for (const ModelSlot& s : slots_) {
    std::array<int, 3> index{-1, -1, -1};
    for (FitParam p : kParams)
      if (s.free[static_cast<int>(p)]) index[static_cast<int>(p)] = free_count_++;
    index_.push_back(index);
  }
}

void PeakModel::set_inverse_sigmas(std::vector<double> inverse_sigmas) {
  inverse_sigmas_ = std::move(inverse_sigmas);
}

void PeakModel::set_active_background(ActiveBackground background, std::vector<double> measured) {
  if (background_) free_count_ -= static_cast<int>(background_->parameter_count());
  background_index_ = free_count_;
  free_count_ += static_cast<int>(background.parameter_count());
  background_ = std::move(background);
  y_ = std::move(measured);
}

std::vector<double> PeakModel::free_values() const {
  std::vector<double> values(static_cast<std::size_t>(free_count_));
  if (background_)
    std::copy(background_->values.begin(), background_->values.end(),
              values.begin() + background_index_);
  for (std::size_t s = 0; s < slots_.size(); ++s) {
    PeakShape shape = slots_[s].shape;
    for (FitParam p : kParams)
      if (index_of(s, p) >= 0)
        values[static_cast<std::size_t>(index_of(s, p))] = value_of(shape, p);
  }
  return values;
}

std::vector<ModelSlot> PeakModel::with_values(const double* values) const {
  std::vector<ModelSlot> out = slots_;
  for (std::size_t s = 0; s < out.size(); ++s)
    for (FitParam p : kParams)
      if (index_of(s, p) >= 0) value_of(out[s].shape, p) = values[index_of(s, p)];
  return out;
}

PeakModel PeakModel::at(const double* values) const {
  PeakModel out = *this;
  out.slots_ = with_values(values);
  if (out.background_)
    for (std::size_t j = 0; j < out.background_->values.size(); ++j)
      out.background_->values[j] = values[static_cast<std::size_t>(background_index_) + j];
  return out;
}

void PeakModel::evaluate(const double* values, double* residuals, double* jacobian) const {
  const std::vector<ModelSlot> slots = with_values(values);
  std::optional<ActiveBackground> background = background_;
  if (background)
    for (std::size_t j = 0; j < background->values.size(); ++j)
      background->values[j] = values[static_cast<std::size_t>(background_index_) + j];
  const std::size_t p = static_cast<std::size_t>(free_count_);
  if (jacobian) std::fill(jacobian, jacobian + x_.size() * p, 0.0);
  for (std::size_t i = 0; i < x_.size(); ++i) {
    double model = 0;
    double* row = jacobian ? jacobian + i * p : nullptr;
    for (std::size_t s = 0; s < slots.size(); ++s) {
      const ProfileTerms t = profile_terms(x_[i], slots[s].shape, constants_);
      model += t.value;
      if (!row) continue;
      const std::array<int, 3>& index = index_[s];
      if (index[0] >= 0) row[index[0]] = t.d_centre;
      if (index[1] >= 0) row[index[1]] = t.d_width;
      if (index[2] >= 0) row[index[2]] = t.d_height;
    }
    if (background) {
      model += background->at(i);
      if (row) background->slopes(i, row + background_index_);
    }
    residuals[i] = model - y_[i];
    if (inverse_sigmas_.empty()) continue;
    const double weight = inverse_sigmas_[i];
    residuals[i] *= weight;
    if (row)
      for (std::size_t j = 0; j < p; ++j) row[j] *= weight;
  }
}

double PeakModel::rss(const double* values) const {
  std::vector<double> r(x_.size());
  evaluate(values, r.data(), nullptr);
  double sum = 0;
  for (double v : r) sum += v * v;
  return sum;
}

}  // namespace app
