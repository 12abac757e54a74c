#pragma once
// Qt without a screen: the "offscreen" platform plugin, and only Qt's critical messages on
// standard error (which carries the program's own reports). Call before the QGuiApplication.

namespace headless {

void use_offscreen_qt();

}  // namespace headless
