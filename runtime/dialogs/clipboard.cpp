#include "runtime/dialogs/clipboard.h"

#include <string>

#include "runtime/forms/platform.h"

namespace rt {

void set_clipboard_text(std::string_view text) {
  if (Platform* p = platform()) p->set_clipboard_text(std::string(text));  // failure is silent
}

}  // namespace rt
