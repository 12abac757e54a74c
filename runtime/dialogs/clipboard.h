#pragma once

#include <string_view>

namespace rt {

// Makes the text the clipboard's only content, as plain text. A clipboard that cannot be
// opened is skipped silently.
void set_clipboard_text(std::string_view text);

}  // namespace rt
