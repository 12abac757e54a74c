#pragma once
// What the desktop's user does goes through the same actions as a script's lines: performed on
// the run-time by the shared code and, when the session is recorded, written as those lines.

#include <string>

#include "platform/actions/user_action.h"

namespace actions {
class SessionRecorder;
}

namespace desktop {

// The recorder of the current session (`--record`), kept by its desktop platform, or nullptr.
void set_session_recorder(actions::SessionRecorder* recorder);
actions::SessionRecorder* session_recorder();

// Performs the user's action and records it; returns whether it queued an event (which then
// runs from the event loop). `buttons`: the mouse flags of a mouse action. A mouse move is
// recorded only while a button is held; typed text waits until the field is left.
bool user_action(const actions::UserAction& action, int buttons = 0);
// The user left a field they may have typed into.
void field_left(const std::string& field);
// A dialog's answer (answer file, cancel, yes or no), for the record.
void dialog_answered(const actions::UserAction& answer);

}  // namespace desktop
