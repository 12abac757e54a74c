#include "app/files/analysis_json.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>

#include "app/files/raw_errors.h"
#include "app/workspace/components.h"
#include "app/workspace/error_locations.h"
#include "app/workspace/peak_table.h"
#include "runtime/convert/integer_text.h"
#include "runtime/errors/runtime_error.h"

namespace app {
namespace {

using Json = nlohmann::ordered_json;

constexpr char kFormat[] = "tessaly analysis";
// A spectrum holds at most 1001 points; a fit's record has as many or fewer.
constexpr std::size_t kMaxPoints = 1001;
// Longer than any field or name a user types; a longer text is no field's.
constexpr std::size_t kMaxText = 4096;
// The document nests five deep; a far deeper one is damaged, and is refused before parsing.
constexpr int kMaxDepth = 32;

// ---- Writing ----

// JSON has no infinities or NaN: the few members that may hold one (a covariance, a share of
// nothing) write them as the words the report uses.
Json real(double v) {
  if (std::isfinite(v)) return v;
  if (std::isnan(v)) return "nan";
  return v > 0 ? "inf" : "-inf";
}

Json optional_real(const std::optional<double>& v) { return v ? real(*v) : Json(nullptr); }

template <class T>
Json reals(const std::vector<T>& values) {
  Json out = Json::array();
  for (T v : values) out.push_back(real(static_cast<double>(v)));
  return out;
}

Json parameter_json(const AnalysisParameter& p) {
  return {{"text", p.text},
          {"value", optional_real(p.value)},
          {"kept", p.kept},
          {"lock", p.lock},
          {"constraint", p.constraint}};
}

Json component_json(const AnalysisComponent& c) {
  return {{"label", c.label},
          {"name", c.name},
          {"centre", parameter_json(c.centre)},
          {"width", parameter_json(c.width)},
          {"height", parameter_json(c.height)},
          {"asymmetry",
           {{"text", c.alpha}, {"mode", c.asymmetric}, {"constraint", c.alpha_constraint}}},
          {"row_lock", c.row_lock},
          {"ratio", c.ratio}};
}

Json raw_load_json(const RawLoadSettings& s) {
  return {{"from", optional_real(s.from)},
          {"to", optional_real(s.to)},
          {"end_points", s.end_points},
          {"shirley", s.shirley},
          {"tougaard", s.tougaard},
          {"block", s.block},
          {"block_name", s.block_name},
          {"tougaard_b", optional_real(s.tougaard_b)},
          {"tougaard_c", real(s.tougaard_c)},
          {"tougaard_c_prime", real(s.tougaard_c_prime)},
          {"tougaard_d", real(s.tougaard_d)},
          {"low_offset", s.low_offset},
          {"high_offset", s.high_offset},
          {"excitation_energy", optional_real(s.excitation_energy)}};
}

Json background_json(const BackgroundRecord& b) {
  return {{"method", b.method},
          {"end_points", b.end_points},
          {"low_offset", b.low_offset},
          {"high_offset", b.high_offset},
          {"low_end_from", real(b.low_from)},
          {"low_end_to", real(b.low_to)},
          {"high_end_from", real(b.high_from)},
          {"high_end_to", real(b.high_to)},
          {"low_level", real(b.low_level)},
          {"high_level", real(b.high_level)},
          {"tougaard_b", real(b.tougaard_b)},
          {"tougaard_b_fitted", b.tougaard_b_fitted},
          {"tougaard_c", real(b.tougaard_c)},
          {"tougaard_c_prime", real(b.tougaard_c_prime)},
          {"tougaard_d", real(b.tougaard_d)},
          {"fitted_with_peaks", b.fitted_with_peaks},
          {"excitation_energy", real(b.excitation_energy)}};
}

constexpr const char* kForms[] = {"linear", "shirley", "tougaard"};
constexpr const char* kLinkKinds[] = {"offset", "ratio", "area_ratio"};

// A slot's links and bounds by parameter (centre, width, height); null where it has none.
Json links_json(const ModelSlot& s) {
  Json links = Json::array();
  for (const std::optional<SlotLink>& l : s.link) {
    if (!l) {
      links.push_back(nullptr);
      continue;
    }
    links.push_back({{"kind", kLinkKinds[static_cast<int>(l->kind)]},
                     {"source", l->source},
                     {"amount", real(l->amount)},
                     {"tolerance", l->tolerance},
                     {"low", real(l->low)},
                     {"high", real(l->high)}});
  }
  return links;
}
Json bounds_json(const ModelSlot& s) {
  Json bounds = Json::array();
  for (const auto& b : s.bounds)
    bounds.push_back(b ? Json{real((*b)[0]), real((*b)[1])} : Json(nullptr));
  return bounds;
}

Json fit_json(const FitRecord& r, const std::vector<std::string>& report) {
  const PeakModel& m = r.model;
  Json slots = Json::array();
  for (const ModelSlot& s : m.slots())
    slots.push_back({{"slot", s.slot},
                     {"centre", real(s.shape.centre)},
                     {"width", real(s.shape.width)},
                     {"height", real(s.shape.height)},
                     {"alpha", real(s.shape.alpha)},
                     {"asymmetric", s.shape.asymmetric},
                     {"free", {{"centre", s.free[0]}, {"width", s.free[1]}, {"height", s.free[2]}}},
                     {"links", links_json(s)},
                     {"bounds", bounds_json(s)}});
  Json background = nullptr;
  if (const auto& b = m.active_background())
    background = {{"form", kForms[static_cast<int>(b->form)]},
                  {"along", reals(b->along)},
                  {"span", reals(b->span)},
                  {"values", reals(b->values)}};
  return {{"method", r.method},
          {"report", report},
          // 4m is exact, so the fraction comes back as the model was made with it.
          {"model",
           {{"mixing_ratio", real(m.constants().lorentz / 4)},
            {"x", reals(m.x())},
            {"y", reals(m.y())},
            {"inverse_sigmas", reals(m.inverse_sigmas())},
            {"slots", slots},
            {"background", background}}},
          {"covariance", reals(r.covariance)},
          {"window_x", reals(r.window_x)},
          {"names", r.names},
          {"rules", r.rules},
          {"species", r.species}};
}

// ---- Reading ----

// Reads members and refuses, naming the file and the member, whatever does not fit.
class Reader {
 public:
  explicit Reader(const std::string& file) : file_(file) {}

