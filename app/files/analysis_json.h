#pragma once
// The analysis file's JSON: one document with a format mark and a version, written with every
// non-ASCII character escaped (so its bytes are the same in any code page) and read back into
// an AnalysisDocument that has been checked whole: every member's type and range, the sizes
// that must agree, and that the last fit makes a report.

#include <string>
#include <string_view>

#include "app/files/analysis_document.h"

namespace app {

// The largest analysis file read, in bytes.
inline constexpr std::size_t kMaxAnalysisBytes = std::size_t{32} << 20;

std::string analysis_json_text(const AnalysisDocument& document);

// The document in `bytes`; `file_name` names it in the errors. A document that is not JSON, not
// an analysis, of a later version, or holds a value of the wrong type or out of its range is
// run-time error 5 with a detail naming the file, the member and what is wrong with it.
AnalysisDocument parse_analysis(std::string_view bytes, const std::string& file_name);

// Whether `bytes` look like a JSON document rather than a settings file (its first character
// other than a blank or line end is "{").
bool looks_like_json(std::string_view bytes);

}  // namespace app
