#include "forms/form_elements.h"
#include "forms/form_library.h"

namespace forms {

const rt::FormDef& FORM8() {
  static const rt::FormDef def{
      window("FORM8", "Fit view", {250, 40, 760, 565}, kToolFrame, 1),
      {
          picture_box("PICTURE1", {16, 16, 720, 480}, 12),  // the view
          label("STATE", "", {16, 504, 720, 20}, 9),        // what it shows, in one line
      }};
  return def;
}

}  // namespace forms
