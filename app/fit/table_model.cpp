#include "app/fit/table_model.h"

#include <algorithm>
#include <array>
#include <utility>

#include "app/workspace/components.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/spectrum_points.h"
#include "app/workspace/workspace.h"

namespace app {
namespace {

constexpr std::pair<Param, FitParam> kLinkable[] = {{Param::Centre, FitParam::Centre},
                                                    {Param::Width, FitParam::Width},
                                                    {Param::Height, FitParam::Height}};

// The constraint cells as the model holds them: links (a locked parameter stays locked), their
// tolerances' bands, and bounds; a linked coefficient takes its source's value here, since no
// fit moves coefficients.
void add_rules(std::vector<ModelSlot>& slots, const std::array<int, kComponents + 1>& entry) {
  for (ModelSlot& s : slots) {
    const int k = s.slot;
    for (const auto& [param, fit] : kLinkable) {
      const ConstraintRule rule = constraint_rule(k, param);
      const int f = static_cast<int>(fit);
      if (rule.kind == RuleKind::Bounds) {
        s.bounds[static_cast<std::size_t>(f)] = std::array<double, 2>{rule.low, rule.high};
        continue;
      }
      if (!s.free[static_cast<std::size_t>(f)] || !linked(k, param)) continue;
      SlotLink link;
      link.kind = rule.kind == RuleKind::Offset ? SlotLink::Kind::Offset
                  : rule.on_area                ? SlotLink::Kind::AreaRatio
                                                : SlotLink::Kind::Ratio;
      link.source = static_cast<std::size_t>(entry[static_cast<std::size_t>(rule.source)] - 1);
      link.amount = rule.amount;
      if (rule.tolerance) {
        link.tolerance = true;
        link.low = rule.amount - *rule.tolerance;
        link.high = rule.amount + *rule.tolerance;
      }
      s.free[static_cast<std::size_t>(f)] = false;
      s.link[static_cast<std::size_t>(f)] = link;
    }
    if (linked(k, Param::Alpha)) {
      const ConstraintRule rule = constraint_rule(k, Param::Alpha);
      const double source =
          slots[static_cast<std::size_t>(entry[static_cast<std::size_t>(rule.source)] - 1)]
              .shape.alpha;
      s.shape.alpha = rule.kind == RuleKind::Offset ? source + rule.amount : source * rule.amount;
    }
  }
}

}  // namespace

PeakModel model_of_table(float skip) {
  const Workspace& w = workspace();
  std::vector<double> x, y;
  counted_loop(0, static_cast<float>(last_point()), skip, [&](float counter) {
    const std::int32_t i = loop_index(counter);
    x.push_back(point_x(i));
    y.push_back(point_y(i));
  });
  std::vector<ModelSlot> slots;
  const int last = std::max(kSlots, component_count());
  const bool rules = any_constraint();
  std::array<int, kComponents + 1> entry{};  // slot -> its entry + 1 (0: absent)
  for (int k = 1; k <= last; ++k) {
    if (!Present(k)) continue;
    ModelSlot s;
    s.slot = k;
    s.shape = read_peak_shape(k);
    s.free[static_cast<int>(FitParam::Centre)] = !Locked(k, Param::Centre);
    s.free[static_cast<int>(FitParam::Width)] = !Locked(k, Param::Width);
    s.free[static_cast<int>(FitParam::Height)] = !Locked(k, Param::Height);
    slots.push_back(s);
    entry[static_cast<std::size_t>(k)] = static_cast<int>(slots.size());
  }
  if (rules) add_rules(slots, entry);
  return PeakModel(std::move(x), std::move(y), std::move(slots), w.MIXRATIO);
}

void describe_components(FitRecord& record) {
  record.names.clear();
  record.rules.clear();
  record.species = any_constraint();
  for (const ModelSlot& s : record.model.slots()) {
    record.names.push_back(component_name(s.slot));
    if (!record.species) continue;
    std::string items;
    const auto add = [&items](const std::string& item) {
      items += (items.empty() ? "" : " ") + item;
    };
    // In the peak table's order of columns: centre, height (or area), width, coefficient.
    for (Param p : {Param::Centre, Param::Height, Param::Width, Param::Alpha}) {
      const ConstraintRule rule = constraint_rule(s.slot, p);
      const char* name = rule_param_name(static_cast<RuleParam>(p));
      if (p != Param::Alpha && Locked(s.slot, p))
        add(std::string(name) + "=fix");
      else if (rule.kind != RuleKind::Free)
        add(rule.on_area ? rule_text(rule) : std::string(name) + "=" + rule_text(rule));
    }
    record.rules.push_back(items);
  }
}

std::vector<std::optional<double>> compared_measured_values(float skip) {
  const Workspace& w = workspace();
  const std::vector<double>& measured = w.fit.spectrum.measured;
  std::vector<std::optional<double>> out;
  counted_loop(0, static_cast<float>(last_point()), skip, [&](float counter) {
    const std::int32_t i = loop_index(counter);
    if (i >= 0 && static_cast<std::size_t>(i) < measured.size())
      out.emplace_back(measured[static_cast<std::size_t>(i)]);
    else
      out.emplace_back();
  });
  return out;
}

std::vector<double> spectrum_x() {
  std::vector<double> x;
  const std::int32_t last = last_point();
  for (std::int32_t i = 0; i <= last; ++i) x.push_back(point_x(i));
  return x;
}

SpectrumExtent spectrum_extent() {
  std::vector<double> x = spectrum_x();
  SpectrumExtent e;
  if (x.empty()) return e;
  std::sort(x.begin(), x.end());
  e.x_min = x.front();
  e.x_max = x.back();
  for (std::size_t i = 1; i < x.size(); ++i) {
    const double gap = x[i] - x[i - 1];
    if (gap > 0 && (e.smallest_spacing == 0 || gap < e.smallest_spacing)) e.smallest_spacing = gap;
  }
  return e;
}

}  // namespace app
