#include "forms/form_elements.h"
#include "forms/form_library.h"

namespace forms {

const rt::FormDef& FORM4() {
  static const rt::FormDef def{
      window("FORM4", "About", {569, 448, 300, 238}, kFullFrame, 1),
      {
          label("TEXT1", "Tessaly ver2.00", {56, 56, 176, 24}, 17),
          label("TEXT2", "Peak separation of measured spectra", {40, 96, 216, 24}),
      }};
  return def;
}

}  // namespace forms
