#include "app/model/components_window.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "app/model/peak_measures.h"
#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "forms/peak_rows.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"

namespace app {
namespace {

std::string fixed_text(double v, int decimals) {
  if (!std::isfinite(v)) return "";
  std::array<char, 64> buffer{};
  const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v,
                                       std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "";
  return std::string(buffer.data(), end);
}

}  // namespace

void update_components_window() {
  if (controls().form7 == rt::kNullRef || !rt::form_exists(controls().form7)) return;
  sync_component_rows();
  const ProfileConstants constants = ProfileConstants::for_mix(workspace().MIXRATIO);
  for (int k = 1; k <= kComponents; ++k) {
    const forms::ComponentRowNumbers n = forms::component_row(k);
    std::string fwhm, area;
    if (Present(k)) {
      try {
        const PeakShape s = read_peak_shape(k);
        fwhm = fixed_text(std::fabs(s.width) * unit_fwhm(s, constants), 3);
        area = fixed_text(s.height * std::fabs(s.width) * unit_area(s, constants), 1);
      } catch (const rt::RuntimeError&) {
        // A shape the profile cannot take shows no measures; the redraw reports it.
      }
    }
    rt::set_text(COMPONENT_TEXT(n.fwhm), fwhm);
    rt::set_text(COMPONENT_TEXT(n.area), area);
    if (k > kSlots && !Present(k)) rt::set_text(COMPONENT_TEXT(n.share), "");
  }
}

void show_components_window() {
  rt::show_form(controls().form7, -1);
  update_components_window();
}

}  // namespace app
