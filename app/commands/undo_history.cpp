#include "app/commands/undo_history.h"

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "app/commands/app_state.h"
#include "app/model/fit_report.h"
#include "app/workspace/components.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/events.h"
#include "runtime/forms/menu_checks.h"
#include "runtime/forms/objects.h"
#include "runtime/forms/platform.h"
#include "runtime/picture/packed_raster.h"
#include "runtime/picture/picture.h"

namespace app {
namespace {

using Snapshot = UndoSnapshot;
using ControlSnapshot = UndoSnapshot::ControlSnapshot;
using PictureSnapshot = UndoSnapshot::PictureSnapshot;
using History = UndoHistory;

History& history() { return app_state().undo; }

std::vector<std::string> lines_of(const std::optional<FitRecord>& fit) {
  return fit ? fit_report_lines(make_fit_report(*fit)) : std::vector<std::string>();
}

// What the program holds now; the parts equal to `before`'s are shared with it.
Snapshot take(const Snapshot* before) {
  Snapshot s;
  if (before && *before->workspace == workspace())
    s.workspace = before->workspace;
  else
    s.workspace = std::make_shared<const Workspace>(workspace());
  if (const FitRecord* fit = last_fit()) s.fit = *fit;
  s.fit_lines = lines_of(s.fit);
  std::size_t n = 0;
  for (rt::Form* form : rt::live_forms()) {
    for (const auto& c : form->controls()) {
      ControlSnapshot cs{form->name(), c->name(), c->text(), c->check_state(), std::nullopt};
      if (const rt::Picture* picture = c->picture()) {
        const ControlSnapshot* old =
            before && n < before->controls.size() ? &before->controls[n] : nullptr;
        PictureSnapshot ps{nullptr, picture->settings()};
        if (old && old->form == cs.form && old->name == cs.name && old->picture &&
            old->picture->pixels->same_as(picture->raster()))
          ps.pixels = old->picture->pixels;
        else
          ps.pixels = std::make_shared<const rt::PackedRaster>(picture->raster());
        cs.picture = std::move(ps);
      }
      s.controls.push_back(std::move(cs));
      ++n;
    }
  }
  return s;
}

bool same_pictures(const std::optional<PictureSnapshot>& a,
                   const std::optional<PictureSnapshot>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || (a->pixels == b->pixels && a->settings == b->settings);
}

bool same(const Snapshot& a, const Snapshot& b) {
  if (a.workspace != b.workspace && !(*a.workspace == *b.workspace)) return false;
  if (a.fit_lines != b.fit_lines || a.controls.size() != b.controls.size()) return false;
  for (std::size_t i = 0; i < a.controls.size(); ++i) {
    const ControlSnapshot &x = a.controls[i], &y = b.controls[i];
    if (x.form != y.form || x.name != y.name || x.text != y.text || x.check != y.check ||
        !same_pictures(x.picture, y.picture))
      return false;
  }
  return true;
}

// Puts the program back to the snapshot. Windows closed since keep closed; windows opened
// since keep what they show.
void restore(const Snapshot& s) {
  workspace() = *s.workspace;
  // The menu's check marks show the weighting and the background choice the workspace holds.
  rt::set_menu_checked(kWeightCountsItem, workspace().fit.weight_counts);
  rt::set_menu_checked(kActiveBackgroundItem, workspace().fit.active_background);
  if (s.fit)
    record_fit(*s.fit);
  else
    forget_fit();
  for (const ControlSnapshot& cs : s.controls) {
    rt::Form* form = rt::find_live_form(cs.form);
    rt::Control* c = form ? form->control(cs.name) : nullptr;
    if (!c) continue;
    if (c->text() != cs.text) c->set_text(cs.text);
    if (c->check_state() != cs.check) c->set_check_state(cs.check);
    rt::Picture* picture = c->picture();
    if (!picture || !cs.picture) continue;
    if (cs.picture->pixels->same_as(picture->raster()) &&
        picture->settings() == cs.picture->settings)
      continue;
    picture->restore(cs.picture->pixels->unpack(), cs.picture->settings);
    if (rt::Platform* platform = rt::platform()) platform->picture_changed(*c);
  }
}

void push_bounded(std::deque<Snapshot>& steps, Snapshot s) {
  steps.push_back(std::move(s));
  if (steps.size() > kUndoSteps) steps.pop_front();
}

bool mouse_event(const std::string& name) {
  return name == "PICTURE1_MOUSEDOWN" || name == "PICTURE1_MOUSEMOVE" || name == "PICTURE1_MOUSEUP";
}

// Makes what the program holds now the last state, the one before it an undo step when they
// differ.
void record_if_changed(History& h) {
  Snapshot now = take(h.last ? &*h.last : nullptr);
  if (h.last && same(now, *h.last)) return;
  if (h.last) push_bounded(h.undo, std::move(*h.last));
  h.redo.clear();
  h.last = std::move(now);
}

}  // namespace

void undo_checkpoint() {
  History& h = history();
  if (!h.enabled || rt::procedure_running() || h.dragging) return;
  record_if_changed(h);
}

void run_as_undo_step(const std::string& event_name, void (*procedure)()) {
  History& h = history();
  // A box ticked in the "Components" window without an event reaches its twin in the peak
  // table first, as part of the step.
  const auto run = [procedure] {
    // A constraint cell still being typed when a shortcut ran a command counts as left.
    check_deferred_rules();
    sync_component_rows();
    procedure();
  };
  if (!h.enabled) return run();
  // A release the graph never saw (the pointer let go elsewhere) ends the drag here.
  if (h.dragging && !mouse_event(event_name)) h.dragging = false;
  // What was typed or ticked before the command is a step of its own.
  if (!h.dragging) record_if_changed(h);
  if (event_name == "PICTURE1_MOUSEDOWN") h.dragging = true;
  if (event_name == "PICTURE1_MOUSEUP") h.dragging = false;
  // Taken also when the procedure fails part-way: what it changed by then is the step.
  struct AfterStep {
    History& h;
    ~AfterStep() {
      if (h.dragging) return;
      try {
        record_if_changed(h);
      } catch (...) {
        // Without memory for the snapshot this step goes unrecorded; the program goes on.
      }
    }
  } after{h};
  run();
}

void reset_undo_history() {
  History& h = history();
  h.last.reset();
  h.undo.clear();
  h.redo.clear();
  h.dragging = false;
  if (h.enabled) h.last = take(nullptr);
}

void set_undo_enabled(bool enabled) {
  history().enabled = enabled;
  reset_undo_history();
}

std::size_t undo_steps() { return history().undo.size(); }
std::size_t redo_steps() { return history().redo.size(); }

void UNDO_ON() {
  History& h = history();
  if (!h.enabled) return;
  h.dragging = false;
  record_if_changed(h);  // what was typed just before is undone first
  if (h.undo.empty() || !h.last) return;
  Snapshot earlier = std::move(h.undo.back());
  h.undo.pop_back();
  h.redo.push_back(std::move(*h.last));
  restore(earlier);
  // A window opened since keeps what it shows: the state now is taken afresh, or the next
  // command would see that window as a change and end the redo.
  h.last = take(&earlier);
}

void REDO_ON() {
  History& h = history();
  if (!h.enabled) return;
  h.dragging = false;
  record_if_changed(h);  // typing since the undo is a new step, which ends the redo
  if (h.redo.empty() || !h.last) return;
  Snapshot later = std::move(h.redo.back());
  h.redo.pop_back();
  push_bounded(h.undo, std::move(*h.last));
  restore(later);
  h.last = take(&later);
}

}  // namespace app
