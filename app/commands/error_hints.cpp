#include "app/commands/error_hints.h"

#include "app/workspace/control_refs.h"
#include "app/workspace/spectrum_points.h"
#include "app/workspace/workspace.h"
#include "runtime/convert/integer_text.h"
#include "runtime/convert/number_text.h"
#include "runtime/convert/text_to_number.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/control_values.h"
#include "runtime/forms/events.h"
#include "runtime/forms/objects.h"

namespace app {
namespace {

// Nothing has been stored since start: every extent and the point count are as they began.
bool no_spectrum(const Workspace& w) {
  return w.LASTPOINT == 0 && w.DATAXMIN == 0 && w.DATAXMAX == 0 && w.DATAYMIN == 0 &&
         w.DATAYMAX == 0;
}

bool arithmetic(int number) {
  return number == rt::kInvalidArgument || number == rt::kOverflow || number == rt::kDivisionByZero;
}

bool checked(int box) {
  return rt::form_exists(controls().form3) && rt::get_check(CHECK(box)) == 1;
}

std::string field_value(int edit) {
  return rt::trimmed_single_text(static_cast<float>(rt::val(rt::get_text(EDIT(edit)))));
}

// The ranges the graph divides by, as the user set them or the spectrum gives them.
std::string range_hint(const Workspace& w) {
  if (checked(1) && rt::val(rt::get_text(EDIT(3))) == rt::val(rt::get_text(EDIT(4))))
    return "The X-axis range in Graph setting is empty (" + field_value(3) + " to " +
           field_value(4) + "): type two different values, or clear its User range box.";
  if (checked(2) && !(rt::val(rt::get_text(EDIT(7))) > rt::val(rt::get_text(EDIT(6)))))
    return "The Y-axis range in Graph setting is empty or upside down (" + field_value(6) + " to " +
           field_value(7) +
           "): type a bottom value below the top one, or clear its User range box.";
  if (!checked(1) && w.DATAXMAX == w.DATAXMIN)
    return "Every point of the spectrum has the same x, so the graph has no x range: tick the "
           "X-axis User range in Graph setting and type a range.";
  if (!checked(2) && w.DATAYMAX <= w.DATAYMIN)
    return "Every measured value of the spectrum is the same, so the graph has no y range: tick "
           "the Y-axis User range in Graph setting and type a range.";
  return {};
}

std::string file_hint(int number) {
  switch (number) {
    case rt::kFileNotFound:
      return "The file was not found: choose an existing file in the dialog.";
    case rt::kAccessDenied:
      return "Access was denied: choose a file you may read, or a folder you may write to.";
    case rt::kDiskFull:
      return "The disk is full or refused the write: free some space or choose another folder.";
    case rt::kReadPastEnd:
      return "The file ends in the middle of what was being read: check that it is the kind of "
             "file the command reads, and complete.";
    case rt::kBadNumericField:
      return "A value in the file is not a number: check that the file is the kind the command "
             "reads.";
    default:
      return "The file could not be read or written: check its name, its folder and that you "
             "may use them.";
  }
}

}  // namespace

std::string error_hint(const rt::RuntimeError& error) {
  const int number = error.number();
  const std::string& event = rt::running_event_name();
  const Workspace& w = workspace();
  if (number >= rt::kBadFileNumber && number <= rt::kAccessDenied) return file_hint(number);
  if (number == rt::kNoSuchObject || number == rt::kNoWindow)
    return "A window the command needs was closed: open it again from the menu and repeat the "
           "command.";
  if (number == rt::kOutOfMemory)
    return "The machine ran out of memory: close other programs and repeat the command.";
  if (!arithmetic(number) && number != rt::kSubscriptOutOfRange)
    return "The command stopped here; nothing after this point was done. Check the values "
           "typed for it and repeat it.";
  if (no_spectrum(w)) return kNoSpectrumHint;
  if (event == "BUTTON1_ON" && number == rt::kSubscriptOutOfRange && long_spectrum())
    return "FITTING works on at most 1001 points, and this spectrum has " +
           rt::decimal_text(point_count()) +
           ": open it again with a narrower window (X from, X to in File > Open raw "
           "spectrum...), or use Fit > Refine (least squares), which takes any length.";
  if (std::string range = range_hint(w); !range.empty()) return range;
  if (event == "BUTTON1_ON" || event == "REFINE_ON")
    return "The peak table gives the fit no usable value: check each row's Center, Width and "
           "Height (a width of 0, a very large number) and the Skip field, then press the "
           "command again.";
  return "A number typed into the peak table or Graph setting gives no usable value (a width "
         "of 0, a very large number, an empty step): check those fields and repeat the "
         "command.";
}

}  // namespace app
