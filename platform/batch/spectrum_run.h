#pragma once
// One spectrum through the program as a user would take it: a freshly started program, the
// settings file loaded with "Load" (or an analysis file's set-up, as "Open analysis..." puts it
// back, without its spectrum), the spectrum opened with "OPEN" (or the raw window),
// "FITTING" pressed, Refine and the exports, each answering its file dialog through the
// headless platform. What the peak table then shows becomes the spectrum's summary.

#include <optional>
#include <string>

#include "platform/batch/batch_options.h"
#include "platform/batch/summary_line.h"

namespace rt {
class RuntimeError;
class TextRenderer;
}  // namespace rt

namespace batch {

class SpectrumRunner {
 public:
  // The renderer draws the graph's text (it must outlive the runner); null draws none.
  SpectrumRunner(const BatchOptions& options, rt::TextRenderer* text_renderer);

  // Loads the settings file into a fresh program and checks that the program offers what the
  // options ask for. The reason it cannot, or nothing.
  std::optional<std::string> check_settings_and_features() const;

  // The same runner for another thread, drawing its text with that thread's renderer.
  SpectrumRunner(const SpectrumRunner& other, rt::TextRenderer* text_renderer)
      : slots_(other.slots_),
        options_(other.options_),
        text_renderer_(text_renderer),
        analysis_(other.analysis_) {}

  SpectrumSummary run(const std::string& spectrum) const;

  // The slots each line has: six, or the highest component the settings hold (known once
  // check_settings_and_features() has loaded them).
  int slot_count() const { return slots_; }

 private:
  mutable int slots_ = 6;
  const BatchOptions& options_;
  rt::TextRenderer* text_renderer_;
  bool analysis_ = false;  // the settings file is an analysis file
};

// "58 A field read as a number is empty or is not a number.": the run-time error's number, its
// message and, when the error has one, its detail (which names a raw file's line).
std::string error_text(const rt::RuntimeError& error);

}  // namespace batch
