#include "app/model/doublet.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "app/workspace/components.h"
#include "runtime/forms/control_values.h"

namespace app {
namespace {

std::string squeezed_lower(const std::string& text) {
  std::string out;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c)))
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string trimmed(const std::string& text) {
  const std::size_t a = text.find_first_not_of(" \t");
  if (a == std::string::npos) return "";
  return text.substr(a, text.find_last_not_of(" \t") - a + 1);
}

bool positive_number(const std::string& text, double& out) {
  const std::string t = trimmed(text);
  if (t.empty()) return false;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
  return ec == std::errc() && end == t.data() + t.size() && std::isfinite(out) && out > 0;
}

// The two lines' j of the orbital, stronger first.
struct Levels {
  const char *strong, *weak;
};
Levels levels(char orbital) {
  switch (orbital) {
    case 'p':
      return {"3/2", "1/2"};
    case 'd':
      return {"5/2", "3/2"};
    default:
      return {"7/2", "5/2"};
  }
}

}  // namespace

double doublet_area_ratio(char orbital) {
  switch (orbital) {
    case 'p':
      return 0.5;
    case 'd':
      return 2.0 / 3.0;
    case 'f':
      return 3.0 / 4.0;
    default:
      return 0;
  }
}

DoubletResult make_doublet(const DoubletRequest& request) {
  DoubletResult result;
  // The component.
  int k = 0;
  const std::string of = squeezed_lower(request.of);
  if (of.empty()) {
    k = component_count();
    if (k == 0) return {0, "no component is present: place one first"};
  } else if (of.size() == 1 && of[0] >= 'a' && of[0] <= 't') {
    k = of[0] - 'a' + 1;
  } else {
    return {0, "\"" + request.of + "\" names no component (A to T)"};
  }
  if (!Present(k)) return {0, std::string("component ") + component_label(k) + " is absent"};

  // The line or the orbital, and the splitting.
  const std::string wanted = squeezed_lower(request.line);
  std::string line_name, shell;
  double splitting = 0;
  bool from_table = false;
  for (const DoubletRequest::Row& row : request.table) {
    if (wanted.empty() || squeezed_lower(row.line) != wanted) continue;
    line_name = trimmed(row.line);
    from_table = positive_number(row.splitting, splitting);
    if (!from_table && trimmed(request.splitting).empty())
      return {0, "the table's splitting of " + line_name + " is no positive number"};
    break;
  }
  const std::string orbital_text = line_name.empty() ? wanted : squeezed_lower(line_name);
  const char orbital = orbital_text.empty() ? '\0' : orbital_text.back();
  if (doublet_area_ratio(orbital) == 0)
    return {0, "\"" + request.line + "\" is neither a line of the table nor an orbital (p, d, f)"};
  // "Ti 2p" gives the shell "2p"; a bare orbital "p" gives "p".
  {
    std::size_t start = orbital_text.size() - 1;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(orbital_text[start - 1]))) --start;
    shell = orbital_text.substr(start);
  }
  if (!trimmed(request.splitting).empty()) {
    if (!positive_number(request.splitting, splitting))
      return {0, "the splitting \"" + request.splitting + "\" is no positive number of eV"};
  } else if (!from_table) {
    return {0, "type the splitting in eV, or choose a line of the table"};
  }

  // The partner: the first absent slot.
  int partner = 0;
  for (int j = 1; j <= kComponents && partner == 0; ++j)
    if (!Present(j)) partner = j;
  if (partner == 0) return {0, "all 20 components are present"};

  const double ratio = doublet_area_ratio(orbital);
  const Levels j = levels(orbital);
  const std::string source_alpha = rt::get_text(field_of(k, Param::Alpha));
  const int source_asymmetric = rt::get_check(asymmetric_box_of(k));
  // The weaker line lies the splitting above the stronger on the binding-energy axis.
  SetParameter(partner, Param::Centre, static_cast<float>(Parameter(k, Param::Centre) + splitting));
  SetParameter(partner, Param::Width, static_cast<float>(Parameter(k, Param::Width)));
  SetParameter(partner, Param::Height, static_cast<float>(Parameter(k, Param::Height) * ratio));
  rt::set_text(field_of(partner, Param::Alpha), source_alpha);
  rt::set_check(asymmetric_box_of(partner), source_asymmetric);

  const std::string letter(1, component_label(k));
  set_constraint_text(partner, Param::Centre, letter + "+" + rule_number_text(splitting));
  set_constraint_text(partner, Param::Width, letter + "*1");
  set_constraint_text(partner, Param::Height, "area=" + letter + "*" + rule_number_text(ratio));
  if (source_asymmetric != 0) set_constraint_text(partner, Param::Alpha, letter + "*1");

  // Names: "Ti 2p3/2" and "Ti 2p1/2"; a named component keeps its name and lends it.
  std::string name = trimmed(component_name(k));
  const std::string strong = shell + j.strong, weak = shell + j.weak;
  if (name.empty()) {
    name = line_name.empty() ? strong : line_name + j.strong;
    set_component_name(k, name);
  }
  std::string partner_name;
  if (name.size() >= strong.size() &&
      name.compare(name.size() - strong.size(), strong.size(), strong) == 0)
    partner_name = name.substr(0, name.size() - strong.size()) + weak;
  else
    partner_name = name + " " + weak;
  set_component_name(partner, partner_name);
  result.partner = partner;
  return result;
}

}  // namespace app
