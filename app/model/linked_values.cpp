#include "app/model/linked_values.h"

#include <algorithm>
#include <cmath>

#include "app/model/peak_measures.h"
#include "app/model/peak_profile.h"
#include "app/workspace/components.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/forms/control_values.h"

namespace app {
namespace {

constexpr Param kLinkable[] = {Param::Centre, Param::Width, Param::Height, Param::Alpha};

// The height ratio that holds the areas of component `own` and `source` in the ratio 1: their
// areas per unit height, |w| K(a), over each other. Shapes that differ only in width (a
// doublet's) need no integral.
double area_factor(int source, int own) {
  const PeakShape s = read_peak_shape(source), o = read_peak_shape(own);
  if (s.asymmetric == o.asymmetric && (!s.asymmetric || s.alpha == o.alpha)) {
    const double quotient = std::fabs(s.width) / std::fabs(o.width);
    return std::isfinite(quotient) && quotient > 0 ? quotient : 1;
  }
  const ProfileConstants k = ProfileConstants::for_mix(workspace().MIXRATIO);
  const double own_area = std::fabs(o.width) * unit_area(o, k);
  const double source_area = std::fabs(s.width) * unit_area(s, k);
  const double quotient = source_area / own_area;
  return std::isfinite(quotient) && quotient > 0 ? quotient : 1;
}

double linked_value(int k, Param p, const ConstraintRule& rule) {
  const double source = Parameter(rule.source, p);
  const double current = Parameter(k, p);
  double amount = rule.amount;
  if (rule.kind == RuleKind::Offset) {
    if (rule.tolerance)
      amount = std::clamp(current - source, rule.amount - *rule.tolerance,
                          rule.amount + *rule.tolerance);
    return source + amount;
  }
  // A height linked on the area: the heights' ratio is the areas' times this factor.
  const double factor = rule.on_area ? area_factor(rule.source, k) : 1.0;
  if (rule.tolerance && source != 0)
    amount = std::clamp(current / source / factor, rule.amount - *rule.tolerance,
                        rule.amount + *rule.tolerance);
  return source * amount * factor;
}

bool write_if_new(int k, Param p, double value, std::vector<LinkedWrite>& written) {
  if (!std::isfinite(value)) return false;
  const std::string text = rt::trimmed_single_text(static_cast<float>(value));
  if (rt::get_text(field_of(k, p)) == text) return false;
  SetParameter(k, p, static_cast<float>(value));
  written.push_back({k, p, rt::val(text)});
  return true;
}

}  // namespace

std::vector<LinkedWrite> apply_links() {
  std::vector<LinkedWrite> written;
  if (!any_constraint()) return written;
  // Without cycles a chain is at most 19 long: as many passes settle every link.
  for (int pass = 0; pass < kComponents; ++pass) {
    bool changed_now = false;
    for (int k = 1; k <= kComponents; ++k) {
      if (!Present(k)) continue;
      for (Param p : kLinkable) {
        const ConstraintRule rule = constraint_rule(k, p);
        if (rule.kind == RuleKind::Bounds && p != Param::Alpha) {
          const double v = Parameter(k, p);
          if (v < rule.low || v > rule.high)
            changed_now |= write_if_new(k, p, std::clamp(v, rule.low, rule.high), written);
        } else if (linked(k, p)) {
          changed_now |= write_if_new(k, p, linked_value(k, p, rule), written);
        }
      }
    }
    if (!changed_now) break;
  }
  return written;
}

}  // namespace app
