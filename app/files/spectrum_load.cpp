#include "app/files/spectrum_load.h"

#include "app/files/export_hint.h"
#include "app/files/read_input_file.h"
#include "app/files/spectrum_reader.h"
#include "app/model/fit_report.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"

namespace app {

std::string display_name(const std::string& path) {
  // Program text is UTF-8, where the byte of "/" never occurs inside another character, so the
  // last "/" byte is the last separator character and a double-byte name stays whole.
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void store_spectrum(const LoadedSpectrum& s, const std::string& path) {
  Workspace& w = workspace();
  const bool long_points = s.x.size() > static_cast<std::size_t>(kMaxPoints);
  if (long_points) {
    w.long_spectrum.set(LongSpectrum{s.x, s.y});
  } else {
    w.long_spectrum.reset();
    for (std::size_t i = 0; i < s.x.size(); ++i) {
      w.XDATA.at(static_cast<std::int32_t>(i)) = s.x[i];
      w.YDATA.at(static_cast<std::int32_t>(i)) = s.y[i];
    }
  }
  w.XMIN = s.xmin;
  w.XMAX = s.xmax;
  w.YMIN = s.ymin;
  w.YMAX = s.ymax;
  w.DATAXMIN = w.XMIN;
  w.DATAXMAX = w.XMAX;
  w.DATAYMIN = w.YMIN;
  w.DATAYMAX = w.YMAX;
  // The arrays hold none of a long spectrum's points.
  w.LASTPOINT = long_points ? std::int16_t{-1}
                            : static_cast<std::int16_t>(static_cast<std::int32_t>(s.x.size()) - 1);
  w.fit.spectrum.measured = s.measured;
  w.fit.background.reset();
  w.FILEPATH = path;
  rt::set_text(EDIT(1), display_name(path));
  // The last fit was of other points: its report would describe a spectrum no longer shown.
  forget_fit();
}

void load_spectrum(const std::string& path) {
  try {
    store_spectrum(read_input_file(path, read_spectrum_records), path);
  } catch (rt::RuntimeError& error) {
    // A record cut short or a word where a number belongs: most often the instrument's own
    // export, which the raw reader takes.
    if ((error.number() == rt::kReadPastEnd || error.number() == rt::kBadNumericField) &&
        error.detail().empty())
      error.set_detail(instrument_export_hint_for(path));
    throw;
  }
  // A record's measured column is often not counts: weighting is the user's choice.
  set_weight_counts(false);
}

}  // namespace app
