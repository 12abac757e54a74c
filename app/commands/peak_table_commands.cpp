#include "app/commands/peak_table_commands.h"

#include <string>

#include "app/fit/reorder.h"
#include "app/graph/drawgraph.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/counted_loop.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/integer_rules.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/forms/control_values.h"

namespace app {
namespace {

constexpr Param kRowTexts[] = {Param::Centre, Param::Width, Param::Height};

int checked_or_not(rt::ObjRef box) { return rt::get_check(box) == 1 ? 1 : 0; }

void lock_column(rt::ObjRef header, Param p) {
  const int state = checked_or_not(header);
  for (int k = 1; k <= kSlots; ++k) rt::set_check(lock_of(k, p), state);
}

}  // namespace

void make_peak(int k) {
  const std::string position = rt::get_text(EDIT(9));
  if (position.empty()) return;
  forget_kept_values(k);
  rt::set_text(field_of(k, Param::Centre), position);
  rt::set_text(field_of(k, Param::Width), "1.5");
  const Workspace& w = workspace();
  // Not a search: every point whose x lies above the position overwrites the height, so the
  // last such point in index order decides.
  if (const LongSpectrum* long_points = w.long_spectrum.get()) {
    const double above = rt::val(position);
    const float* height = nullptr;
    for (std::size_t i = 0; i < long_points->x.size(); ++i)
      if (long_points->x[i] > above) height = &long_points->y[i];
    if (height)
      rt::set_text(field_of(k, Param::Height), rt::trimmed_double_text(rt::floor_value(*height)));
  } else {
    counted_loop(0, w.LASTPOINT, 1, [&](float counter) {
      const std::int32_t i = loop_index(counter);
      if (w.XDATA.at(i) > rt::val(rt::get_text(EDIT(9))))
        rt::set_text(field_of(k, Param::Height),
                     rt::trimmed_double_text(rt::floor_value(w.YDATA.at(i))));
    });
  }
  DRAWGRAPH();
}

void move_peak_down(int k) {
  for (Param p : kRowTexts) {
    const std::string upper = rt::get_text(field_of(k, p));
    const std::string lower = rt::get_text(field_of(k + 1, p));
    rt::set_text(field_of(k, p), lower);
    rt::set_text(field_of(k + 1, p), upper);
  }
  swap_kept_values(k, k + 1);
  DRAWGRAPH();
}

void delete_peak(int k) {
  for (Param p : kRowTexts) rt::set_text(field_of(k, p), "");
  forget_kept_values(k);
  REORDER();
  DRAWGRAPH();
}

void lock_row(int k) {
  const int state = checked_or_not(row_lock_of(k));
  for (Param p : kRowTexts) rt::set_check(lock_of(k, p), state);
}

void asymmetric_clicked(int k) {
  if (rt::get_check(asymmetric_box_of(k)) == 1 && rt::get_text(field_of(k, Param::Alpha)).empty())
    rt::set_text(field_of(k, Param::Alpha), "0.2");
}

void BUTTON5_ON() { make_peak(1); }
void BUTTON6_ON() { make_peak(2); }
void BUTTON7_ON() { make_peak(3); }
void BUTTON8_ON() { make_peak(4); }
void BUTTON9_ON() { make_peak(5); }
void BUTTON10_ON() { make_peak(6); }

void BUTTON11_ON() { move_peak_down(1); }
void BUTTON12_ON() { move_peak_down(2); }
void BUTTON13_ON() { move_peak_down(3); }
void BUTTON14_ON() { move_peak_down(4); }
void BUTTON15_ON() { move_peak_down(5); }

void BUTTON16_ON() { delete_peak(1); }
void BUTTON17_ON() { delete_peak(2); }
void BUTTON18_ON() { delete_peak(3); }
void BUTTON19_ON() { delete_peak(4); }
void BUTTON20_ON() { delete_peak(5); }
void BUTTON21_ON() { delete_peak(6); }

void CHECK3_ON() { lock_row(1); }
void CHECK4_ON() { lock_row(2); }
void CHECK5_ON() { lock_row(3); }
void CHECK6_ON() { lock_row(4); }
void CHECK7_ON() { lock_row(5); }
void CHECK8_ON() { lock_row(6); }

void CHECK10_ON() { lock_column(CHECK(10), Param::Centre); }
void CHECK11_ON() { lock_column(CHECK(11), Param::Width); }
void CHECK12_ON() { lock_column(CHECK(12), Param::Height); }

void CHECK9_ON() { asymmetric_clicked(1); }
void CHECK13_ON() { asymmetric_clicked(2); }
void CHECK14_ON() { asymmetric_clicked(3); }
void CHECK15_ON() { asymmetric_clicked(4); }
void CHECK16_ON() { asymmetric_clicked(5); }
void CHECK17_ON() { asymmetric_clicked(6); }

}  // namespace app