  [[noreturn]] void fail(AnalysisCheck check, const std::string& what) const {
    rt::raise_error_with_detail(rt::kInvalidArgument,
                                file_ + ": " + what + ". Nothing was changed.", location(check));
  }
  [[noreturn]] void wrong(const std::string& where, const std::string& why) const {
    fail(AnalysisCheck::BadValue, where + " " + why);
  }

  const Json& member(const Json& object, const std::string& where, const char* key) const {
    if (!object.is_object()) wrong(where.empty() ? "the document" : where, "is not an object");
    const auto it = object.find(key);
    if (it == object.end()) wrong(where.empty() ? key : where + "." + key, "is missing");
    return *it;
  }

  bool boolean(const Json& j, const std::string& where) const {
    if (!j.is_boolean()) wrong(where, "is not true or false");
    return j.get<bool>();
  }

  std::int64_t integer(const Json& j, const std::string& where, std::int64_t low,
                       std::int64_t high) const {
    if (!j.is_number_integer()) wrong(where, "is not a whole number");
    if (j.is_number_unsigned() && j.get<std::uint64_t>() > std::uint64_t{1} << 62)
      wrong(where, "is far out of its range");
    const auto v = j.get<std::int64_t>();
    if (v < low || v > high)
      wrong(where, "is " + rt::decimal_text(v) + ", not between " + rt::decimal_text(low) +
                       " and " + rt::decimal_text(high));
    return v;
  }
  int count(const Json& j, const std::string& where, int low, int high) const {
    return static_cast<int>(integer(j, where, low, high));
  }
  int check_state(const Json& j, const std::string& where) const { return count(j, where, 0, 2); }

  // A finite number; with `words`, also "inf", "-inf" or "nan".
  double number(const Json& j, const std::string& where, bool words = false) const {
    if (j.is_number()) {
      const double v = j.get<double>();
      if (std::isfinite(v)) return v;
    }
    if (words && j.is_string()) {
      const auto& s = j.get_ref<const std::string&>();
      if (s == "inf") return std::numeric_limits<double>::infinity();
      if (s == "-inf") return -std::numeric_limits<double>::infinity();
      if (s == "nan") return std::numeric_limits<double>::quiet_NaN();
    }
    wrong(where, words ? "is not a number" : "is not a finite number");
  }
  std::optional<double> optional_number(const Json& j, const std::string& where) const {
    if (j.is_null()) return std::nullopt;
    return number(j, where);
  }
  float single(const Json& j, const std::string& where) const {
    const double v = number(j, where);
    if (std::fabs(v) > static_cast<double>(std::numeric_limits<float>::max()))
      wrong(where, "is beyond single precision");
    return static_cast<float>(v);
  }
  double in_range(const Json& j, const std::string& where, double low, double high) const {
    const double v = number(j, where);
    if (v < low || v > high) wrong(where, "is out of its range");
    return v;
  }

  // One line of text, as a field holds it.
  std::string text(const Json& j, const std::string& where) const {
    if (!j.is_string()) wrong(where, "is not a text");
    const auto& s = j.get_ref<const std::string&>();
    if (s.size() > kMaxText) wrong(where, "is longer than any field holds");
    for (unsigned char c : s)
      if (c < 0x20 || c == 0x7f) wrong(where, "holds a line end or another control character");
    return s;
  }
  std::string word(const Json& j, const std::string& where,
                   std::initializer_list<const char*> allowed) const {
    const std::string s = text(j, where);
    std::string list;
    for (const char* a : allowed) {
      if (s == a) return s;
      list += std::string(list.empty() ? "" : ", ") + a;
    }
    wrong(where, "is " + app::quoted(s) + ", not one of " + list);
  }

