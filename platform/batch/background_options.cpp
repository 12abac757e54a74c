#include "platform/batch/background_options.h"

#include "forms/named_controls.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace batch {
namespace {

bool finite_number(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && ptr == end && std::isfinite(value);
}

bool whole_offset(const std::string& text) {
  long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && ptr == end && value >= 0 && value <= 1000000;
}

std::string lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

// Splits "a<sep>b<sep>c" into its parts.
std::vector<std::string> parts(const std::string& text, char sep) {
  std::vector<std::string> out(1);
  for (char c : text) {
    if (c == sep)
      out.emplace_back();
    else
      out.back() += c;
  }
  return out;
}

}  // namespace

bool read_background_option(const std::string& name, const std::string& value, BackgroundOptions& o,
                            std::string& error) {
  const std::string quoted = "\"" + value + "\"";
  double v = 0;
  if (name == "--background") {
    const std::string method = lower(value);
    if (method != "linear" && method != "shirley" && method != "tougaard") {
      error = "--background takes linear, shirley or tougaard, not " + quoted;
      return false;
    }
    o.method = method;
  } else if (name == "--tougaard-b") {
    if (!finite_number(value, v) || v < 0) {
      error = "--tougaard-b takes a number of 0 or more (absent: fitted), not " + quoted;
      return false;
    }
    o.tougaard_b = value;
  } else if (name == "--kernel") {
    // The universal cross-section, SiO2's three-parameter one, or C,C',D.
    const std::string key = lower(value);
    std::vector<std::string> k;
    if (key == "universal")
      k = {"1643", "1", "0"};
    else if (key == "sio2")
      k = {"542", "-1", "275"};
    else
      k = parts(value, ',');
    double c = 0, cp = 0, d = 0;
    if (k.size() != 3 || !finite_number(k[0], c) || !finite_number(k[1], cp) ||
        !finite_number(k[2], d)) {
      error = "--kernel takes universal, sio2 or three numbers C,C',D, not " + quoted;
      return false;
    }
    o.c = k[0], o.c_prime = k[1], o.d = k[2];
  } else if (name == "--offsets") {
    const std::vector<std::string> ends = parts(value, ':');
    if (ends.size() != 2 || !whole_offset(ends[0]) || !whole_offset(ends[1])) {
      error = "--offsets takes LOW:HIGH, points skipped at each end (0 or more), not " + quoted;
      return false;
    }
    o.low_offset = ends[0], o.high_offset = ends[1];
  } else if (name == "--excitation") {
    const std::string key = lower(value);
    if (key == "al" || key == "alka")
      o.excitation = "1486.6";
    else if (key == "mg" || key == "mgka")
      o.excitation = "1253.6";
    else if (finite_number(value, v) && v > 0)
      o.excitation = value;
    else {
      error = "--excitation takes an energy above 0 eV, alka or mgka, not " + quoted;
      return false;
    }
  } else {
    error = "unknown option " + name;
    return false;
  }
  return true;
}

std::string background_inconsistency(const BackgroundOptions& o, bool linear) {
  if (linear && o.method && *o.method != "linear")
    return "--linear and --background " + *o.method + " disagree";
  if ((o.tougaard_b || o.c) && o.method != "tougaard")
    return "--tougaard-b and --kernel need --background tougaard";
  return "";
}

std::vector<actions::UserAction> background_steps(const BackgroundOptions& o) {
  using actions::ActionKind;
  std::vector<actions::UserAction> steps;
  const auto set = [&](forms::ControlName c, const std::string& text) {
    steps.push_back(
        actions::make_action(ActionKind::Set, actions::qualified_name(c.form, c.control), text));
  };
  const auto check = [&](forms::ControlName c, int state) {
    actions::UserAction a =
        actions::make_action(ActionKind::Check, actions::qualified_name(c.form, c.control));
    a.state = state;
    steps.push_back(std::move(a));
  };
  if (o.method == "linear") check(forms::kRawShirleyBox, 0);
  if (o.method == "shirley") check(forms::kRawShirleyBox, 1);
  if (o.method == "tougaard") check(forms::kRawTougaardBox, 1);
  if (o.tougaard_b) set(forms::kRawTougaardB, *o.tougaard_b);
  if (o.c) {
    set(forms::kRawKernelC, *o.c);
    set(forms::kRawKernelCPrime, *o.c_prime);
    set(forms::kRawKernelD, *o.d);
  }
  if (o.low_offset) {
    set(forms::kRawLowOffset, *o.low_offset);
    set(forms::kRawHighOffset, *o.high_offset);
  }
  if (o.excitation) set(forms::kRawExcitation, *o.excitation);
  return steps;
}

}  // namespace batch
