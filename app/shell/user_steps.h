#pragma once
// What the platform tells the program about its user beyond the events it posts: where a
// change made outside any procedure ends (the undo history's steps), and that no one will
// undo (a batch).

namespace app {

// The user finished a change that raised no event (left a field, ticked a box that has no
// procedure): one undo step when it changed anything.
void end_user_step();

// Nothing of this session will be undone: no snapshots are kept or paid for.
void keep_no_undo_history();

}  // namespace app