  const Json& array(const Json& j, const std::string& where, std::size_t most) const {
    if (!j.is_array()) wrong(where, "is not a list");
    if (j.size() > most)
      wrong(where, "has " + rt::decimal_text(static_cast<std::int64_t>(j.size())) +
                       " entries, more than " + rt::decimal_text(static_cast<std::int64_t>(most)));
    return j;
  }
  template <class T>
  std::vector<T> numbers(const Json& j, const std::string& where, std::size_t most,
                         bool words = false) const {
    std::vector<T> out;
    std::size_t n = 0;
    for (const Json& e : array(j, where, most)) {
      const std::string at = where + "[" + rt::decimal_text(static_cast<std::int64_t>(n++)) + "]";
      if constexpr (std::is_same_v<T, float>)
        out.push_back(single(e, at));
      else
        out.push_back(number(e, at, words));
    }
    return out;
  }

 private:
  std::string file_;
};

// A slot's links and bounds (a document without them has none): each link's source another
// entry of the model, each bound an interval.
void read_links_and_bounds(const Reader& r, const Json& e, const std::string& sw, ModelSlot& s) {
  if (e.contains("links")) {
    const Json& links = r.array(e["links"], sw + ".links", 3);
    if (links.size() != 3) r.wrong(sw + ".links", "does not have one entry per parameter");
    for (std::size_t p = 0; p < 3; ++p) {
      const Json& j = links[p];
      if (j.is_null()) continue;
      const std::string lw = sw + ".links[" + rt::decimal_text(static_cast<std::int64_t>(p)) + "]";
      SlotLink l;
      const std::string kind =
          r.word(r.member(j, lw, "kind"), lw + ".kind", {"offset", "ratio", "area_ratio"});
      l.kind = kind == "offset"  ? SlotLink::Kind::Offset
               : kind == "ratio" ? SlotLink::Kind::Ratio
                                 : SlotLink::Kind::AreaRatio;
      l.source = static_cast<std::size_t>(
          r.integer(r.member(j, lw, "source"), lw + ".source", 0, kComponents - 1));
      l.amount = r.number(r.member(j, lw, "amount"), lw + ".amount");
      l.tolerance = r.boolean(r.member(j, lw, "tolerance"), lw + ".tolerance");
      l.low = r.number(r.member(j, lw, "low"), lw + ".low");
      l.high = r.number(r.member(j, lw, "high"), lw + ".high");
      if (l.tolerance && !(l.low <= l.amount && l.amount <= l.high))
        r.wrong(lw, "has an amount outside its tolerance");
      if (s.free[p]) r.wrong(lw, "links a parameter that is also free");
      s.link[p] = l;
    }
  }
  if (e.contains("bounds")) {
    const Json& bounds = r.array(e["bounds"], sw + ".bounds", 3);
    if (bounds.size() != 3) r.wrong(sw + ".bounds", "does not have one entry per parameter");
    for (std::size_t p = 0; p < 3; ++p) {
      if (bounds[p].is_null()) continue;
      const std::string bw = sw + ".bounds[" + rt::decimal_text(static_cast<std::int64_t>(p)) + "]";
      const std::vector<double> b = r.numbers<double>(bounds[p], bw, 2);
      if (b.size() != 2 || !(b[0] < b[1])) r.wrong(bw, "is not an interval low < high");
      s.bounds[p] = std::array<double, 2>{b[0], b[1]};
    }
  }
}

// Every link names another entry of the model, and no chain of links comes back to where it
// started (the model follows them in order).
void check_link_sources(const Reader& r, const std::string& where,
                        const std::vector<ModelSlot>& slots) {
  for (std::size_t s = 0; s < slots.size(); ++s)
    for (std::size_t p = 0; p < 3; ++p) {
      std::size_t at = s;
      for (std::size_t steps = 0; slots[at].link[p]; ++steps) {
        at = slots[at].link[p]->source;
        if (at >= slots.size() || at == s || steps > slots.size())
          r.wrong(where, "holds a link to no other entry, or links that come round in a circle");
      }
    }
}

AnalysisParameter read_parameter(const Reader& r, const Json& j, const std::string& where) {
  AnalysisParameter p;
  p.text = r.text(r.member(j, where, "text"), where + ".text");
  p.value = r.optional_number(r.member(j, where, "value"), where + ".value");
  p.kept = r.boolean(r.member(j, where, "kept"), where + ".kept");
  if (p.kept && !p.value) r.wrong(where + ".value", "is missing for a kept value");
  p.lock = r.check_state(r.member(j, where, "lock"), where + ".lock");
  p.constraint = r.text(r.member(j, where, "constraint"), where + ".constraint");
  return p;
}

bool empty_component(const AnalysisComponent& c) {
  const auto empty = [](const AnalysisParameter& p) {
    return p.text.empty() && !p.kept && p.lock == 0 && p.constraint.empty();
  };
  return c.name.empty() && empty(c.centre) && empty(c.width) && empty(c.height) &&
         c.alpha.empty() && c.alpha_constraint.empty() && c.asymmetric == 0 && c.row_lock == 0 &&
         c.ratio.empty();
}

AnalysisComponent read_component(const Reader& r, const Json& j, int k) {
  const std::string where = "components[" + rt::decimal_text(k - 1) + "]";
  AnalysisComponent c;
  c.label = r.text(r.member(j, where, "label"), where + ".label");
  const char expected = static_cast<char>('A' + k - 1);
  if (c.label != std::string(1, expected))
    r.wrong(where + ".label",
            "is " + app::quoted(c.label) + " where " + std::string(1, expected) + " belongs");
  c.name = r.text(r.member(j, where, "name"), where + ".name");
  c.centre = read_parameter(r, r.member(j, where, "centre"), where + ".centre");
  c.width = read_parameter(r, r.member(j, where, "width"), where + ".width");
  c.height = read_parameter(r, r.member(j, where, "height"), where + ".height");
  const std::string a = where + ".asymmetry";
  const Json& asymmetry = r.member(j, where, "asymmetry");
  c.alpha = r.text(r.member(asymmetry, a, "text"), a + ".text");
  c.asymmetric = r.check_state(r.member(asymmetry, a, "mode"), a + ".mode");
  c.alpha_constraint = r.text(r.member(asymmetry, a, "constraint"), a + ".constraint");
  c.row_lock = r.check_state(r.member(j, where, "row_lock"), where + ".row_lock");
  c.ratio = r.text(r.member(j, where, "ratio"), where + ".ratio");

  if (k > kComponents && !empty_component(c))
    r.wrong("component " + c.label, "holds values, and this program has room for " +
                                        rt::decimal_text(kComponents) + " components");
  // A constraint must read as one; whether its links fit the table is the cell's own check
  // when the document is applied.
  const auto check_rule = [&](app::RuleParam cell, const std::string& value, const char* what) {
    if (value.empty()) return;
    const app::ParsedRule parsed = app::parse_constraint(value, cell);
    if (!parsed.rule)
      r.wrong("component " + c.label,
              std::string("has the ") + what + " " + app::quoted(value) + ": " + parsed.why);
  };
  check_rule(app::RuleParam::Centre, c.centre.constraint, "centre constraint");
  check_rule(app::RuleParam::Width, c.width.constraint, "width constraint");
  check_rule(app::RuleParam::Height, c.height.constraint, "height constraint");
  check_rule(app::RuleParam::Alpha, c.alpha_constraint, "asymmetry constraint");
  // Components G to T have no lock boxes: their lock is the "fix" rule.
  if (k > app::kSlots && (c.centre.lock || c.width.lock || c.height.lock || c.row_lock))
    r.wrong("component " + c.label, "has a lock box set, and only A to F have lock boxes");
  return c;
}

RawLoadSettings read_raw_load(const Reader& r, const Json& j, const std::string& where) {
  const auto m = [&](const char* key) -> const Json& { return r.member(j, where, key); };
  const auto at = [&](const char* key) { return where + "." + key; };
  RawLoadSettings s;
  s.from = r.optional_number(m("from"), at("from"));
  s.to = r.optional_number(m("to"), at("to"));
  s.end_points = r.count(m("end_points"), at("end_points"), 1, 1'000'000);
  s.shirley = r.boolean(m("shirley"), at("shirley"));
  s.tougaard = r.boolean(m("tougaard"), at("tougaard"));
  s.block = r.count(m("block"), at("block"), 1, 1'000'000);
  s.block_name = r.text(m("block_name"), at("block_name"));
  s.tougaard_b = r.optional_number(m("tougaard_b"), at("tougaard_b"));
  s.tougaard_c = r.number(m("tougaard_c"), at("tougaard_c"));
  s.tougaard_c_prime = r.number(m("tougaard_c_prime"), at("tougaard_c_prime"));
  s.tougaard_d = r.number(m("tougaard_d"), at("tougaard_d"));
  s.low_offset = r.count(m("low_offset"), at("low_offset"), 0, 1'000'000);
  s.high_offset = r.count(m("high_offset"), at("high_offset"), 0, 1'000'000);
  s.excitation_energy = r.optional_number(m("excitation_energy"), at("excitation_energy"));
  return s;
}

BackgroundRecord read_background(const Reader& r, const Json& j, const std::string& where) {
  const auto m = [&](const char* key) -> const Json& { return r.member(j, where, key); };
  const auto at = [&](const char* key) { return where + "." + key; };
  BackgroundRecord b;
  b.method = r.word(m("method"), at("method"), {"linear", "shirley", "tougaard"});
  b.end_points = r.count(m("end_points"), at("end_points"), 0, 1'000'000);
  b.low_offset = r.count(m("low_offset"), at("low_offset"), 0, 1'000'000);
  b.high_offset = r.count(m("high_offset"), at("high_offset"), 0, 1'000'000);
  b.low_from = r.number(m("low_end_from"), at("low_end_from"));
  b.low_to = r.number(m("low_end_to"), at("low_end_to"));
  b.high_from = r.number(m("high_end_from"), at("high_end_from"));
  b.high_to = r.number(m("high_end_to"), at("high_end_to"));
  b.low_level = r.number(m("low_level"), at("low_level"));
  b.high_level = r.number(m("high_level"), at("high_level"));
  b.tougaard_b = r.number(m("tougaard_b"), at("tougaard_b"));
  b.tougaard_b_fitted = r.boolean(m("tougaard_b_fitted"), at("tougaard_b_fitted"));
  b.tougaard_c = r.number(m("tougaard_c"), at("tougaard_c"));
  b.tougaard_c_prime = r.number(m("tougaard_c_prime"), at("tougaard_c_prime"));
  b.tougaard_d = r.number(m("tougaard_d"), at("tougaard_d"));
  b.fitted_with_peaks = r.boolean(m("fitted_with_peaks"), at("fitted_with_peaks"));
  b.excitation_energy = r.number(m("excitation_energy"), at("excitation_energy"));
  return b;
}

AnalysisSpectrum read_spectrum(const Reader& r, const Json& j) {
  const std::string where = "spectrum";
  const auto m = [&](const char* key) -> const Json& { return r.member(j, where, key); };
  AnalysisSpectrum s;
  const Json& path = m("path");
  if (!path.is_null()) {
    s.path = r.text(path, "spectrum.path");
    if (s.path.empty()) r.wrong("spectrum.path", "is empty");
    s.raw = r.word(m("load"), "spectrum.load", {"record", "raw"}) == "raw";
    if (s.raw) {
      s.raw_load = read_raw_load(r, m("raw"), "spectrum.raw");
      if (const Json& b = m("background"); !b.is_null())
        s.background = read_background(r, b, "spectrum.background");
    }
  }
  s.target = r.text(m("target"), "spectrum.target");
  const Json& points = m("points");
  s.x = r.numbers<float>(r.member(points, "spectrum.points", "x"), "spectrum.points.x", kMaxPoints);
  s.net = r.numbers<float>(r.member(points, "spectrum.points", "net"), "spectrum.points.net",
                           kMaxPoints);
  if (s.x.size() != s.net.size())
    r.wrong("spectrum.points",
            "has " + rt::decimal_text(static_cast<std::int64_t>(s.x.size())) + " x values but " +
                rt::decimal_text(static_cast<std::int64_t>(s.net.size())) + " net values");
  const Json& ranges = m("ranges");
  const auto range = [&](const char* key) { return r.member(ranges, "spectrum.ranges", key); };
  const auto at = [](const char* key) { return std::string("spectrum.ranges.") + key; };
  s.xmin = r.single(range("x_min"), at("x_min"));
  s.xmax = r.single(range("x_max"), at("x_max"));
  s.ymin = r.single(range("y_min"), at("y_min"));
  s.ymax = r.number(range("y_max"), at("y_max"));
  s.data_xmin = r.single(range("data_x_min"), at("data_x_min"));
  s.data_xmax = r.single(range("data_x_max"), at("data_x_max"));
  s.data_ymin = r.single(range("data_y_min"), at("data_y_min"));
  s.data_ymax = r.number(range("data_y_max"), at("data_y_max"));
  return s;
}

AnalysisGraph read_graph(const Reader& r, const Json& j) {
  AnalysisGraph g;
  const auto axis = [&](const char* name, int& user, std::string& from, std::string& to,
                        std::string& step) {
    const std::string where = std::string("graph.") + name;
    const Json& a = r.member(j, "graph", name);
    user = r.check_state(r.member(a, where, "user_range"), where + ".user_range");
    from = r.text(r.member(a, where, "from"), where + ".from");
    to = r.text(r.member(a, where, "to"), where + ".to");
    step = r.text(r.member(a, where, "step"), where + ".step");
  };
  axis("x", g.x_user_range, g.x_from, g.x_to, g.x_step);
  axis("y", g.y_user_range, g.y_from, g.y_to, g.y_step);
  return g;
}

AnalysisRawWindow read_raw_window(const Reader& r, const Json& j) {
  const std::string where = "raw_window";
  const auto m = [&](const char* key) -> const Json& { return r.member(j, where, key); };
  const auto t = [&](const char* key) { return r.text(m(key), where + "." + key); };
  AnalysisRawWindow w;
  w.shown = r.boolean(m("shown"), "raw_window.shown");
  w.x_from = t("x_from");
  w.x_to = t("x_to");
  w.end_points = t("end_points");
  w.shirley = r.check_state(m("shirley"), "raw_window.shirley");
  w.block = t("block");
  w.tougaard = r.check_state(m("tougaard"), "raw_window.tougaard");
  w.tougaard_b = t("tougaard_b");
  w.tougaard_c = t("tougaard_c");
  w.tougaard_c_prime = t("tougaard_c_prime");
  w.tougaard_d = t("tougaard_d");
  w.low_offset = t("low_offset");
  w.high_offset = t("high_offset");
  w.excitation_energy = t("excitation_energy");
  return w;
}

FitRecord read_fit(const Reader& r, const Json& j, std::vector<std::string>& report) {
  const std::string where = "last_fit";
  FitRecord f;
  f.method = r.word(r.member(j, where, "method"), "last_fit.method", {"refine", "fitting"});
  std::size_t n = 0;
  for (const Json& line : r.array(r.member(j, where, "report"), "last_fit.report", 10'000))
    report.push_back(
        r.text(line, "last_fit.report[" + rt::decimal_text(static_cast<std::int64_t>(n++)) + "]"));

  const std::string mw = "last_fit.model";
  const Json& model = r.member(j, where, "model");
  const auto m = [&](const char* key) -> const Json& { return r.member(model, mw, key); };
  const double mix = r.in_range(m("mixing_ratio"), mw + ".mixing_ratio", 0, 1);
  std::vector<double> x = r.numbers<double>(m("x"), mw + ".x", kMaxPoints);
  std::vector<double> y = r.numbers<double>(m("y"), mw + ".y", kMaxPoints);
  std::vector<double> inverse_sigmas =
      r.numbers<double>(m("inverse_sigmas"), mw + ".inverse_sigmas", kMaxPoints);
  if (y.size() != x.size()) r.wrong(mw + ".y", "does not have one value per x");
  if (!inverse_sigmas.empty() && inverse_sigmas.size() != x.size())
    r.wrong(mw + ".inverse_sigmas", "does not have one value per x");
  for (double s : inverse_sigmas)
    if (!(s > 0)) r.wrong(mw + ".inverse_sigmas", "holds a value that is not above 0");

  std::vector<ModelSlot> slots;
  std::size_t index = 0;
  const auto max_slots = static_cast<std::size_t>(kComponents);
  for (const Json& e : r.array(m("slots"), mw + ".slots", max_slots)) {
    const std::string sw =
        mw + ".slots[" + rt::decimal_text(static_cast<std::int64_t>(index++)) + "]";
    const auto sm = [&](const char* key) -> const Json& { return r.member(e, sw, key); };
    ModelSlot s;
    s.slot = r.count(sm("slot"), sw + ".slot", 1, kComponents);
    if (!slots.empty() && s.slot <= slots.back().slot)
      r.wrong(sw + ".slot", "does not follow the slot before it");
    s.shape.centre = r.number(sm("centre"), sw + ".centre");
    s.shape.width = r.number(sm("width"), sw + ".width");
    s.shape.height = r.number(sm("height"), sw + ".height");
    s.shape.alpha = r.number(sm("alpha"), sw + ".alpha");
    s.shape.asymmetric = r.boolean(sm("asymmetric"), sw + ".asymmetric");
    const Json& free = sm("free");
    s.free = {r.boolean(r.member(free, sw + ".free", "centre"), sw + ".free.centre"),
              r.boolean(r.member(free, sw + ".free", "width"), sw + ".free.width"),
              r.boolean(r.member(free, sw + ".free", "height"), sw + ".free.height")};
    read_links_and_bounds(r, e, sw, s);
    slots.push_back(s);
  }
  check_link_sources(r, mw + ".slots", slots);
  std::vector<double> measured = y;
  PeakModel peak_model(std::move(x), std::move(y), std::move(slots), mix);
  const Json& background = m("background");
  if (!background.is_null()) {
    const std::string bw = mw + ".background";
    ActiveBackground b;
    const std::string form =
        r.word(r.member(background, bw, "form"), bw + ".form", {"linear", "shirley", "tougaard"});
    b.form = form == "linear"    ? ActiveBackground::Form::Linear
             : form == "shirley" ? ActiveBackground::Form::Shirley
                                 : ActiveBackground::Form::Tougaard;
    b.along = r.numbers<double>(r.member(background, bw, "along"), bw + ".along", kMaxPoints);
    b.span = r.numbers<double>(r.member(background, bw, "span"), bw + ".span", kMaxPoints);
    b.values = r.numbers<double>(r.member(background, bw, "values"), bw + ".values", 2);
    if (b.along.size() != measured.size() || b.span.size() != measured.size())
      r.wrong(bw, "does not have one value per x");
    if (b.values.size() != b.parameter_count()) r.wrong(bw + ".values", "does not hold 2 values");
    peak_model.set_active_background(std::move(b), std::move(measured));
  }
  if (!inverse_sigmas.empty()) peak_model.set_inverse_sigmas(std::move(inverse_sigmas));
  f.model = std::move(peak_model);

  const auto free = static_cast<std::size_t>(f.model.free_count());
  f.covariance =
      r.numbers<double>(r.member(j, where, "covariance"), "last_fit.covariance", free * free, true);
  if (!f.covariance.empty() && f.covariance.size() != free * free)
    r.wrong("last_fit.covariance", "is not empty and not a square of the free parameters");
  f.window_x = r.numbers<double>(r.member(j, where, "window_x"), "last_fit.window_x", kMaxPoints);
  // The components' names and rules as the fit found them (a document without them has none).
  const std::size_t entries = f.model.slots().size();
  for (auto [key, list] : {std::pair{"names", &f.names}, std::pair{"rules", &f.rules}}) {
    if (!j.contains(key)) continue;
    const std::string lw = std::string("last_fit.") + key;
    std::size_t at = 0;
    for (const Json& e : r.array(j[key], lw, entries))
      list->push_back(
          r.text(e, lw + "[" + rt::decimal_text(static_cast<std::int64_t>(at++)) + "]"));
    if (!list->empty() && list->size() != entries) r.wrong(lw, "does not have one entry per slot");
  }
  if (j.contains("species")) f.species = r.boolean(j["species"], "last_fit.species");
  // The report is made from the record whenever it is shown: a record it cannot be made from
  // is refused now, not after the session was replaced.
  try {
    (void)fit_report_lines(make_fit_report(f));
  } catch (const rt::RuntimeError&) {
    r.wrong("last_fit", "makes no report (its numbers do not describe a fit)");
  }
  return f;
}

// The deepest nesting of brackets outside strings, counted before parsing so that a damaged
// document of thousands of brackets costs no more than a scan.
int nesting_depth(std::string_view bytes) {
  int depth = 0, deepest = 0;
  bool in_string = false, escaped = false;
  for (char c : bytes) {
    if (in_string) {
      if (escaped)
        escaped = false;
      else if (c == '\\')
        escaped = true;
      else if (c == '"')
        in_string = false;
    } else if (c == '"') {
      in_string = true;
    } else if (c == '{' || c == '[') {
      deepest = std::max(deepest, ++depth);
      if (deepest > kMaxDepth) return deepest;
    } else if (c == '}' || c == ']') {
      --depth;
    }
  }
  return deepest;
}

// The parser's message without its prefix, in printable ASCII.
std::string parse_message(const char* what) {
  std::string s = what;
  const std::size_t close = s.find("] ");
  if (s.rfind("[json.exception", 0) == 0 && close != std::string::npos) s.erase(0, close + 2);
  for (char& c : s)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f) c = '?';
  if (s.size() > 200) s.resize(200);
  return s;
}

}  // namespace

std::string analysis_json_text(const AnalysisDocument& d) {
  Json spectrum = {{"path", d.spectrum.path.empty() ? Json(nullptr) : Json(d.spectrum.path)}};
  if (!d.spectrum.path.empty()) {
    spectrum["load"] = d.spectrum.raw ? "raw" : "record";
    if (d.spectrum.raw) {
      spectrum["raw"] = raw_load_json(d.spectrum.raw_load);
      spectrum["background"] =
          d.spectrum.background ? background_json(*d.spectrum.background) : Json(nullptr);
    }
  }
  spectrum["target"] = d.spectrum.target;
  spectrum["points"] = {{"x", reals(d.spectrum.x)}, {"net", reals(d.spectrum.net)}};
  spectrum["ranges"] = {
      {"x_min", real(d.spectrum.xmin)},           {"x_max", real(d.spectrum.xmax)},
      {"y_min", real(d.spectrum.ymin)},           {"y_max", real(d.spectrum.ymax)},
      {"data_x_min", real(d.spectrum.data_xmin)}, {"data_x_max", real(d.spectrum.data_xmax)},
      {"data_y_min", real(d.spectrum.data_ymin)}, {"data_y_max", real(d.spectrum.data_ymax)}};

  Json components = Json::array();
  for (const AnalysisComponent& c : d.components) components.push_back(component_json(c));

  Json raw_window = nullptr;
  if (const auto& w = d.raw_window)
    raw_window = {{"shown", w->shown},
                  {"x_from", w->x_from},
                  {"x_to", w->x_to},
                  {"end_points", w->end_points},
                  {"shirley", w->shirley},
                  {"block", w->block},
                  {"tougaard", w->tougaard},
                  {"tougaard_b", w->tougaard_b},
                  {"tougaard_c", w->tougaard_c},
                  {"tougaard_c_prime", w->tougaard_c_prime},
                  {"tougaard_d", w->tougaard_d},
                  {"low_offset", w->low_offset},
                  {"high_offset", w->high_offset},
                  {"excitation_energy", w->excitation_energy}};

  const auto axis = [](int user, const std::string& from, const std::string& to,
                       const std::string& step) {
    return Json{{"user_range", user}, {"from", from}, {"to", to}, {"step", step}};
  };
  const Json document = {
      {"format", kFormat},
      {"version", d.version},
      {"spectrum", spectrum},
      {"components", components},
      {"peak_table",
       {{"total", d.total},
        {"position_x", d.position_x},
        {"position_y", d.position_y},
        {"x_axis_shift", d.x_axis_shift},
        {"column_locks",
         {{"centre", d.centre_column_lock},
          {"width", d.width_column_lock},
          {"height", d.height_column_lock}}}}},
      {"fit",
       {{"mixing_ratio", real(d.mixing_ratio)},
        {"skip", d.skip},
        {"weighting", d.weight_counts ? "counts" : "none"},
        {"background_with_peaks", d.active_background}}},
      {"graph",
       {{"x", axis(d.graph.x_user_range, d.graph.x_from, d.graph.x_to, d.graph.x_step)},
        {"y", axis(d.graph.y_user_range, d.graph.y_from, d.graph.y_to, d.graph.y_step)}}},
      {"raw_window", raw_window},
      {"last_fit", d.last_fit ? fit_json(*d.last_fit, d.report) : Json(nullptr)},
  };
  // Every character beyond ASCII escaped: the file's bytes are then the same whatever code page
  // they pass through, and still UTF-8 JSON.
  return document.dump(1, ' ', true, Json::error_handler_t::replace);
}

bool looks_like_json(std::string_view bytes) {
  for (char c : bytes) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    return c == '{';
  }
  return false;
}

AnalysisDocument parse_analysis(std::string_view bytes, const std::string& file_name) {
  const Reader r(file_name);
  if (bytes.size() > kMaxAnalysisBytes)
    r.fail(AnalysisCheck::TooLarge, "the file is far too large for an analysis file");
  if (nesting_depth(bytes) > kMaxDepth)
    r.fail(AnalysisCheck::Damaged, "the file is damaged: its brackets nest far too deep");
  Json j;
  try {
    j = Json::parse(bytes);
  } catch (const Json::exception& e) {
    r.fail(AnalysisCheck::Damaged, "the file is damaged or not JSON: " + parse_message(e.what()));
  }
  if (!j.is_object() || !j.contains("format") || j["format"] != kFormat)
    r.fail(AnalysisCheck::Damaged,
           "this is not an analysis file (it has no \"format\": \"tessaly analysis\")");
  AnalysisDocument d;
  const Json& version = r.member(j, "", "version");
  if (!version.is_number_integer() || version.get<std::int64_t>() < 1)
    r.wrong("version", "is not a whole number of 1 or more");
  if (version.get<std::int64_t>() > kAnalysisVersion)
    r.fail(AnalysisCheck::LaterVersion,
           "the file is of version " + rt::decimal_text(version.get<std::int64_t>()) +
               ", written by a later program; this one reads versions up to " +
               rt::decimal_text(kAnalysisVersion));
  d.version = static_cast<int>(version.get<std::int64_t>());
  d.spectrum = read_spectrum(r, r.member(j, "", "spectrum"));

  const Json& components = r.member(j, "", "components");
  int k = 0;
  for (const Json& c : r.array(components, "components", 26))
    d.components.push_back(read_component(r, c, ++k));

  const Json& table = r.member(j, "", "peak_table");
  const auto tm = [&](const char* key) -> const Json& {
    return r.member(table, "peak_table", key);
  };
  d.total = r.text(tm("total"), "peak_table.total");
  d.position_x = r.text(tm("position_x"), "peak_table.position_x");
  d.position_y = r.text(tm("position_y"), "peak_table.position_y");
  d.x_axis_shift = r.text(tm("x_axis_shift"), "peak_table.x_axis_shift");
  const Json& columns = tm("column_locks");
  const std::string cw = "peak_table.column_locks";
  d.centre_column_lock = r.check_state(r.member(columns, cw, "centre"), cw + ".centre");
  d.width_column_lock = r.check_state(r.member(columns, cw, "width"), cw + ".width");
  d.height_column_lock = r.check_state(r.member(columns, cw, "height"), cw + ".height");

  const Json& fit = r.member(j, "", "fit");
  d.mixing_ratio = r.in_range(r.member(fit, "fit", "mixing_ratio"), "fit.mixing_ratio", 0, 1);
  d.skip = r.text(r.member(fit, "fit", "skip"), "fit.skip");
  d.weight_counts =
      r.word(r.member(fit, "fit", "weighting"), "fit.weighting", {"counts", "none"}) == "counts";
  d.active_background =
      r.boolean(r.member(fit, "fit", "background_with_peaks"), "fit.background_with_peaks");

  d.graph = read_graph(r, r.member(j, "", "graph"));
  if (const Json& w = r.member(j, "", "raw_window"); !w.is_null())
    d.raw_window = read_raw_window(r, w);
  if (const Json& f = r.member(j, "", "last_fit"); !f.is_null())
    d.last_fit = read_fit(r, f, d.report);
  return d;
}

}  // namespace app
