#pragma once
// Undo and redo. A step is whatever one user action changed: the history keeps a snapshot of
// everything an action may change (the whole workspace, every control's text and check state,
// every picture's drawing, the last fit) and compares it after each action; a difference makes
// the snapshot before it one undo step. So state added to the workspace or a window later is
// covered without more code. Files on disk and the clipboard are not part of it.

#include <string>

namespace app {

// The most steps kept; older ones are dropped.
inline constexpr std::size_t kUndoSteps = 100;

// Runs an event procedure as one step: what the user typed or ticked before it is a step of
// its own, and a drag on the graph (from the press to the release) is one step.
void run_as_undo_step(const std::string& event_name, void (*procedure)());

// The user finished a change outside any procedure (left a field, ticked a box that has no
// procedure): a step when it changed anything.
void undo_checkpoint();

// Forgets every step and takes what the program holds now as the start (after start-up).
void reset_undo_history();

// The batch undoes nothing: it keeps no history and so spends nothing on snapshots.
void set_undo_enabled(bool enabled);

std::size_t undo_steps();
std::size_t redo_steps();

// Edit > Undo and Edit > Redo. With nothing to undo or redo they change nothing.
void UNDO_ON();
void REDO_ON();

}  // namespace app
