#include "app/graph/numarrange.h"

#include <algorithm>

#include "app/workspace/components.h"
#include "app/workspace/peak_table.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/integer_rules.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/forms/control_values.h"

namespace app {

std::string one_decimal_text(std::string_view field_text) {
  const float v = rt::to_single(rt::val(field_text) + 0.05);
  const double r = rt::floor_value(v * 10.0) / 10;
  std::string s = rt::trimmed_double_text(r);
  if (s.find('.') == std::string::npos) s += ".0";
  return s;
}

void NUMARRANGE() {
  for (Param column : {Param::Centre, Param::Height, Param::Width}) {
    for (int k = 1; k <= std::max(kSlots, component_count()); ++k) {
      const std::string text = rt::get_text(field_of(k, column));
      if (text.empty()) continue;
      // Only the text is rounded: a value a fit kept behind the field stays behind it.
      RewriteParameterText(k, column, one_decimal_text(text));
    }
  }
}

}  // namespace app
