#include "app/model/peak_model.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "app/model/peak_measures.h"
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

double value_of(const PeakShape& s, FitParam p) {
  return value_of(const_cast<PeakShape&>(s),
                  p);  // NOLINT(cppcoreguidelines-pro-type-const-cast): read only
}

// The source's area per unit height over the own one: the heights' ratio that gives an area
// ratio. 1 when either is not a positive number (a zero width).
double area_factor(const PeakShape& source, const PeakShape& own, const ProfileConstants& k) {
  // The same shape but for the width (a doublet's, whose widths are linked equal) needs no
  // integral: the unit areas are equal.
  const bool same_shape =
      source.asymmetric == own.asymmetric && (!own.asymmetric || source.alpha == own.alpha);
  if (same_shape) {
    if (source.width == own.width) return 1;
    const double quotient = std::fabs(source.width) / std::fabs(own.width);
    return std::isfinite(quotient) && quotient > 0 ? quotient : 1;
  }
  const double own_area = std::fabs(own.width) * unit_area(own, k);
  const double source_area = std::fabs(source.width) * unit_area(source, k);
  if (!(own_area > 0) || !(source_area > 0) || !std::isfinite(own_area / source_area)) return 1;
  return source_area / own_area;
}

// The link of a parameter the model's link order holds, which always has one.
const SlotLink& link_of(const ModelSlot& slot, FitParam p) {
  const std::optional<SlotLink>& link = slot.link[static_cast<int>(p)];
  if (!link) throw std::logic_error("a linked parameter without its link");
  return *link;
}

// How many links lead from a parameter back to a free one; more than the slots, a cycle.
int chain_length(const std::vector<ModelSlot>& slots, std::size_t s, FitParam p) {
  int d = 0;
  for (std::size_t at = s; d <= int(slots.size()); ++d) {
    const std::optional<SlotLink>& link = slots[at].link[static_cast<int>(p)];
    if (!link) break;
    at = link->source;
  }
  return d;
}

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
      if (s.free[static_cast<int>(p)] && !s.link[static_cast<int>(p)])
        index[static_cast<int>(p)] = free_count_++;
    index_.push_back(index);
  }
  // The tolerances' offsets and ratios follow the peaks' own values.
  for (const ModelSlot& s : slots_) {
    std::array<int, 3> index{-1, -1, -1};
    for (FitParam p : kParams)
      if (s.link[static_cast<int>(p)] && s.link[static_cast<int>(p)]->tolerance)
        index[static_cast<int>(p)] = free_count_++;
    link_index_.push_back(index);
  }
  // Sources before what follows them: by the length of each chain (no cycle reaches here; a
  // chain longer than the slots is cut, leaving the rest free of its link).
  std::vector<std::pair<int, std::pair<std::size_t, FitParam>>> depth;
  for (std::size_t s = 0; s < slots_.size(); ++s)
    for (FitParam p : kParams) {
      const int d = chain_length(slots_, s, p);
      // A height linked on the area needs its widths settled: heights come after the rest.
      const int after_widths = p == FitParam::Height ? static_cast<int>(slots_.size()) + 1 : 0;
      if (d > 0 && d <= int(slots_.size())) depth.push_back({after_widths + d, {s, p}});
    }
  std::stable_sort(depth.begin(), depth.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& entry : depth) link_order_.push_back(entry.second);
}

void PeakModel::follow_links(std::vector<ModelSlot>& slots, const double* values) const {
  for (const auto& [s, p] : link_order_) {
    const std::optional<SlotLink>& linked = slots_[s].link[static_cast<int>(p)];
    if (!linked) continue;  // the order holds linked parameters only
    const SlotLink& link = *linked;
    const int li = link_index(s, p);
    const double amount = li >= 0 && values ? values[li] : link.amount;
    const PeakShape& source = slots[link.source].shape;
    PeakShape& own = slots[s].shape;
    switch (link.kind) {
      case SlotLink::Kind::Offset:
        value_of(own, p) = value_of(source, p) + amount;
        break;
      case SlotLink::Kind::Ratio:
        value_of(own, p) = value_of(source, p) * amount;
        break;
      case SlotLink::Kind::AreaRatio:
        own.height = source.height * amount * area_factor(source, own, constants_);
        break;
    }
  }
}

std::vector<std::array<SparseGradient, 3>> PeakModel::gradients(
    const std::vector<ModelSlot>& slots) const {
  std::vector<std::array<SparseGradient, 3>> g(slots.size());
  for (std::size_t s = 0; s < slots.size(); ++s)
    for (FitParam p : kParams)
      if (index_of(s, p) >= 0) g[s][static_cast<int>(p)] = {{index_of(s, p), 1.0}};
  for (const auto& [s, p] : link_order_) chain_link(slots, s, p, g);
  return g;
}

