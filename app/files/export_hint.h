#pragma once
// A newcomer's first try is "OPEN" on the instrument's own export; the spectrum reader then
// fails with a bare number error. This recognises such a file so that the error can say which
// command reads it.

#include <string>
#include <string_view>

namespace app {

// When the text looks like an instrument export rather than a spectrum of three numbers per
// record (a line of two numbers, or a header line before the numbers), the detail that says
// so and names "Open raw spectrum..." (and the batch's --raw); otherwise empty.
std::string instrument_export_hint(std::string_view bytes, const std::string& file_name);

// The same for the file at `path`; empty when it cannot be read.
std::string instrument_export_hint_for(const std::string& path);

}  // namespace app
