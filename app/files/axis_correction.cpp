#include "app/files/axis_correction.h"

#include <algorithm>

#include <optional>
#include <string>
#include <vector>

#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/arithmetic.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/platform.h"

namespace app {

std::string shifted_centre(const std::string& centre_text, float d) {
  return rt::trimmed_double_text(rt::checked(rt::val(centre_text) + static_cast<double>(d)));
}

void shift_spectrum_x(Workspace& w, float d) {
  // The shifted values are all formed before any is stored, so that an overflow (error 6)
  // leaves the spectrum unshifted rather than half shifted.
  if (const LongSpectrum* long_points = w.long_spectrum.get()) {
    LongSpectrum moved = *long_points;
    for (float& x : moved.x) x = rt::to_single(static_cast<double>(x) + d);
    const float xmin = rt::to_single(static_cast<double>(w.XMIN) + d);
    const float xmax = rt::to_single(static_cast<double>(w.XMAX) + d);
    w.long_spectrum.set(std::move(moved));
    w.XMIN = xmin;
    w.XMAX = xmax;
    return;
  }
  std::vector<std::pair<std::int32_t, float>> shifted;
  counted_loop(0, w.LASTPOINT, 1, [&](float counter) {
    const std::int32_t i = loop_index(counter);
    shifted.emplace_back(i, rt::to_single(static_cast<double>(w.XDATA.at(i)) + d));
  });
  const float xmin = rt::to_single(static_cast<double>(w.XMIN) + d);
  const float xmax = rt::to_single(static_cast<double>(w.XMAX) + d);
  for (const auto& [i, x] : shifted) w.XDATA.at(i) = x;
  w.XMIN = xmin;
  w.XMAX = xmax;
}

void shift_peak_centres(float d) {
  // Empty slots stay empty; the redraw then rounds the new centres to one decimal. The
  // components beyond the six move with the spectrum as well.
  for (int k = 1; k <= std::max(kSlots, component_count()); ++k) {
    if (!Present(k)) continue;
    const rt::ObjRef centre = field_of(k, Param::Centre);
    // A centre a fit kept at full precision moves with its text, so the peak stays where the
    // fit put it relative to the shifted spectrum.
    const KeptValue* kept = kept_value(k, Param::Centre);
    const std::optional<double> kept_centre =
        kept ? std::optional<double>(kept->value) : std::nullopt;
    const std::string text = shifted_centre(rt::get_text(centre), d);
    forget_kept_value(k, Param::Centre);
    if (kept_centre)
      KeepParameter(k, Param::Centre, *kept_centre + static_cast<double>(d), text);
    else
      rt::set_text(centre, text);
  }
}

}  // namespace app
