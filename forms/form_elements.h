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
rt::ElementDef picture_box(const std::string& name, rt::Rect rect, int font_pixels = 12);

// Frames: the main and About windows have the close button and both boxes; the two setting
// windows only a title bar and a sizing border.
inline constexpr rt::FrameStyle kFullFrame{true, true, true, true};
inline constexpr rt::FrameStyle kToolFrame{false, false, false, true};
// A small window the user closes when done with it: the close button only, a fixed size.
inline constexpr rt::FrameStyle kCloseOnlyFrame{true, false, false, false};
// A tool window the user closes when done with it and may size, kept above the main window.
inline constexpr rt::FrameStyle kOwnedToolFrame{true, false, false, true, true};

}  // namespace forms
