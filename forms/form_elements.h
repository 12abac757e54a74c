#pragma once
// Small builders that keep the form tables readable: one line per control.

#include <string>

#include "runtime/forms/form_definition.h"

namespace forms {

// The faces the forms name; the platform maps them to the nearest fonts it has.
inline const std::string kControlFace = "ＭＳ Ｐゴシック";
inline const std::string kWindowFace = "FixedSys";
inline constexpr int kControlPoints = 11;
inline constexpr int kWindowFontPixels = 18;
inline constexpr int kEditLimit = 32767;

rt::ElementDef window(const std::string& name, const std::string& caption, rt::Rect outer,
                      rt::FrameStyle frame, int window_option, const std::string& menu = "");
rt::ElementDef button(const std::string& name, const std::string& caption, rt::Rect rect);
rt::ElementDef check_box(const std::string& name, const std::string& caption, rt::Rect rect);
rt::ElementDef edit_box(const std::string& name, rt::Rect rect, const std::string& text = "",
                        int points = kControlPoints);
rt::ElementDef label(const std::string& name, const std::string& caption, rt::Rect rect,
                     int points = kControlPoints);
// A list whose choice types the row's number into the edit box `target` of the same form.
rt::ElementDef list_box(const std::string& name, rt::Rect rect, const std::string& target);
rt::ElementDef picture_box(const std::string& name, rt::Rect rect, int font_pixels = 12);

// Frames: the main and About windows have the close button and both boxes; the tool windows
// (the two setting windows, the raw-spectrum window, the fit report) a title bar whose close
// button hides them, the setting windows and the report a sizing border.
inline constexpr rt::FrameStyle kFullFrame{true, true, true, true};
inline constexpr rt::FrameStyle kToolFrame{false, false, false, true, true};
inline constexpr rt::FrameStyle kFixedToolFrame{false, false, false, false, true};

}  // namespace forms