void PeakModel::chain_link(const std::vector<ModelSlot>& slots, std::size_t s, FitParam p,
                           std::vector<std::array<SparseGradient, 3>>& g) const {
  const SlotLink& link = link_of(slots_[s], p);
  const int li = link_index(s, p);
  const PeakShape& source = slots[link.source].shape;
  const SparseGradient& from = g[link.source][static_cast<int>(p)];
  SparseGradient& out = g[s][static_cast<int>(p)];
  out.clear();
  const double amount = link_of(slots[s], p).amount;
  double scale = 1, by_amount = 1;
  switch (link.kind) {
    case SlotLink::Kind::Offset:
      break;
    case SlotLink::Kind::Ratio:
      scale = amount;
      by_amount = value_of(source, p);
      break;
    case SlotLink::Kind::AreaRatio: {
      // h = r h_s F with F = |w_s| K_s / (|w| K): the unit areas K depend on the skew alone,
      // which no fit moves, so F moves with the widths only, as |w_s| / |w|.
      const double factor = area_factor(source, slots[s].shape, constants_);
      scale = amount * factor;
      by_amount = source.height * factor;
      if (!has_fixed_area_factor(s, link.source))
        chain_area_widths(slots, s, link.source, source.height * amount * factor, g, out);
      break;
    }
  }
  for (const auto& [i, slope] : from) out.emplace_back(i, slope * scale);
  if (li >= 0) out.emplace_back(li, by_amount);
}

bool PeakModel::has_fixed_area_factor(std::size_t s, std::size_t source) const {
  // Widths held in a fixed ratio (a doublet's "A*1") leave F fixed.
  const std::optional<SlotLink>& width_link = slots_[s].link[static_cast<int>(FitParam::Width)];
  return width_link && width_link->kind == SlotLink::Kind::Ratio && width_link->source == source &&
         !width_link->tolerance;
}

void PeakModel::chain_area_widths(const std::vector<ModelSlot>& slots, std::size_t s,
                                  std::size_t source, double own_height,
                                  const std::vector<std::array<SparseGradient, 3>>& g,
                                  SparseGradient& out) const {
  const double source_width = slots[source].shape.width;
  const double own_width = slots[s].shape.width;
  if (source_width == 0 || own_width == 0) return;
  const double by_source_width = own_height / source_width;  // h sign(w_s) / |w_s|
  const double by_own_width = -own_height / own_width;
  for (const auto& [i, slope] : g[source][1]) out.emplace_back(i, slope * by_source_width);
  for (const auto& [i, slope] : g[s][1]) out.emplace_back(i, slope * by_own_width);
}

SparseGradient PeakModel::gradient_of(std::size_t s, FitParam p) const {
  return gradients(slots_)[s][static_cast<int>(p)];
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
  for (std::size_t s = 0; s < slots_.size(); ++s)
    for (FitParam p : kParams)
      if (link_index(s, p) >= 0)
        values[static_cast<std::size_t>(link_index(s, p))] =
            slots_[s].link[static_cast<int>(p)]->amount;
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
    for (FitParam p : kParams) {
      if (index_of(s, p) >= 0) value_of(out[s].shape, p) = values[index_of(s, p)];
      if (link_index(s, p) >= 0)
        out[s].link[static_cast<int>(p)]->amount = values[link_index(s, p)];
    }
  follow_links(out, values);
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
  // With links a parameter's slope reaches the free values it follows (the chain rule).
  // Flattened, slot by slot and parameter by parameter, so that the loop over the points
  // walks one array: fold_begin[3 s + q] to fold_begin[3 s + q + 1].
  std::vector<std::pair<int, double>> folds;
  std::vector<std::size_t> fold_begin;
  if (jacobian && has_links()) {
    const std::vector<std::array<SparseGradient, 3>> chained = gradients(slots);
    for (const auto& by_param : chained)
      for (const SparseGradient& g : by_param) {
        fold_begin.push_back(folds.size());
        folds.insert(folds.end(), g.begin(), g.end());
      }
    fold_begin.push_back(folds.size());
  }
  for (std::size_t i = 0; i < x_.size(); ++i) {
    double model = 0;
    double* row = jacobian ? jacobian + i * p : nullptr;
    for (std::size_t s = 0; s < slots.size(); ++s) {
      const ProfileTerms t = profile_terms(x_[i], slots[s].shape, constants_);
      model += t.value;
      if (!row) continue;
      if (!fold_begin.empty()) {
        const double slopes[3] = {t.d_centre, t.d_width, t.d_height};
        const std::pair<int, double>* fold = folds.data();
        for (std::size_t q = 0; q < 3; ++q) {
          const double slope = slopes[q];
          for (std::size_t f = fold_begin[3 * s + q], end = fold_begin[3 * s + q + 1]; f < end; ++f)
            row[fold[f].first] += slope * fold[f].second;
        }
        continue;
      }
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
