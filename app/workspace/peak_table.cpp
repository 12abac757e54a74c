#include "app/workspace/peak_table.h"

#include <utility>

#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/error_locations.h"
#include "app/workspace/workspace.h"
#include "forms/peak_rows.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"

namespace app {

rt::ObjRef field_of(int k, Param p) {
  if (k > kSlots) {
    const forms::ComponentRowNumbers c = forms::component_row(k);
    switch (p) {
      case Param::Centre:
        return COMPONENT_EDIT(c.centre);
      case Param::Width:
        return COMPONENT_EDIT(c.width);
      case Param::Height:
        return COMPONENT_EDIT(c.height);
      case Param::Alpha:
        return COMPONENT_EDIT(c.alpha);
    }
  }
  const forms::PeakRowNumbers n = forms::peak_row(k);
  switch (p) {
    case Param::Centre:
      return EDIT(n.centre);
    case Param::Width:
      return EDIT(n.width);
    case Param::Height:
      return EDIT(n.height);
    case Param::Alpha:
      return EDIT(n.alpha);
  }
  return {};
}

rt::ObjRef lock_of(int k, Param p) {
  if (k > kSlots) return {};
  const forms::PeakRowNumbers n = forms::peak_row(k);
  switch (p) {
    case Param::Centre:
      return CHECK(n.centre_lock);
    case Param::Width:
      return CHECK(n.width_lock);
    case Param::Height:
      return CHECK(n.height_lock);
    case Param::Alpha:
      break;
  }
  return {};  // the coefficient has no lock: reading it is error 1002
}

rt::ObjRef asymmetric_box_of(int k) {
  if (k > kSlots) return COMPONENT_CHECK(forms::component_row(k).asymmetric);
  return CHECK(forms::peak_row(k).asymmetric);
}
rt::ObjRef ratio_field_of(int k) {
  if (k > kSlots) return COMPONENT_TEXT(forms::component_row(k).share);
  return EDIT(forms::peak_row(k).ratio);
}
rt::ObjRef row_lock_of(int k) { return CHECK(forms::peak_row(k).row_lock); }
rt::ObjRef swatch_of(int k) { return PICTURE(forms::peak_row(k).swatch); }

namespace {
void check_slot(int k, std::source_location where) {
  if (k < 1 || k > kComponents)
    rt::raise_error(rt::kSubscriptOutOfRange, location(ArrayCheck::SlotOutOfRange), where);
}
std::optional<KeptValue>* kept_entry(int k, Param p) {
  if (p == Param::Alpha) return nullptr;  // a fit never moves the coefficient
  return &workspace().fit.kept[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(p)];
}

}  // namespace

bool Present(int k, std::source_location where) {
  check_slot(k, where);
  return !rt::get_text(field_of(k, Param::Centre), where).empty();
}

double Parameter(int k, Param p, std::source_location where) {
  check_slot(k, where);
  const std::string text = rt::get_text(field_of(k, p), where);
  if (const std::optional<KeptValue>* kept = kept_entry(k, p);
      kept && *kept && (*kept)->text == text)
    return (*kept)->value;
  return rt::val(text, where);
}

void SetParameter(int k, Param p, float v, std::source_location where) {
  check_slot(k, where);
  forget_kept_value(k, p);
  rt::set_text(field_of(k, p), rt::trimmed_single_text(v), where);
}

void KeepParameter(int k, Param p, double value, const std::string& text,
                   std::source_location where) {
  check_slot(k, where);
  rt::set_text(field_of(k, p), text, where);
  if (std::optional<KeptValue>* kept = kept_entry(k, p)) *kept = KeptValue{value, text};
}

const KeptValue* kept_value(int k, Param p, std::source_location where) {
  check_slot(k, where);
  const std::optional<KeptValue>* kept = kept_entry(k, p);
  if (!kept || !*kept || (*kept)->text != rt::get_text(field_of(k, p), where)) return nullptr;
  return &**kept;
}

void RewriteParameterText(int k, Param p, const std::string& text, std::source_location where) {
  check_slot(k, where);
  const std::string old = rt::get_text(field_of(k, p), where);
  rt::set_text(field_of(k, p), text, where);
  std::optional<KeptValue>* kept = kept_entry(k, p);
  if (kept && *kept && (*kept)->text == old) (*kept)->text = text;
}

void forget_kept_value(int k, Param p) {
  if (k < 1 || k > kComponents) return;
  if (std::optional<KeptValue>* kept = kept_entry(k, p)) kept->reset();
}

void forget_kept_values(int k) {
  for (Param p : {Param::Centre, Param::Width, Param::Height}) forget_kept_value(k, p);
}

void move_kept_values(int from, int to) {
  check_slot(from, std::source_location::current());
  check_slot(to, std::source_location::current());
  KeptPeakValues& kept = workspace().fit.kept;
  kept[static_cast<std::size_t>(to - 1)] = kept[static_cast<std::size_t>(from - 1)];
  for (auto& entry : kept[static_cast<std::size_t>(from - 1)]) entry.reset();
}

void swap_kept_values(int a, int b) {
  check_slot(a, std::source_location::current());
  check_slot(b, std::source_location::current());
  KeptPeakValues& kept = workspace().fit.kept;
  std::swap(kept[static_cast<std::size_t>(a - 1)], kept[static_cast<std::size_t>(b - 1)]);
}

void forget_kept_value_of(rt::ObjRef field) {
  for (int k = 1; k <= kComponents; ++k)
    for (Param p : {Param::Centre, Param::Width, Param::Height})
      if (field_of(k, p) == field) forget_kept_value(k, p);
}

void forget_kept_values() {
  for (auto& slot : workspace().fit.kept)
    for (auto& kept : slot) kept.reset();
}

bool Locked(int k, Param p, std::source_location where) {
  check_slot(k, where);
  if (rule_fixes(k, p)) return true;
  if (k > kSlots) return false;
  return rt::get_check(lock_of(k, p), where) != 0;
}

bool Asymmetric(int k, std::source_location where) {
  check_slot(k, where);
  return rt::get_check(asymmetric_box_of(k), where) != 0;
}

}  // namespace app
