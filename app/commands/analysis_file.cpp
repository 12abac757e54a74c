#include "app/commands/analysis_file.h"

#include <charconv>
#include <cmath>
#include <filesystem>

#include "app/commands/analysis_components.h"
#include "app/commands/raw_window.h"
#include "app/files/analysis_json.h"
#include "app/files/raw_errors.h"
#include "app/files/raw_spectrum.h"
#include "app/files/read_input_file.h"
#include "app/files/replacing_text_save.h"
#include "app/files/spectrum_load.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/integer_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/dialogs/file_dialogs.h"
#include "runtime/errors/error_messages.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/whole_file.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/menu_checks.h"

namespace app {
namespace {

namespace fs = std::filesystem;

constexpr char kFilter[] = "Analysis file(*.json);そのほか(*.*)";

// The "Raw spectrum" window's fields by what they hold.
struct RawField {
  const char* name;
  std::string AnalysisRawWindow::*text;
};
constexpr RawField kRawFields[] = {
    {"EDIT1", &AnalysisRawWindow::x_from},
    {"EDIT2", &AnalysisRawWindow::x_to},
    {"EDIT3", &AnalysisRawWindow::end_points},
    {"EDIT4", &AnalysisRawWindow::block},
    {"EDIT5", &AnalysisRawWindow::tougaard_b},
    {"EDIT6", &AnalysisRawWindow::tougaard_c},
    {"EDIT7", &AnalysisRawWindow::tougaard_c_prime},
    {"EDIT8", &AnalysisRawWindow::tougaard_d},
    {"EDIT9", &AnalysisRawWindow::low_offset},
    {"EDIT10", &AnalysisRawWindow::high_offset},
    {"EDIT11", &AnalysisRawWindow::excitation_energy},
};

struct Parameter3 {
  Param param;
  AnalysisParameter AnalysisComponent::*member;
  ComponentText text;
  ComponentText constraint;
  ComponentBox lock;
};
constexpr Parameter3 kParameters[] = {
    {Param::Centre, &AnalysisComponent::centre, ComponentText::Centre,
     ComponentText::CentreConstraint, ComponentBox::CentreLock},
    {Param::Width, &AnalysisComponent::width, ComponentText::Width, ComponentText::WidthConstraint,
     ComponentBox::WidthLock},
    {Param::Height, &AnalysisComponent::height, ComponentText::Height,
     ComponentText::HeightConstraint, ComponentBox::HeightLock},
};

// The shortest text that reads back as the same double, for a field the program fills.
std::string number_text(double v) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

AnalysisComponent capture_component(int k) {
  AnalysisComponent c;
  c.label = std::string(1, component_label(k));
  c.name = component_text(k, ComponentText::Name);
  for (const Parameter3& p : kParameters) {
    AnalysisParameter& out = c.*p.member;
    out.text = component_text(k, p.text);
    if (const KeptValue* kept = component_kept_value(k, p.param);
        kept && std::isfinite(kept->value)) {
      out.value = kept->value;
      out.kept = true;
    } else {
      try {
        const double v = rt::val(out.text);
        if (std::isfinite(v)) out.value = v;
      } catch (const rt::RuntimeError&) {
        // A text beyond the double range reads as no number here; the field keeps it.
      }
    }
    out.lock = component_check(k, p.lock);
    out.constraint = component_text(k, p.constraint);
  }
  c.alpha = component_text(k, ComponentText::Alpha);
  c.alpha_constraint = component_text(k, ComponentText::AlphaConstraint);
  c.asymmetric = component_check(k, ComponentBox::Asymmetric);
  c.row_lock = component_check(k, ComponentBox::RowLock);
  c.ratio = component_text(k, ComponentText::Ratio);
  return c;
}

std::string relative_source(const std::string& source, const std::string& document_path) {
  const fs::path from = fs::absolute(fs::path(document_path)).lexically_normal().parent_path();
  const fs::path to = fs::absolute(fs::path(source)).lexically_normal();
  const fs::path relative = to.lexically_relative(from);
  return relative.empty() ? to.string() : relative.string();
}

fs::path source_path(const AnalysisDocument& d, const std::string& document_path) {
  const fs::path source(d.spectrum.path);
  if (source.is_absolute()) return source.lexically_normal();
  return (fs::absolute(fs::path(document_path)).parent_path() / source).lexically_normal();
}

// A spectrum read from its source, not yet the workspace's.
struct Reloaded {
  LoadedSpectrum spectrum;
  std::optional<BackgroundRecord> background;
  std::string path;
};

Reloaded reload_spectrum(const AnalysisDocument& d, const std::string& document_path) {
  Reloaded out;
  out.path = source_path(d, document_path).string();
  const std::string name = display_name(document_path);
  try {
    if (d.spectrum.raw) {
      RawSpectrum raw = read_raw(out.path, raw_settings_of(d.spectrum.raw_load));
      out.spectrum = std::move(raw.spectrum);
      out.background = std::move(raw.background);
    } else {
      out.spectrum = read_input_file(out.path, read_spectrum_records);
    }
  } catch (rt::RuntimeError& error) {
    std::string why = error.detail();
    if (why.empty()) {
      const char* message = rt::error_message(error.number());
      why = message ? message : "it cannot be read";
    }
    error.set_detail(name + ": its spectrum " + out.path +
                     " cannot be loaded the way it was: " + why + " Nothing was changed.");
    throw;
  }
  if (out.spectrum.x.size() != d.spectrum.x.size())
    rt::raise_error_with_detail(
        rt::kInvalidArgument,
        name + ": its spectrum " + out.path + " now holds " +
            rt::decimal_text(static_cast<std::int64_t>(out.spectrum.x.size())) +
            " points, where the analysis was made on " +
            rt::decimal_text(static_cast<std::int64_t>(d.spectrum.x.size())) +
            ": the file has changed. Nothing was changed.",
        location(AnalysisCheck::SpectrumChanged));
  return out;
}

void set_active_background(bool on) {
  workspace().fit.active_background = on;
  rt::set_menu_checked(kActiveBackgroundItem, on);
}

void apply_components(const AnalysisDocument& d) {
  forget_kept_values();
  const AnalysisComponent none;
  const auto component = [&](int k) -> const AnalysisComponent& {
    return k <= static_cast<int>(d.components.size())
               ? d.components[static_cast<std::size_t>(k - 1)]
               : none;
  };
  // Every cell freed first and the values in place before any rule, so that a link is
  // checked against the table it was saved with.
  for (int k = 1; k <= kComponents; ++k)
    for (ComponentText t : {ComponentText::CentreConstraint, ComponentText::WidthConstraint,
                            ComponentText::HeightConstraint, ComponentText::AlphaConstraint})
      set_component_text(k, t, "");
  for (int k = 1; k <= kComponents; ++k) {
    const AnalysisComponent& c = component(k);
    set_component_text(k, ComponentText::Name, c.name);
    for (const Parameter3& p : kParameters) {
      const AnalysisParameter& in = c.*p.member;
      if (in.kept && in.value)
        keep_component_value(k, p.param, *in.value, in.text);
      else
        set_component_text(k, p.text, in.text);
      set_component_check(k, p.lock, in.lock);
    }
    set_component_text(k, ComponentText::Alpha, c.alpha);
    set_component_check(k, ComponentBox::Asymmetric, c.asymmetric);
    set_component_check(k, ComponentBox::RowLock, c.row_lock);
  }
  for (int k = 1; k <= kComponents; ++k) {
    const AnalysisComponent& c = component(k);
    for (const Parameter3& p : kParameters)
      set_component_text(k, p.constraint, (c.*p.member).constraint);
    set_component_text(k, ComponentText::AlphaConstraint, c.alpha_constraint);
  }
}

void apply_graph(const AnalysisGraph& g) {
  rt::set_check(CHECK(1), g.x_user_range);
  rt::set_check(CHECK(2), g.y_user_range);
  rt::set_text(EDIT(3), g.x_from);
  rt::set_text(EDIT(4), g.x_to);
  rt::set_text(EDIT(5), g.x_step);
  rt::set_text(EDIT(6), g.y_from);
  rt::set_text(EDIT(7), g.y_to);
  rt::set_text(EDIT(8), g.y_step);
}

void apply_raw_window(const AnalysisRawWindow& window) {
  const bool existed = raw_window_exists();
  for (const RawField& f : kRawFields) rt::set_text(raw_window_control(f.name), window.*f.text);
  rt::set_check(raw_window_control("CHECK1"), window.shirley);
  rt::set_check(raw_window_control("CHECK2"), window.tougaard);
  if (existed || !window.shown) {
    const rt::Form* form = rt::find_live_form("FORM5");
    if (form && form->shown() != window.shown) rt::show_form(form->ref(), window.shown ? -1 : 0);
  }
}

// The window's fields as the load had them, so that the next raw load is made the same way.
AnalysisRawWindow raw_window_of_load(const RawLoadSettings& s, bool shown) {
  const auto optional = [](const std::optional<double>& v) {
    return v ? number_text(*v) : std::string();
  };
  AnalysisRawWindow w;
  w.shown = shown;
  w.x_from = optional(s.from);
  w.x_to = optional(s.to);
  w.end_points = rt::decimal_text(s.end_points);
  w.shirley = s.shirley ? 1 : 0;
  w.block = s.block_name.empty() ? rt::decimal_text(s.block) : s.block_name;
  w.tougaard = s.tougaard ? 1 : 0;
  w.tougaard_b = optional(s.tougaard_b);
  w.tougaard_c = number_text(s.tougaard_c);
  w.tougaard_c_prime = number_text(s.tougaard_c_prime);
  w.tougaard_d = number_text(s.tougaard_d);
  w.low_offset = rt::decimal_text(s.low_offset);
  w.high_offset = rt::decimal_text(s.high_offset);
  w.excitation_energy = optional(s.excitation_energy);
  return w;
}

}  // namespace

AnalysisDocument capture_analysis(const std::string& document_path) {
  const Workspace& w = workspace();
  AnalysisDocument d;
  if (w.FILEPATH == rt::kCancelMark)
    rt::raise_error_with_detail(
        rt::kInvalidArgument,
        "The spectrum's file is not known (an Open was cancelled after it was loaded), so an "
        "analysis could not load it again: open the spectrum again, then save the analysis.",
        location(AnalysisCheck::NoSource));
  if (!w.FILEPATH.empty()) {
    d.spectrum.path = relative_source(w.FILEPATH, document_path);
    if (w.fit.background) {
      d.spectrum.raw = true;
      d.spectrum.raw_load = w.fit.background->load;
      BackgroundRecord b = *w.fit.background;
      b.tougaard_sums.clear();  // the load makes them again
      b.tougaard_unit_sums.clear();
      d.spectrum.background = std::move(b);
    }
  }
  for (std::int32_t i = 0; i <= w.LASTPOINT; ++i) {
    d.spectrum.x.push_back(w.XDATA.at(i));
    d.spectrum.net.push_back(w.YDATA.at(i));
  }
  d.spectrum.xmin = w.XMIN;
  d.spectrum.xmax = w.XMAX;
  d.spectrum.ymin = w.YMIN;
  d.spectrum.ymax = w.YMAX;
  d.spectrum.data_xmin = w.DATAXMIN;
  d.spectrum.data_xmax = w.DATAXMAX;
  d.spectrum.data_ymin = w.DATAYMIN;
  d.spectrum.data_ymax = w.DATAYMAX;
  d.spectrum.target = rt::get_text(EDIT(1));

  for (int k = 1; k <= kComponents; ++k) d.components.push_back(capture_component(k));
  d.total = rt::get_text(EDIT(42));
  d.position_x = rt::get_text(EDIT(9));
  d.position_y = rt::get_text(EDIT(10));
  d.x_axis_shift = rt::get_text(EDIT(11));
  d.centre_column_lock = rt::get_check(CHECK(10));
  d.width_column_lock = rt::get_check(CHECK(11));
  d.height_column_lock = rt::get_check(CHECK(12));

  d.mixing_ratio = w.MIXRATIO;
  d.skip = rt::get_text(EDIT(43));
  d.weight_counts = w.fit.weight_counts;
  d.active_background = w.fit.active_background;

  d.graph.x_user_range = rt::get_check(CHECK(1));
  d.graph.y_user_range = rt::get_check(CHECK(2));
  d.graph.x_from = rt::get_text(EDIT(3));
  d.graph.x_to = rt::get_text(EDIT(4));
  d.graph.x_step = rt::get_text(EDIT(5));
  d.graph.y_from = rt::get_text(EDIT(6));
  d.graph.y_to = rt::get_text(EDIT(7));
  d.graph.y_step = rt::get_text(EDIT(8));

  if (const rt::Form* form = rt::find_live_form("FORM5")) {
    AnalysisRawWindow r;
    r.shown = form->shown();
    for (const RawField& f : kRawFields) r.*f.text = rt::get_text(raw_window_control(f.name));
    r.shirley = rt::get_check(raw_window_control("CHECK1"));
    r.tougaard = rt::get_check(raw_window_control("CHECK2"));
    d.raw_window = r;
  }

  if (const FitRecord* fit = last_fit()) {
    d.last_fit = *fit;
    try {
      d.report = fit_report_lines(make_fit_report(*fit));
    } catch (const rt::RuntimeError&) {
      // The report window shows the same failure; the record itself is kept.
    }
  }
  return d;
}

void save_analysis(const std::string& path) {
  const std::string text = analysis_json_text(capture_analysis(path));
  // The text is ASCII (every other character escaped), which the save writes as it stands.
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  save_text_lines(path, lines);
}

void save_analysis_as() {
  const std::string path = rt::save_file_dialog(rt::kNullRef, "解析の保存", "*.json", kFilter, 0);
  if (path != rt::kCancelMark) save_analysis(path);
}

AnalysisDocument read_analysis_file(const std::string& path) {
  const std::string name = display_name(path);
  const std::optional<std::string> bytes = rt::read_whole_file(path, kMaxAnalysisBytes);
  if (!bytes)
    rt::raise_error_with_detail(rt::kInvalidArgument,
                                name +
                                    ": the file is far too large for an analysis file. "
                                    "Nothing was changed.",
                                location(AnalysisCheck::TooLarge));
  return parse_analysis(*bytes, name);
}

void open_analysis(const std::string& path) {
  const AnalysisDocument d = read_analysis_file(path);
  std::optional<Reloaded> reloaded;
  if (!d.spectrum.path.empty()) reloaded = reload_spectrum(d, path);

  // Everything is read and checked: from here on nothing fails.
  Workspace& w = workspace();
  if (reloaded) {
    store_spectrum(reloaded->spectrum, reloaded->path);
    if (reloaded->background && d.spectrum.background) {
      // The load's kernel sums with the values the session had (a background fitted with the
      // peaks changed its B and its mark).
      BackgroundRecord b = *d.spectrum.background;
      b.tougaard_sums = std::move(reloaded->background->tougaard_sums);
      b.tougaard_unit_sums = std::move(reloaded->background->tougaard_unit_sums);
      b.load = d.spectrum.raw_load;
      w.fit.background = std::move(b);
    } else {
      w.fit.background = std::move(reloaded->background);
    }
  } else {
    store_spectrum(LoadedSpectrum{}, "");
  }
  // Beyond the points nothing is read; cleared, they are as in a program that opened only this.
  for (std::int32_t i = 0; i <= 2000; ++i) w.XDATA.at(i) = 0;
  for (std::int32_t i = 0; i <= 1000; ++i) w.YDATA.at(i) = 0;
  for (std::size_t i = 0; i < d.spectrum.x.size(); ++i) {
    w.XDATA.at(static_cast<std::int32_t>(i)) = d.spectrum.x[i];
    w.YDATA.at(static_cast<std::int32_t>(i)) = d.spectrum.net[i];
  }
  w.LASTPOINT = static_cast<std::int16_t>(static_cast<int>(d.spectrum.x.size()) - 1);
  w.XMIN = d.spectrum.xmin;
  w.XMAX = d.spectrum.xmax;
  w.YMIN = d.spectrum.ymin;
  w.YMAX = d.spectrum.ymax;
  w.DATAXMIN = d.spectrum.data_xmin;
  w.DATAXMAX = d.spectrum.data_xmax;
  w.DATAYMIN = d.spectrum.data_ymin;
  w.DATAYMAX = d.spectrum.data_ymax;
  rt::set_text(EDIT(1), d.spectrum.target);

  apply_analysis_setup(d);
  if (d.raw_window) apply_raw_window(*d.raw_window);
  for (int k = 1; k <= kComponents; ++k)
    set_component_text(k, ComponentText::Ratio,
                       k <= static_cast<int>(d.components.size())
                           ? d.components[static_cast<std::size_t>(k - 1)].ratio
                           : std::string());
  rt::set_text(EDIT(42), d.total);
  rt::set_text(EDIT(9), d.position_x);
  rt::set_text(EDIT(10), d.position_y);
  rt::set_text(EDIT(11), d.x_axis_shift);
  set_weight_counts(d.weight_counts);

  // After the spectrum: a fit is recorded with the background its spectrum has.
  forget_fit();
  if (d.last_fit) record_fit(*d.last_fit);
}

bool open_analysis_from_chosen_file() {
  const std::string path = rt::open_file_dialog(rt::kNullRef, "解析の読込", "*.json", kFilter, 0);
  if (path == rt::kCancelMark) return false;
  open_analysis(path);
  return true;
}

void apply_analysis_setup(const AnalysisDocument& d) {
  apply_components(d);
  rt::set_check(CHECK(10), d.centre_column_lock);
  rt::set_check(CHECK(11), d.width_column_lock);
  rt::set_check(CHECK(12), d.height_column_lock);
  workspace().MIXRATIO = d.mixing_ratio;
  rt::set_text(EDIT(43), d.skip);
  set_active_background(d.active_background);
  apply_graph(d.graph);
  if (d.spectrum.raw) apply_raw_window(raw_window_of_load(d.spectrum.raw_load, false));
}

}  // namespace app
