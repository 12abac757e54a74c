#pragma once
// What the platform tells the program about its user beyond the events it posts: where a
// change made outside any procedure ends (the undo history's steps), and that no one will
// undo (a batch).

#include <memory>

namespace app {

class RuleCheckDeferral;

// Typing on the desktop comes one key at a time: a constraint cell typed into while a
// KeyByKeyTyping lives is only noted, and checked once the field is left (end_typed_field()).
class KeyByKeyTyping {
 public:
  KeyByKeyTyping();
  ~KeyByKeyTyping();
  KeyByKeyTyping(const KeyByKeyTyping&) = delete;
  KeyByKeyTyping& operator=(const KeyByKeyTyping&) = delete;

 private:
  std::unique_ptr<RuleCheckDeferral> deferral_;
};

// The user left a typed field: a constraint cell typed into is checked (a refusal is reported
// and the cell keeps its old text), and the change is one undo step.
void end_typed_field();

// The user finished a change that raised no event (left a field, ticked a box that has no
// procedure): one undo step when it changed anything.
void end_user_step();

// Nothing of this session will be undone: no snapshots are kept or paid for.
void keep_no_undo_history();

}  // namespace app
