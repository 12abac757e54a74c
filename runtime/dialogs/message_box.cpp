#include "runtime/dialogs/message_box.h"

#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace rt {

int message_box(ObjRef owner, std::string_view caption, std::string_view text,
                MessageBoxButtons buttons, MessageBoxIcon icon, std::source_location where) {
  if (buttons < kButtonsOk || buttons > kButtonsRetryCancel || icon < kIconStop || icon > kIconNone)
    raise_error(kInvalidArgument, location(MessageBoxCheck::BadStyle), where);
  Platform* p = platform();
  if (!p) return buttons == kButtonsYesNo || buttons == kButtonsYesNoCancel ? kNo : kOk;
  MessageBoxRequest request{owner, std::string(caption), std::string(text), buttons, icon};
  return p->message_box(request);
}

}  // namespace rt
