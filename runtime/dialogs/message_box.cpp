#include "runtime/dialogs/message_box.h"

#include "runtime/errors/runtime_error.h"

namespace rt {

int message_box(ObjRef owner, std::string_view caption, std::string_view text, int buttons, int icon,
                std::source_location where) {
  if (buttons < 0 || buttons > 5 || icon < 0 || icon > 4) raise_error(kInvalidArgument, 0x0700 | 1, where);
  Platform* p = platform();
  if (!p) return buttons == 4 || buttons == 3 ? kNo : kOk;
  MessageBoxRequest request{owner, std::string(caption), std::string(text), buttons, icon};
  return p->message_box(request);
}

}  // namespace rt
