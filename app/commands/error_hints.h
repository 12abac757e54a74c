#pragma once
// The detail line a report shows under an error that carries none of its own: what was
// missing or wrong, in the words of the windows, and what to do about it.

#include <string>

namespace rt {
class RuntimeError;
}

namespace app {

// Judged from the error's number, the command that raised it and what the program holds
// (no spectrum yet, an empty range typed in "Graph setting", ...).
std::string error_hint(const rt::RuntimeError& error);

// The hint of an error raised because no spectrum is loaded.
inline constexpr const char* kNoSpectrumHint =
    "No spectrum is loaded: open one with OPEN or File > Open raw spectrum...";

}  // namespace app
